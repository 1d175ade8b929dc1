// The window seam: calls from the audio thread reach the window on the UI
// thread, in order, and only while a window exists.

#include <thread>

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
