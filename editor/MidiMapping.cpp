#include "editor/MidiMapping.h"

#include "device/Messages.h"
#include "device/Session.h"
#include "device/SettingsBlock.h"
#include "editor/JackFunctions.h"
#include "editor/PresetDecoder.h"
#include "editor/ValueTexts.h"
#include "model/ControlTags.h"
#include "model/EditorView.h"
#include "model/Parameters.h"
#include "model/UserTexts.h"

namespace kr7 {

namespace {

constexpr double kRawRange = 127.0;

bool IsGlobalSetting(int index) {
  return index >= kParamDefineMidiMapping && index <= kParamCabinetBypass;
}

}  // namespace

MidiMapping::MidiMapping(SessionState& session, EditorState& editor, const ParameterTable& table,
                         ParameterAccess& params, SysExSender& sender, WindowLink& window,
                         PresetDecoder& presets, const std::atomic<bool>& localEdit)
    : mSession(session),
      mEditor(editor),
      mTable(table),
      mParams(params),
      mSender(sender),
      mWindow(window),
      mPresets(presets),
      mLocalEdit(localEdit) {}

void MidiMapping::OnParamChange(int index) {
  if (IsGlobalSetting(index)) {
    OnGlobalSetting(index);
    return;
  }
  switch (index) {
    case kParamControllerProgram: {
      const std::size_t program = static_cast<std::size_t>(mParams.ParamInt(index) & kDataByteMask);
      mParams.SetParamFromPosition(kParamRxa3Program,
                                   mEditor.programMap[program].load() / kRawRange);
      return;
    }
    case kParamRxa3Program: {
      const int program = mParams.ParamInt(kParamControllerProgram) & kDataByteMask;
      mEditor.programMap[static_cast<std::size_t>(program)].store(mParams.ParamInt(index));
      return;
    }
    default:
      break;
  }
  // The jack rules only move controls.
  if (!mWindow.HasWindow()) return;
  if (const std::optional<int> jack = JackOfMode(index)) {
    OnJackMode(*jack);
  } else if (const std::optional<int> function = JackFunctionOf(index)) {
    OnJackFunctionParam(*function, index);
  }
}

void MidiMapping::OnGlobalSetting(int index) {
  if (index == kParamPatchOffset) {
    // The list's texts live in the editor's own state, so they follow the
    // offset whether or not a window shows them.
    if (mWindow.HasWindow()) {
      mWindow.View().SetControlText(
          kTagPresetNumber, TwoDigits(mParams.ParamInt(index) + mSession.currentPreset.load()));
    }
    mPresets.RenumberList();
  }
  // A received settings block is applied in an applying scope and so is
  // never echoed back.
  if (ApplyingScope::Active()) return;
  SendWholeBlock(kGlobalSettings, BuildSettingsBlock(mTable, mSession.currentPreset.load()));
}

void MidiMapping::SendWholeBlock(std::uint8_t type, const Bytes& block) {
  if (!mSession.connected.load()) {
    mWindow.SetPendingMessage(std::string(kPedalNotConnectedText));
    return;
  }
  if (!mSession.BlockReceived(type)) {
    const std::string_view text = type == kGlobalControllerMap ? kControllerMapNotArrivedText
                                  : type == kGlobalProgramMap  ? kProgramMapNotArrivedText
                                                               : kSettingsNotArrivedText;
    mWindow.SetPendingMessage(std::string(text));
    return;
  }
  mSender.SendSysEx(block);
}

// ---- jacks -------------------------------------------------------------------

void MidiMapping::OnJackMode(int jackIndex) {
  const Jack& jack = kJacks[static_cast<std::size_t>(jackIndex)];
  const bool pedal = mParams.ParamInt(jack.modeParam) == 0;
  if (mLocalEdit.load()) {
    if (pedal) {
      Describe(jack.pedalFunction);
    } else {
      Describe(jack.switchFunctions[0]);
      Describe(jack.switchFunctions[1]);
    }
  }
  EditorView& view = mWindow.View();
  view.SetGroupHidden(jack.switchGroup, pedal);
  view.SetGroupHidden(jack.pedalGroup, !pedal);
  // The polarity belongs to an expression pedal only.
  EnableParamControls(jack.polarityParam, pedal);
}

void MidiMapping::OnJackFunctionParam(int functionIndex, int index) {
  const JackFunction& function = kJackFunctions[static_cast<std::size_t>(functionIndex)];
  const int jackMode = mParams.ParamInt(kJacks[static_cast<std::size_t>(function.jack)].modeParam);
  // A function is described only while its jack is in the matching mode.
  if (mLocalEdit.load() && (jackMode == 0) == function.pedal) Describe(functionIndex);
  if (index != function.modeParam) return;
  if (function.pedal) {
    EnableParamControls(function.controllerParam, mParams.ParamInt(index) == kPedalControl);
  } else {
    OnSwitchFunctionMode(functionIndex);
  }
}

void MidiMapping::OnSwitchFunctionMode(int functionIndex) {
  const JackFunction& function = kJackFunctions[static_cast<std::size_t>(functionIndex)];
  const Jack& jack = kJacks[static_cast<std::size_t>(function.jack)];
  const int mode = mParams.ParamInt(function.modeParam);
  EnableParamControls(function.channelParam, true);
  EnableParamControls(function.controllerParam, true);
  if (mode == kSwitchSpecialControl) {
    EnableParamControls(jack.specialLowerParam, true);
    EnableParamControls(jack.specialUpperParam, true);
    return;
  }
  // The special controls are shared: they stay usable while the other
  // switch of the jack needs them.
  const int other =
      jack.switchFunctions[0] == functionIndex ? jack.switchFunctions[1] : jack.switchFunctions[0];
  if (mParams.ParamInt(kJackFunctions[static_cast<std::size_t>(other)].modeParam) !=
      kSwitchSpecialControl) {
    EnableParamControls(jack.specialLowerParam, false);
    EnableParamControls(jack.specialUpperParam, false);
  }
  if (mode == kSwitchStart || mode == kSwitchStop) {
    EnableParamControls(function.channelParam, false);
    EnableParamControls(function.controllerParam, false);
  }
}

void MidiMapping::Describe(int functionIndex) {
  const JackFunction& function = kJackFunctions[static_cast<std::size_t>(functionIndex)];
  const int mode = mParams.ParamInt(function.modeParam);
  const int channel = mParams.ParamInt(function.channelParam);
  const int controller = mParams.ParamInt(function.controllerParam);
  const JackLines lines = function.pedal ? DescribePedal(mode, channel, controller)
                                         : DescribeSwitch(mode, channel, controller);
  for (std::size_t line = 0; line < lines.size(); ++line) {
    mWindow.View().SetControlText(function.firstTextTag + static_cast<int>(line), lines[line]);
  }
}

void MidiMapping::EnableParamControls(int index, bool enabled) {
  mWindow.View().SetParameterControlsDisabled(index, !enabled);
}

// ---- blocks ------------------------------------------------------------------------

Bytes MidiMapping::ControllerMapBlock() const {
  std::array<std::uint8_t, kControllerMapSentCount> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<std::uint8_t>(
        mParams.ParamInt(kParamControllerMap0 + static_cast<int>(i)) & kDataByteMask);
  }
  return build::ControllerMap(values);
}

