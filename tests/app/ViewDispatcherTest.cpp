// The window seam: calls from the audio thread reach the window on the UI
// thread, in order, and only while a window exists.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "app/core/ViewDispatcher.h"
#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

constexpr int kTag = 54;

TEST(ViewDispatcher, CallsOnTheUiThreadGoStraightThrough) {
  ViewDispatcher dispatcher;
  RecordingView view;
  dispatcher.Attach(&view);
  dispatcher.SetControlText(kTag, "now");
  EXPECT_EQ(view.texts[kTag], "now");
}

TEST(ViewDispatcher, CallsFromAnotherThreadWaitForReplayAndKeepTheirOrder) {
  ViewDispatcher dispatcher;
  RecordingView view;
  dispatcher.Attach(&view);
  std::thread audio([&] {
    dispatcher.SetControlText(kTag, "first");
    dispatcher.SetGroupHidden("progresscontrols", false);
    dispatcher.SetControlText(kTag, "second");
    EXPECT_FALSE(dispatcher.ShowMessage("never from here", false));
  });
  audio.join();
  EXPECT_TRUE(view.textLog.empty());

  dispatcher.Replay();
  ASSERT_EQ(view.textLog.size(), 2u);
  EXPECT_EQ(view.textLog[0].second, "first");
  EXPECT_EQ(view.textLog[1].second, "second");
  EXPECT_FALSE(view.GroupHidden("progresscontrols"));
  EXPECT_TRUE(view.messages.empty());
}

TEST(ViewDispatcher, DirectCallReplaysWhatWasQueuedFirst) {
  ViewDispatcher dispatcher;
  RecordingView view;
  dispatcher.Attach(&view);
  std::thread audio([&] { dispatcher.SetGroupHidden("progresscontrols", false); });
  audio.join();
  dispatcher.SetGroupHidden("progresscontrols", true);  // UI thread, later
  EXPECT_TRUE(view.GroupHidden("progresscontrols"));
  dispatcher.Replay();
  EXPECT_TRUE(view.GroupHidden("progresscontrols"));
}

TEST(ViewDispatcher, WithoutAWindowNothingIsKept) {
  ViewDispatcher dispatcher;
  std::thread audio([&] { dispatcher.SetControlText(kTag, "lost"); });
  audio.join();
  RecordingView view;
  dispatcher.Attach(&view);
  dispatcher.Replay();
  EXPECT_TRUE(view.textLog.empty());
}

TEST(ViewDispatcher, DetachDropsCallsMeantForTheOldWindow) {
  ViewDispatcher dispatcher;
  RecordingView view;
  dispatcher.Attach(&view);
  std::thread audio([&] { dispatcher.SetControlText(kTag, "stale"); });
  audio.join();
  dispatcher.Detach();
  dispatcher.Attach(&view);
  dispatcher.Replay();
  EXPECT_TRUE(view.textLog.empty());
}

TEST(ViewDispatcher, AFullRingDropsTheNewestCallsAndCountsThem) {
  ViewDispatcher dispatcher;
  RecordingView view;
  dispatcher.Attach(&view);
  constexpr int kExtra = 3;
  std::thread audio([&] {
    for (int i = 0; i < static_cast<int>(kViewCallCapacity) + kExtra; ++i) {
      dispatcher.SendParameterValueFromDelegate(i, i * 0.5);
    }
  });
  audio.join();
  EXPECT_EQ(dispatcher.DroppedCalls(), static_cast<std::uint64_t>(kExtra));
  dispatcher.Replay();
  ASSERT_EQ(view.parameterValues.size(), kViewCallCapacity);
  EXPECT_EQ(view.parameterValues.begin()->first, 0);
  EXPECT_EQ(view.parameterValues.rbegin()->first, static_cast<int>(kViewCallCapacity) - 1);
  for (const auto& [index, value] : view.parameterValues) EXPECT_DOUBLE_EQ(value, index * 0.5);
  dispatcher.SetControlText(kTag, "room again");
  EXPECT_EQ(view.texts[kTag], "room again");
}

