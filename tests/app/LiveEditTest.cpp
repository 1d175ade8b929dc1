// Live editing against the virtual pedal: what the window is told, what
// crosses the wire, and where stores land.

#include <algorithm>

#include "model/ControlTags.h"
#include "model/FileIO.h"
#include "pedal/PedalState.h"
#include "tests/app/Conversation.h"
#include "tests/app/ThreadedReplies.h"

namespace kr7::test {
namespace {

constexpr int kBritish = 2;
constexpr int kEcho = 5;
constexpr int kRoom = 0;

class LiveEdit : public Conversation {
 protected:
  // Slot of the pedal whose preset matches "british" except for its Gain.
  static constexpr int kBritishSlot = 7;

  void PrepareBritishSlot() {
    pedal::PedalState state = pedal.Snapshot();
    // Fields E1..E7 of the model, in this order.
    const int params[] = {kParamBuzz,   kParamPunch,   kParamCrunch,   kParamBuzzQ,
                          kParamPunchQ, kParamCrunchQ, kParamPunchFreq};
    for (int field = 1; field <= 7; ++field) {
      pedal::SetPayloadValue(state.presets[kBritishSlot], params[field - 1],
                             static_cast<std::uint8_t>(kAmpModels[kBritish][field]));
    }
    pedal::SetPayloadValue(state.presets[kBritishSlot], kParamGain, 3);
    pedal.ReplaceState(state);
  }
  void Select(int index, double position, SelectorEventKind kind,
              SelectorModifier modifier = SelectorModifier::kNone, bool positive = false) {
    editor->Parameters().OnSelectorChange(index, position, {kind, positive, modifier});
  }
  void Timer(int n) {
    for (int i = 0; i < n; ++i) editor->OnFrameworkTimer();
  }
  Block Open() const { return editor->LiveEdit().SelectedBlock(); }
};

TEST_F(LiveEdit, EachBlockShowsItsGroupsGraphAndHint) {
  Handshake();
  using G = BlockGroup;
  struct Case {
    int param;
    Block block;
    bool dynamicsGraph;
    bool hint;
    std::vector<G> shown;
  };
  const Case cases[] = {
      {kParamGate, Block::kGate, true, true, {G::kGate}},
      {kParamReverb, Block::kAmbience, false, true, {G::kIrDisplay, G::kAmbience}},
      {kParamGraphSelector, Block::kImpulseResponse, false, false, {G::kIr, G::kIrDisplay}},
      {kParamAnalogSim, Block::kAnalogSim, false, true, {G::kAnalogSim, G::kIrDisplay}},
      {kParamLow, Block::kLowFilter, false, true, {G::kLowFilter, G::kIrDisplay}},
      {kParamMidShift, Block::kMidFilter, false, true, {G::kMidFilter, G::kIrDisplay}},
      {kParamHigh, Block::kHighFilter, false, true, {G::kHighFilter, G::kIrDisplay}},
      {kParamGain, Block::kPreAmp, false, true, {G::kIrDisplay, G::kPreAmp}},
      {kParamDrive, Block::kDrive, true, true, {G::kDrive}},
      {kParamLevel, Block::kLevel, false, true, {G::kIrDisplay, G::kLevel}},
      {kParamAutoFilerLevel2, Block::kAutoFilter, false, true, {G::kIrDisplay, G::kAutoFilter}},
  };
  for (const Case& c : cases) {
    Set(c.param, 1 + editor->Parameters().ParamInt(c.param) % 100);
    EXPECT_EQ(Open(), c.block) << c.param;
    EXPECT_EQ(view.dynamicsGraphHidden, !c.dynamicsGraph) << c.param;
    EXPECT_EQ(view.hiddenTags[kTagIrEditHint], !c.hint) << c.param;
    for (int g = 0; g < kNumBlockGroups; ++g) {
      const bool shown = std::count(c.shown.begin(), c.shown.end(), static_cast<G>(g)) > 0;
      EXPECT_EQ(view.GroupHidden(std::string(kBlockGroupNames[g])), !shown) << c.param << " " << g;
    }
  }
  // "ambiencecontrols2" belongs to the echoes, with the ambience block open.
  Set(kParamReverb, 20);
  editor->MainPage().AmbienceButton(kEcho);
  EXPECT_FALSE(view.GroupHidden("ambiencecontrols2"));
  editor->MainPage().AmbienceButton(kRoom);
  EXPECT_TRUE(view.GroupHidden("ambiencecontrols2"));
}

TEST_F(LiveEdit, RecognitionLightsTheModelAndKeepsTheOpenBlock) {
  PrepareBritishSlot();
  Handshake();
  Set(kParamLevel, 70);
  ASSERT_EQ(Open(), Block::kLevel);

  pedal.StepToPreset(kBritishSlot);
  Deliver();
  EXPECT_EQ(view.values[kTagAmpModelFirst + kBritish], 1.0);
  EXPECT_EQ(editor->LiveEdit().shownAmpModel.load(), kBritish);
  EXPECT_EQ(Open(), Block::kLevel);

  // A click on the lit button does nothing; another model is stored whole,
  // into the loaded slot even while UP shows the next one.
  link.sent.clear();
  editor->MainPage().AmpButton(kBritish);
  EXPECT_TRUE(link.sent.empty());
  editor->MainPage().PressUp();
  editor->MainPage().AmpButton(kBritish + 1);
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0][kOffsetCommand], kCmdPresetStore);
  EXPECT_EQ(link.sent[0][kOffsetSlot], kBritishSlot);
  EXPECT_EQ(view.values[kTagAmpModelFirst + kBritish], 0.0);
}

