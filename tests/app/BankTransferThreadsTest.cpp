// The long transfers with the pedal's replies handled on a separate "audio"
// thread while the test thread runs the device tick and the 20 ms timer, as
// in the program. Run under ThreadSanitizer.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "device/BankTransferImportCheck.h"
#include "tests/app/StreamConversation.h"
#include "tests/support/MessageInbox.h"

namespace kr7::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kTimeout = 30s;

// Replies queue up here (any thread) and the audio thread hands them to the
// receive handler one at a time.
using ReplyQueue = MessageInbox;

class ThreadedLink : public SysExSender {
 public:
  explicit ThreadedLink(pedal::VirtualPedal& pedal) : mPedal(pedal) {}
  bool SendSysEx(std::span<const std::uint8_t> message) override {
    mPedal.Receive(message);
    return true;
  }

 private:
  pedal::VirtualPedal& mPedal;
};

class BankTransferThreadsTest : public ::testing::Test {
 protected:
  BankTransferThreadsTest()
      : pedal(pedal::MakeFactoryState()),
        link(pedal),
        editor(DataFolder(data.Path())),
        host(editor, dispatcher),
        streams(editor.Session(), host, DataFolder(data.Path()).Base()) {
    pedal.SetReplySink([this](ByteSpan reply) { replies.Push(reply); });
    editor.SetSysExSender(&link);
    editor.OnWindowOpen(&view);
    dispatcher.Attach(&window);
    editor.SetStreamHooks(&streams);
    audio = std::thread([this] {
      while (!stop.load()) {
        if (auto message = replies.Pop(1ms)) editor.OnSysEx(*message);
      }
    });
  }
  ~BankTransferThreadsTest() override {
    stop.store(true);
    audio.join();
    editor.SetStreamHooks(nullptr);
  }

  // UI thread: device ticks and timer steps until done() holds.
  template <class Done>
  bool RunUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      editor.OnDeviceTick();
      editor.OnFrameworkTimer();
      dispatcher.Replay();
      // Slow enough that a reply the loaded audio thread hands over late is
      // not yet taken for a lost one.
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }

  void Connect() {
    ASSERT_TRUE(RunUntil([this] {
      return editor.Session().connected.load() && !editor.Session().fetching.load() &&
             !editor.Session().activePresetPending.load();
    }));
  }

  TempFolder data;
  pedal::VirtualPedal pedal;
  ThreadedLink link;
  RecordingView view;
  ScriptedView window;
  ViewDispatcher dispatcher;
  KR7Control editor;
  EditorStreamHost host;
  StreamController streams;
  ReplyQueue replies;
  std::atomic<bool> stop{false};
  std::thread audio;
};

TEST_F(BankTransferThreadsTest, FactoryUpdateCompletesWithRepliesOnAudioThread) {
  Bytes bank;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    const Bytes m = build::FactoryPresetWrite(static_cast<std::uint8_t>(slot),
                                              pedal::DeterministicPreset(kBankPresetCount - 1 - slot));
    bank.insert(bank.end(), m.begin(), m.end());
  }
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Connect();
  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  ASSERT_TRUE(RunUntil([this] { return !streams.Factory().Running(); }));
  ASSERT_TRUE(RunUntil([this] { return !view.messages.empty(); }));  // DoneAck reported
  const pedal::PedalState state = pedal.Snapshot();
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    EXPECT_EQ(state.presets[static_cast<std::size_t>(slot)],
              pedal::DeterministicPreset(kBankPresetCount - 1 - slot));
  }
  EXPECT_TRUE(window.GroupHidden("factorypresetcontrols"));
}

TEST_F(BankTransferThreadsTest, ExportAndImportWithRepliesOnAudioThread) {
  Connect();
  const std::string path = data / "threads.r3b";
  window.chosenFile = path;
  ASSERT_TRUE(streams.OnCommand(kCommandExportBank));
  ASSERT_TRUE(RunUntil([this] { return !streams.Export().Active(); }));
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_GE(std::filesystem::file_size(path), kFactoryBankSize);

  ASSERT_TRUE(streams.OnCommand(kCommandImportBank));
  ASSERT_TRUE(streams.Import().Active());
  ASSERT_TRUE(RunUntil([this] {
    return !streams.Import().Active() && !window.messages.empty() && window.messages.back() == kFinishedText;
  }));
  EXPECT_TRUE(host.Pending().empty());
}

}  // namespace
}  // namespace kr7::test