TEST(ViewDispatcher, HandedWorkRunsOnTheUiThreadInOrderWithItsBytes) {
  ViewDispatcher dispatcher;
  RecordingView view;
  struct Log { ViewDispatcher& d; std::vector<int> ran; std::size_t bytes = 0; } log{dispatcher, {}};
  const auto work = [&log](int n, bool callsWindow = false) {  // flagged, it makes a window call
    return UiTask([](void* owner, const UiTask& t) {
      auto& l = *static_cast<Log*>(owner);
      EXPECT_TRUE(l.d.OnUiThread());
      l.ran.push_back(t.number), l.bytes = t.Bytes().size();
      if (t.first) l.d.SetControlText(kTag, "work");
    }, &log, n, callsWindow);
  };
  std::thread([&] { dispatcher.RunOnUiThread(work(1).WithBytes(std::vector<std::uint8_t>(kIrImageSize + 9))); }).join();
  EXPECT_TRUE(log.ran.empty());
  dispatcher.Replay();
  EXPECT_EQ(log.ran, std::vector<int>{1});
  EXPECT_EQ(log.bytes, kIrImageSize);
  // Between the calls made around it; a full call ring keeps it, a full task ring holds the newest
  // and a later task goes behind them.
  dispatcher.Attach(&view);
  const int last = 2 + static_cast<int>(kUiTaskCapacity + kHeldUiTaskCapacity);
  std::thread([&] {
    dispatcher.SetControlText(kTag, "before");
    dispatcher.RunOnUiThread(work(2, true));
    dispatcher.SetControlText(kTag, "after");
    for (std::size_t i = 3; i < kViewCallCapacity; ++i) dispatcher.SetControlValue(kTag, 0.0);
    for (int n = 3; n < last; ++n) dispatcher.RunOnUiThread(work(n));
  }).join();
  dispatcher.Replay();
  EXPECT_EQ(view.TextsOf(kTag), (std::vector<std::string>{"before", "work", "after"}));
  EXPECT_EQ(log.ran.size(), kUiTaskCapacity + 1);
  std::thread([&] { dispatcher.RunOnUiThread(work(last)); }).join();
  dispatcher.Replay();
  std::vector<int> all(static_cast<std::size_t>(last));
  std::iota(all.begin(), all.end(), 1);
  EXPECT_EQ(log.ran, all);
  EXPECT_EQ(dispatcher.DroppedCalls(), 0u);
  // Closing the window (and the editor) still runs it.
  std::thread([&] { dispatcher.RunOnUiThread(work(0)); }).join();
  dispatcher.Detach();
  EXPECT_EQ(log.ran.back(), 0);
}

// Parameter moves and the other calls share the one ring, so a preset's
// values and its texts reach the window in the order the handler made them.
class ArrivalLog : public RecordingView {
 public:
  void SetControlText(int /*tag*/, std::string_view text) override {
    arrived.push_back(std::stoi(std::string(text)));
  }
  void SendParameterValueFromDelegate(int paramIndex, double value) override {
    EXPECT_DOUBLE_EQ(value, paramIndex * 0.5);
    arrived.push_back(paramIndex);
  }
  std::vector<int> arrived;
};

// Run under ThreadSanitizer: the audio thread fills while the UI thread
// drains, as the 20 ms timer does; what arrives keeps its order, and arrived
// plus dropped is all.
TEST(ViewDispatcher, TwoThreadsHandOverParameterMovesAndTextsInOneOrder) {
  ViewDispatcher dispatcher;
  ArrivalLog view;
  dispatcher.Attach(&view);
  constexpr int kCalls = 20000;
  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int i = 0; i < kCalls; ++i) {
      if (i % 2 == 0) {
        dispatcher.SendParameterValueFromDelegate(i, i * 0.5);
      } else {
        dispatcher.SetControlText(kTag, std::to_string(i));
      }
    }
    done.store(true);
  });
  while (!done.load()) dispatcher.Replay();
  audio.join();
  dispatcher.Replay();
  EXPECT_TRUE(std::is_sorted(view.arrived.begin(), view.arrived.end()));
  EXPECT_EQ(std::adjacent_find(view.arrived.begin(), view.arrived.end()), view.arrived.end());
  EXPECT_EQ(view.arrived.size() + dispatcher.DroppedCalls(), static_cast<std::size_t>(kCalls));
}

TEST(PendingMessage, EachIsShownOnceInOrder) {
  PendingMessage pending;
  EXPECT_FALSE(pending.Take().has_value());
  pending.Set("one");
  pending.Set("two");
  EXPECT_TRUE(pending.IsSet());
  EXPECT_EQ(pending.Take(), std::optional<std::string>("one"));
  EXPECT_EQ(pending.Take(), std::optional<std::string>("two"));
  EXPECT_FALSE(pending.IsSet());
  EXPECT_FALSE(pending.Take().has_value());
}

TEST(PendingMessage, WaitsForAWindow) {
  TempFolder data;
  KR7Control editor{DataFolder(data.Path())};
  editor.OnSysEx(build::ShortReply(kReplyError));
  editor.OnFrameworkTimer();  // no window: the message stays
  EXPECT_TRUE(editor.HasPendingMessage());
  RecordingView view;
  editor.OnWindowOpen(&view);
  editor.OnFrameworkTimer();
  EXPECT_EQ(view.messages, std::vector<std::string>{"ERROR!"});
  EXPECT_FALSE(editor.HasPendingMessage());
}

}  // namespace
}  // namespace kr7::test