TEST_F(LiveEdit, IdleStepTimesOutRepeatsAndStopsBlinking) {
  pedal.TurnKnob(kParamPatchOffset, 1);
  pedal.StepToPreset(5);
  inbox.clear();
  Handshake();
  Set(kParamLevel, 65);
  EXPECT_EQ(view.texts[kTagPresetNumber], "65");
  Timer(60);
  EXPECT_EQ(view.texts[kTagPresetNumber], "65");
  Timer(1);
  EXPECT_EQ(view.texts[kTagPresetNumber], "06");

  // UP: one step at the press, the first repeat 24 ticks later, then every
  // 4th tick, every tick once the counter passes 20.
  link.sent.clear();
  editor->MainPage().PressUp();
  EXPECT_EQ(editor->Session().currentPreset.load(), 6);
  Timer(23);
  EXPECT_EQ(editor->Session().currentPreset.load(), 6);
  Timer(1);
  EXPECT_EQ(editor->Session().currentPreset.load(), 7);
  Timer(16);
  EXPECT_EQ(editor->Session().currentPreset.load(), 11);
  Timer(2);
  EXPECT_EQ(editor->Session().currentPreset.load(), 13);
  EXPECT_TRUE(link.sent.empty());
  editor->MainPage().ReleaseUp();
  EXPECT_EQ(SentNames(), std::vector<std::string>{"PresetSelect 13"});

  // A confirmed save blinks ten more cycles of 8 ticks, then mode A ends.
  editor->MainPage().ReleaseArm(ArmedAction::kSave);
  editor->MainPage().ReleaseArm(ArmedAction::kSave);
  EXPECT_TRUE(editor->Session().savePending.load());
  Timer(8 * 10);
  EXPECT_TRUE(editor->LiveEdit().blinkModeA.load());
  Timer(8);
  EXPECT_FALSE(editor->LiveEdit().blinkModeA.load());
  EXPECT_FALSE(view.hiddenTags[kTagPresetNumber]);
}

// Live edit, a preset from the pedal, SAVE into the pedal and the cache, a
// rename, and an apply during a fetch.
TEST_F(LiveEdit, ConversationWithThePedal) {
  PrepareBritishSlot();
  Handshake();
  Set(kParamLevel, 65);
  EXPECT_EQ(pedal::PayloadValue(pedal.Snapshot().editBuffer, kParamLevel), 65);
  EXPECT_EQ(view.texts[kTagPresetNumber], "65");
  EXPECT_EQ(view.texts[kTagMasterLevelValue], "51");

  pedal.StepToPreset(kBritishSlot);
  Deliver();
  EXPECT_EQ(Open(), Block::kLevel);
  EXPECT_EQ(view.values[kTagAmpModelFirst + kBritish], 1.0);

  Set(kParamLevel, 99);
  EXPECT_TRUE(editor->Editor().presetModified.load());
  editor->MainPage().ReleaseArm(ArmedAction::kSave);
  editor->MainPage().ReleaseArm(ArmedAction::kSave);
  Deliver();
  EXPECT_EQ(pedal::PayloadValue(pedal.Snapshot().presets[kBritishSlot], kParamLevel), 99);
  FileReader cached(editor->Cache().SlotPath(kBritishSlot));
  const std::vector<std::uint8_t> file = cached.ReadAll(kPresetPayloadSize);
  ASSERT_EQ(file.size(), kPresetPayloadSize);
  EXPECT_EQ(file[kPayloadValuesOffset + kParamLevel], 99);
  EXPECT_FALSE(editor->Editor().presetModified.load());

  editor->MainPage().NameEntered("Renamed");
  Deliver();
  EXPECT_EQ(DecodePresetPayload(pedal.Snapshot().presets[kBritishSlot]).name.substr(0, 8),
            "Renamed ");

  editor->Session().fetching.store(true);
  link.sent.clear();
  editor->MainPage().AmpButton(0);
  EXPECT_TRUE(link.sent.empty());
}

