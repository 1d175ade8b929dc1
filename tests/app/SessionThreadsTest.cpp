// The session with its two threads running for real: the receive handler on
// an "audio" thread, the device tick and the 20 ms timer on this (the UI)
// thread. Run under ThreadSanitizer this checks the hand-over between them.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

constexpr auto kHandshakeTimeout = std::chrono::seconds(20);

// The pedal's replies, handed from whichever thread caused them to the audio
// thread.
class ReplyQueue {
 public:
  void Push(ByteSpan reply) {
    std::lock_guard lock(mMutex);
    mReplies.emplace_back(reply.begin(), reply.end());
    mArrived.notify_one();
  }
  // Waits briefly for a reply; nullopt when none came or on Stop.
  std::optional<Bytes> Pop() {
    std::unique_lock lock(mMutex);
    mArrived.wait_for(lock, std::chrono::milliseconds(5),
                      [this] { return !mReplies.empty() || mStopped; });
    if (mReplies.empty()) return std::nullopt;
    Bytes reply = std::move(mReplies.front());
    mReplies.pop_front();
    return reply;
  }
  void Stop() {
    std::lock_guard lock(mMutex);
    mStopped = true;
    mArrived.notify_one();
  }

 private:
  std::mutex mMutex;
  std::condition_variable mArrived;
  std::deque<Bytes> mReplies;
  bool mStopped = false;
};

TEST(SessionThreads, HandshakeAndFetchWithTheHandlerOnItsOwnThread) {
  TempFolder data;
  pedal::VirtualPedal pedal(pedal::MakeFactoryState());
  PedalLink link(pedal);
  // The link's log is written from both threads; this test reads the pedal
  // and the files instead.
  ReplyQueue replies;
  pedal.SetReplySink([&](ByteSpan reply) { replies.Push(reply); });
  RecordingView view;
  KR7Control editor{DataFolder(data.Path())};
  editor.SetSysExSender(&link);
  editor.OnWindowOpen(&view);

  std::atomic<bool> running{true};
  std::thread audio([&] {
    while (running.load()) {
      if (auto reply = replies.Pop()) editor.OnSysEx(*reply);
    }
  });

  const auto deadline = std::chrono::steady_clock::now() + kHandshakeTimeout;
  bool loaded = false;
  while (!loaded && std::chrono::steady_clock::now() < deadline) {
    editor.OnDeviceTick();
    editor.OnFrameworkTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loaded = editor.Session().connected.load() && !editor.Session().fetching.load() &&
             !editor.Session().applying.load() && view.texts.count(kTagPresetName) > 0;
  }
  running.store(false);
  replies.Stop();
  audio.join();
  editor.OnFrameworkTimer();

  ASSERT_TRUE(loaded) << "the handshake did not finish in time";
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    EXPECT_FALSE(editor.Cache().IsStale(slot)) << "slot " << slot;
  }
  // The active preset reached the window through the deferred calls. (The
  // progress texts are not checked: the user IRs of the active preset may
  // still be arriving when the loop stops.)
  EXPECT_FALSE(view.texts[kTagPresetName].empty());
  EXPECT_EQ(view.texts[kTagPresetNumber], "00");
}

}  // namespace
}  // namespace kr7::test