Bytes MidiMapping::ProgramMapBlock() const {
  std::array<std::uint8_t, kBlockContentsSize> contents{};
  for (std::size_t i = 0; i < kProgramMapEntries; ++i) {
    contents[ContentsIndex(kProgramMapByte) + i] =
        static_cast<std::uint8_t>(mEditor.programMap[i].load() & kDataByteMask);
  }
  return build::GlobalBlock(kGlobalProgramMap, contents);
}

// ---- pages ------------------------------------------------------------------------

void MidiMapping::SwitchPages(std::string_view hide, std::string_view show) {
  EditorView& view = mWindow.View();
  view.SetGroupHidden(hide, true);
  view.SetGroupHidden(show, false);
}

void MidiMapping::RequestMap(std::uint8_t type) {
  // The session asks again for a lost map, and says so when it never comes.
  if (mSession.connected.load()) mSession.mapWait.Start(type);
  mSender.SendSysEx(build::GlobalRequest(type));
}

void MidiMapping::OpenControllerMapPage() {
  SwitchPages(kGroupGlobalSettings, kGroupMidiCc);
  RequestMap(kGlobalControllerMap);
}

void MidiMapping::OpenProgramMapPage() {
  SwitchPages(kGroupGlobalSettings, kGroupMidiProgram);
  RequestMap(kGlobalProgramMap);
}

void MidiMapping::CloseControllerMapPage() {
  SwitchPages(kGroupMidiCc, kGroupGlobalSettings);
  SendWholeBlock(kGlobalControllerMap, ControllerMapBlock());
}

void MidiMapping::CloseProgramMapPage() {
  SwitchPages(kGroupMidiProgram, kGroupGlobalSettings);
  SendWholeBlock(kGlobalProgramMap, ProgramMapBlock());
}

}  // namespace kr7
