#include "editor/MidiMapping.h"

#include <cstdio>

#include "device/Messages.h"
#include "device/Session.h"
#include "editor/JackFunctions.h"
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

MidiMapping::MidiMapping(SessionState& session, ProgramMap& programMap, MidiMappingHost& host)
    : mSession(session), mProgramMap(programMap), mHost(host) {}

bool MidiMapping::OnParamChange(int index) {
  if (IsGlobalSetting(index)) {
    OnGlobalSetting(index);
    return true;
  }
  switch (index) {
    case kParamControllerProgram: {
      const std::size_t program = static_cast<std::size_t>(mHost.ParamInt(index) & kDataByteMask);
      mHost.SetParamFromPosition(kParamRxa3Program, mProgramMap[program].load() / kRawRange);
      return true;
    }
    case kParamRxa3Program: {
      const int program = mHost.ParamInt(kParamControllerProgram) & kDataByteMask;
      mProgramMap[static_cast<std::size_t>(program)].store(mHost.ParamInt(index));
      return true;
    }
    default:
      break;
  }
  if (index < kParamControllerMap0 || index > kLastParam) return false;
  // The jack rules only move controls.
  if (!mHost.HasWindow()) return true;
  if (const std::optional<int> jack = JackOfMode(index)) {
    OnJackMode(*jack);
  } else if (const std::optional<int> function = JackFunctionOf(index)) {
    OnJackFunctionParam(*function, index);
  }
  return true;
}

void MidiMapping::OnGlobalSetting(int index) {
  if (index == kParamPatchOffset) {
    // The list's texts live in the editor's own state, so they follow the
    // offset whether or not a window shows them.
    if (mHost.HasWindow()) {
      char text[256];
      std::snprintf(text, sizeof text, "%02d",
                    mHost.ParamInt(index) + mSession.currentPreset.load());
      mHost.View().SetControlText(kTagPresetNumber, text);
    }
    mHost.ReloadPresetList();
  }
  // A received settings block is applied with the flag set and so is never
  // echoed back.
  if (mSession.applying.load()) return;
  SendWholeBlock(kGlobalSettings, mHost.SettingsBlock());
}

void MidiMapping::SendWholeBlock(std::uint8_t type, const Bytes& block) {
  if (!mSession.connected.load() || !mSession.BlockReceived(type)) {
    mHost.SetPendingMessage(std::string(kSettingsNotArrivedText));
    return;
  }
  mHost.Send(block);
}

// ---- jacks -------------------------------------------------------------------

void MidiMapping::OnJackMode(int jackIndex) {
  const Jack& jack = kJacks[static_cast<std::size_t>(jackIndex)];
  const bool pedal = mHost.ParamInt(jack.modeParam) == 0;
  if (mHost.LocalEdit()) {
    if (pedal) {
      Describe(jack.pedalFunction);
    } else {
      Describe(jack.switchFunctions[0]);
      Describe(jack.switchFunctions[1]);
    }
  }
  EditorView& view = mHost.View();
  view.SetGroupHidden(jack.switchGroup, pedal);
  view.SetGroupHidden(jack.pedalGroup, !pedal);
  // The polarity belongs to an expression pedal only.
  EnableParamControls(jack.polarityParam, pedal);
}

void MidiMapping::OnJackFunctionParam(int functionIndex, int index) {
  const JackFunction& function = kJackFunctions[static_cast<std::size_t>(functionIndex)];
  const int jackMode = mHost.ParamInt(kJacks[static_cast<std::size_t>(function.jack)].modeParam);
  // A function is described only while its jack is in the matching mode.
  if (mHost.LocalEdit() && (jackMode == 0) == function.pedal) Describe(functionIndex);
  if (index != function.modeParam) return;
  if (function.pedal) {
    EnableParamControls(function.controllerParam, mHost.ParamInt(index) == kPedalControl);
  } else {
    OnSwitchFunctionMode(functionIndex);
  }
}

void MidiMapping::OnSwitchFunctionMode(int functionIndex) {
  const JackFunction& function = kJackFunctions[static_cast<std::size_t>(functionIndex)];
  const Jack& jack = kJacks[static_cast<std::size_t>(function.jack)];
  const int mode = mHost.ParamInt(function.modeParam);
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
  if (mHost.ParamInt(kJackFunctions[static_cast<std::size_t>(other)].modeParam) !=
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
  const int mode = mHost.ParamInt(function.modeParam);
  const int channel = mHost.ParamInt(function.channelParam);
  const int controller = mHost.ParamInt(function.controllerParam);
  const JackLines lines = function.pedal ? DescribePedal(mode, channel, controller)
                                         : DescribeSwitch(mode, channel, controller);
  for (std::size_t line = 0; line < lines.size(); ++line) {
    mHost.View().SetControlText(function.firstTextTag + static_cast<int>(line), lines[line]);
  }
}

void MidiMapping::EnableParamControls(int index, bool enabled) {
  mHost.View().SetParameterControlsDisabled(index, !enabled);
}

// ---- blocks ------------------------------------------------------------------------

void MidiMapping::ApplyControllerMap(std::span<const std::uint8_t> contents) {
  for (std::size_t i = 0; i < kControllerMapReceivedCount && i < contents.size(); ++i) {
    const int index = kParamControllerMap0 + static_cast<int>(i);
    if (index == kParamControllerProgram || index == kParamRxa3Program) continue;
    mHost.SetParamFromRaw(index, contents[i]);
  }
}

void MidiMapping::ApplyProgramMap(std::span<const std::uint8_t> contents) {
  for (std::size_t i = 0; i < kProgramMapEntries && i < contents.size(); ++i) {
    mProgramMap[i].store(contents[i] & kDataByteMask);
  }
  const std::size_t program =
      static_cast<std::size_t>(mHost.ParamInt(kParamControllerProgram) & kDataByteMask);
  mHost.SetParamFromPosition(kParamRxa3Program, mProgramMap[program].load() / kRawRange);
}

Bytes MidiMapping::ControllerMapBlock() const {
  std::array<std::uint8_t, kControllerMapSentCount> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<std::uint8_t>(
        mHost.ParamInt(kParamControllerMap0 + static_cast<int>(i)) & kDataByteMask);
  }
  return build::ControllerMap(values);
}

Bytes MidiMapping::ProgramMapBlock() const {
  std::array<std::uint8_t, kBlockContentsSize> contents{};
  for (std::size_t i = 0; i < kProgramMapEntries; ++i) {
    contents[ContentsIndex(kProgramMapByte) + i] =
        static_cast<std::uint8_t>(mProgramMap[i].load() & kDataByteMask);
  }
  return build::GlobalBlock(kGlobalProgramMap, contents);
}

// ---- pages ------------------------------------------------------------------------

void MidiMapping::SwitchPages(std::string_view hide, std::string_view show) {
  EditorView& view = mHost.View();
  view.SetGroupHidden(hide, true);
  view.SetGroupHidden(show, false);
}

void MidiMapping::OpenControllerMapPage() {
  SwitchPages(kGroupGlobalSettings, kGroupMidiCc);
  mHost.Send(build::GlobalRequest(kGlobalControllerMap));
}

void MidiMapping::OpenProgramMapPage() {
  SwitchPages(kGroupGlobalSettings, kGroupMidiProgram);
  mHost.Send(build::GlobalRequest(kGlobalProgramMap));
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