TEST_F(LiveEdit, ClicksTakeTheRowUnderThePointer) {
  Handshake();
  link.sent.clear();
  // The lower part of row 3 is still row 3.
  Select(kParamPresetListHover, 3.7 / 19.0, SelectorEventKind::kPress);
  EXPECT_EQ(SentNames(), std::vector<std::string>{"PresetSelect 3"});
  // At the end of the list, the bottom edge is no slot (not slot 0).
  Select(kParamScroll, 0.0, SelectorEventKind::kPress);
  ASSERT_EQ(editor->LiveEdit().firstVisibleRow.load(), kLastFirstVisibleRow);
  EXPECT_EQ(view.rowPlacements[kLastFirstVisibleRow].first, kPresetListTop);
  link.sent.clear();
  Select(kParamPresetListHover, 1.0, SelectorEventKind::kPress);
  EXPECT_TRUE(link.sent.empty());
  // Wheel: three rows, one with Ctrl.
  Select(kParamPresetListHover, 0.5, SelectorEventKind::kWheel, SelectorModifier::kNone, true);
  Select(kParamPresetListHover, 0.5, SelectorEventKind::kWheel, SelectorModifier::kCtrl, true);
  EXPECT_EQ(editor->LiveEdit().firstVisibleRow.load(), kLastFirstVisibleRow - 4);

  // The browser's last bank: the bottom edge of the right column is IR 287.
  Set(kParamCustomIrBank, 8);
  Select(kParamUserIrBrowserRightHover, 1.0, SelectorEventKind::kPress);
  EXPECT_EQ(editor->Irs().BrowserSelection(), 287);
  Select(kParamUserIrBrowserLeftHover, 1.0, SelectorEventKind::kPress);
  EXPECT_EQ(editor->Irs().BrowserSelection(), 256 + 15);
}

TEST_F(LiveEdit, PedalDataOutsideItsRangesChangesNothingElse) {
  // A preset whose source A plays "user IR" 3 * 128 + 5 = 389.
  pedal::PedalState state = pedal.Snapshot();
  pedal::SetPayloadValue(state.presets[0], kParamIrModeA, 1);
  pedal::SetPayloadValue(state.presets[0], kParamUserIrAMsb, 3);
  pedal::SetPayloadValue(state.presets[0], kParamUserIrA, 5);
  pedal::SetPayloadValue(state.presets[0], kParamDynamics, 30);
  pedal.ReplaceState(state);
  Handshake();
  EXPECT_EQ(CountSent(kCmdIrRequest), 0);
  editor->Session().irSlotAFlag.store(true);
  Set(kParamUserIrA, 5);
  Tick();
  EXPECT_EQ(CountSent(kCmdIrRequest), 0);

  // Opening the drive block with "Dynamics" 30 moves only the Compression
  // control; the preset keeps 30 and the pedal hears only "Drive".
  link.sent.clear();
  Set(kParamDrive, 40);
  EXPECT_EQ(Open(), Block::kDrive);
  EXPECT_EQ(editor->Parameters().ParamInt(kParamDynamics), 30);
  EXPECT_EQ(view.parameterValues[kParamCompression], 64.0);
  EXPECT_EQ(CountSent(kCmdParameterSet), 1);
  // From 64 up, Compression follows: 100 shows 57 and keeps Dynamics 100.
  Set(kParamDynamics, 100);
  Set(kParamCompression, 100);
  EXPECT_EQ(view.texts[kTagDriveCompressionValue], "57");
  EXPECT_EQ(editor->Parameters().ParamInt(kParamDynamics), 100);
}

// The receive handler on its own thread while the UI thread edits, applies
// and ticks: for ThreadSanitizer.
TEST_F(LiveEdit, DumpsOnTheAudioThreadWhileTheUserEdits) {
  Handshake();
  Set(kParamLevel, 70);
  ReplyQueue replies;
  pedal.SetReplySink([&](ByteSpan reply) { replies.Push(reply); });
  {
    AudioThread audio(*editor, replies);
    for (int i = 0; i < 20; ++i) {
      pedal.StepToPreset(i);
      Set(kParamCrunch, i);
      editor->MainPage().AmpButton(i % kNumAmpModels);
      editor->OnFrameworkTimer();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    EXPECT_TRUE(RunUiUntil(*editor, deadline,
                           [&] { return editor->Session().loadedPreset.load() == 19; }));
  }
  // Neither the dumps nor the impulse responses they asked for moved the
  // editing area away from the level block.
  EXPECT_EQ(Open(), Block::kLevel);
}

}  // namespace
}  // namespace kr7::test
