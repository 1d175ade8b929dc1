// Global settings, the controller and program maps and the jack rules,
// against the virtual pedal.

#include <functional>

#include "editor/JackFunctions.h"
#include "model/CommandCodes.h"
#include "model/UserTexts.h"
#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

class MidiMappingTest : public Conversation {
 protected:
  void ChangePedal(const std::function<void(pedal::PedalState&)>& change) {
    pedal::PedalState state = pedal.Snapshot();
    change(state);
    pedal.ReplaceState(state);
  }
  void ExpectToldOnce(std::string_view text) {
    editor->OnFrameworkTimer();
    EXPECT_EQ(view.messages, std::vector<std::string>{std::string(text)});
    view.messages.clear();
  }
};

TEST_F(MidiMappingTest, SettingsGoOutWholeOnlyAfterThePedalsOwnArrived) {
  Set(kParamMidiCcChannel, 3);
  EXPECT_EQ(CountSent(kCmdGlobalBlock), 0);
  ExpectToldOnce(kPedalNotConnectedText);

  ChangePedal([](pedal::PedalState& s) { s.activeSlot = 5; });
  Handshake();
  EXPECT_EQ(CountSent(kCmdGlobalBlock), 0);  // the received block is not echoed

  Set(kParamMidiCcChannel, 3);
  ASSERT_EQ(CountSent(kCmdGlobalBlock), 1);
  EXPECT_EQ(link.sent.back()[kOffsetBlockType], kGlobalSettings);
  EXPECT_EQ(link.sent.back()[kSettingsActiveSlotByte], 5);
  EXPECT_EQ(pedal.Snapshot().globals[kParamMidiCcChannel - kParamDefineMidiMapping], 3);
  Set(kParamMidiCcChannel, 3);  // unchanged, still sent
  EXPECT_EQ(CountSent(kCmdGlobalBlock), 2);
}

TEST_F(MidiMappingTest, PatchOffsetFromThePedalRenumbersEveryRow) {
  Handshake();
  ChangePedal(
      [](pedal::PedalState& s) { s.globals[kParamPatchOffset - kParamDefineMidiMapping] = 1; });
  EXPECT_TRUE(editor->OnCommand(kCommandGlobalSettings));
  EXPECT_FALSE(editor->Session().polling.load());
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupGlobalSettings)));
  Deliver();

  EXPECT_EQ(editor->Parameters().ParamInt(kParamPatchOffset), 1);
  EXPECT_EQ(view.texts[kTagPresetNumber], "01");
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    EXPECT_EQ(editor->Cache().ListText(slot).rfind(PresetCache::FormatListText(slot + 1, ""), 0),
              0u);
  }
  EXPECT_EQ(CountSent(kCmdGlobalBlock), 0);
  editor->CloseGlobalSettings();
  EXPECT_TRUE(editor->Session().polling.load());
  EXPECT_TRUE(view.GroupHidden(std::string(kGroupGlobalSettings)));
}

TEST_F(MidiMappingTest, ControllerMapBackSendsOnlyWhatThePedalSentFirst) {
  Handshake();
  ChangePedal([](pedal::PedalState& s) {
    s.controllerMap[0] = 30;
    s.controllerMap[8] = 7;  // the positions of parameters 99 and 100
    s.controllerMap[9] = 99;
  });
  pedal.DropNextReplies(1);
  editor->Midi().OpenControllerMapPage();
  Deliver();
  editor->Midi().CloseControllerMapPage();
  EXPECT_EQ(CountSent(kCmdGlobalBlock), 0);
  ExpectToldOnce(kControllerMapNotArrivedText);

  editor->Midi().OpenControllerMapPage();
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupMidiCc)));
  Deliver();
  EXPECT_EQ(editor->Parameters().ParamInt(kParamControllerMap0), 30);
  for (int entry = 0; entry < static_cast<int>(kProgramMapSize); ++entry) {
    EXPECT_EQ(editor->Editor().programMap[static_cast<std::size_t>(entry)].load(), entry);
  }
  Set(kParamControllerMap0, 40);
  editor->Midi().CloseControllerMapPage();
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupGlobalSettings)));
  EXPECT_EQ(pedal.Snapshot().controllerMap[0], 40);
}

TEST_F(MidiMappingTest, ProgramMapFollowsTheSelectorAndGoesBackWhole) {
  Handshake();
  ChangePedal([](pedal::PedalState& s) { s.programMap[5] = 17; });
  editor->Midi().OpenProgramMapPage();
  Deliver();
  Set(kParamControllerProgram, 5);
  EXPECT_EQ(editor->Parameters().ParamInt(kParamRxa3Program), 17);
  Set(kParamRxa3Program, 20);
  EXPECT_EQ(editor->Editor().programMap[5].load(), 20);
  editor->Midi().CloseProgramMapPage();
  EXPECT_EQ(pedal.Snapshot().programMap[5], 20);
  EXPECT_EQ(pedal.Snapshot().programMap[6], 6);
}

TEST_F(MidiMappingTest, JackRulesDescribeAndEnableTheirControls) {
  editor->LiveEdit().localEdit.store(true);
  Set(kParamPedal1Controller, 11);
  EXPECT_EQ(view.texts[kTagJack1PedalText], "CH 1 - CC 11");
  EXPECT_EQ(view.texts[kTagJack1PedalText + 1], "Expression Pedal");
  Set(kParamPedal1Mode, kPedalBend);
  EXPECT_TRUE(view.disabledParams[kParamPedal1Controller]);

  Set(kParamJack1Mode, 1);
  EXPECT_TRUE(view.GroupHidden(std::string(kGroupJack1Pedal)));
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupJack1Switch)));
  EXPECT_TRUE(view.disabledParams[kParamJack1Polarity]);
  EXPECT_EQ(view.texts[kTagJack1SwitchBText], "CH 1 - CC 0");

  Set(kParamSwitchA1FunctionMode, kSwitchSpecialControl);
  EXPECT_FALSE(view.disabledParams[kParamSwitch1SpecialCtrlLower]);
  Set(kParamSwitchA1FunctionMode, kSwitchControl);
  EXPECT_TRUE(view.disabledParams[kParamSwitch1SpecialCtrlUpper]);
  Set(kParamSwitchB1FunctionMode, kSwitchSpecialControl);
  Set(kParamSwitchA1FunctionMode, kSwitchStart);
  EXPECT_FALSE(view.disabledParams[kParamSwitch1SpecialCtrlUpper]);
  EXPECT_TRUE(view.disabledParams[kParamSwitchA1MidiChannel]);
  EXPECT_EQ(view.texts[kTagJack1SwitchAText], "START/STOP");
}

}  // namespace
}  // namespace kr7::test
