// The session with its two threads running for real: the receive handler on
// an "audio" thread, the device tick and the 20 ms timer on this (the UI)
// thread. Run under ThreadSanitizer this checks the hand-over between them.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>

#include "model/PresetFile.h"
#include "tests/app/Conversation.h"
#include "tests/app/ThreadedReplies.h"

namespace kr7::test {
namespace {

constexpr auto kHandshakeTimeout = std::chrono::seconds(20);

class SessionThreads : public ::testing::Test {
 protected:
  SessionThreads() {
    // The link's log is written from both threads; these tests read the
    // pedal and the files instead.
    pedal.SetReplySink([this](ByteSpan reply) { replies.Push(reply); });
    pedal.SetTraceSink([this](pedal::TraceDirection direction, ByteSpan message) {
      if (direction == pedal::TraceDirection::FromEditor && message[kOffsetCommand] == kCmdParameterSet)
        ++parameterSets;
    });
    editor.SetSysExSender(&link);
    editor.OnWindowOpen(&view);
  }
  ~SessionThreads() override { StopAudio(); }

  // Runs the device tick and the 20 ms timer until the handshake is done.
  bool RunUntilLoaded() {
    return RunUiUntil(editor, std::chrono::steady_clock::now() + kHandshakeTimeout, [this] {
      return editor.Session().connected.load() && !editor.Session().fetching.load() &&
             !editor.Session().activePresetPending.load() && view.texts.count(kTagPresetName) > 0;
    });
  }
  void StopAudio() {
    if (!audio) return;
    audio.reset();
    editor.OnFrameworkTimer();
  }

  TempFolder data;
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  PedalLink link{pedal};
  ReplyQueue replies;
  RecordingView view;
  KR7Control editor{DataFolder(data.Path())};
  std::atomic<int> parameterSets{0};
  std::optional<AudioThread> audio{std::in_place, editor, replies};
};

TEST_F(SessionThreads, HandshakeAndFetchWithTheHandlerOnItsOwnThread) {
  // Numbering from 1 makes the settings block read the list again while the
  // last fetched files may still wait to be written.
  pedal::PedalState state = pedal.Snapshot();
  state.globals[kParamPatchOffset - kParamDefineMidiMapping] = 1;
  pedal.ReplaceState(state);
  const bool loaded = RunUntilLoaded();
  StopAudio();

  ASSERT_TRUE(loaded) << "the handshake did not finish in time";
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    EXPECT_FALSE(editor.Cache().IsStale(slot)) << "slot " << slot;
    const std::string numbered = PresetCache::FormatListText(slot + 1, "");
    EXPECT_TRUE(editor.Cache().ListText(slot).starts_with(numbered) &&
                editor.Cache().ListText(slot).size() > numbered.size())
        << editor.Cache().ListText(slot);
    // Written by the UI thread, which the receive handler handed the file to.
    EXPECT_TRUE(std::filesystem::exists(editor.Folder().Presets() + "/" +
                                        PresetCache::SlotFileName(slot)))
        << "slot " << slot;
  }
  // The active preset reached the window through the deferred calls. (The
  // progress texts are not checked: the user IRs of the active preset may
  // still be arriving when the loop stops.)
  EXPECT_FALSE(view.texts[kTagPresetName].empty());
  EXPECT_EQ(view.texts[kTagPresetNumber], "01");
}

// The pedal's presets decoded on the audio thread while preset files are
// applied on this one: neither side's values go back to the pedal.
TEST_F(SessionThreads, PedalPresetsAndPresetFilesAppliedAtOnceSendNothingBack) {
  ASSERT_TRUE(RunUntilLoaded());
  const std::string file = data / "file.r3p";
  ASSERT_TRUE(ExportPresetFile(file, PresetExportInput{}, data.Path()).written);
  // A few dumps a round keep the audio thread decoding while the file goes in.
  constexpr int kRounds = 300;
  constexpr int kDumpsPerRound = 4;
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kDumpsPerRound; ++i) pedal.StepBy(1);
    editor.PresetFiles().ImportPath(file);
    editor.OnFrameworkTimer();
  }
  StopAudio();
  EXPECT_EQ(parameterSets.load(), 0);
}

}  // namespace
}  // namespace kr7::test
