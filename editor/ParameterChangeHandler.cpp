#include "editor/ParameterChangeHandler.h"

#include <algorithm>

#include "device/Messages.h"
#include "editor/IrStore.h"
#include "model/ControlTags.h"
#include "editor/ValueTexts.h"
#include "model/PresetCache.h"

namespace kr7 {

namespace {

constexpr int kFirstMappingParam = kParamDefineMidiMapping;
constexpr int kLocalEditLimit = 38;  // parameters below this mark a local edit
constexpr int kLastIrListRow = 8;
constexpr int kIrNamesPagesPerBank = 4;

bool ShowsOnPresetDisplay(int index) {
  return index != kParamIr && index != kParamIrModeA && index != kParamIrModeB &&
         index != kParamReverbMode && index != kParamAutoFilerLevel;
}

std::uint8_t Data(int value) { return static_cast<std::uint8_t>(value & kDataByteMask); }

}  // namespace

void ParameterChangeHandler::OnParamChange(int index, std::optional<SelectorEvent> event) {
  if (index < 0 || index >= kNumParams) return;
  const int m = mHost.ParamInt(index);
  if (index <= kLastPresetParam) CommonStep(index, m);
  EvaluateModified();
  if (index < kFirstMappingParam) {
    Dispatch(index, m, event);
  } else if (mMappingDispatch) {
    mMappingDispatch(index);
  }
  FinalStep(index);
}

void ParameterChangeHandler::SetText(int tag, std::string_view text) {
  if (mHost.HasWindow()) mHost.View().SetControlText(tag, text);
}

void ParameterChangeHandler::SetPresetDisplay(std::string_view text) {
  SetText(kTagPresetNumber, text);
}

void ParameterChangeHandler::CommonStep(int index, int m) {
  if (ShowsOnPresetDisplay(index)) SetPresetDisplay(TwoDigits(m));
  if (mSession.connected.load()) {
    std::atomic<int>& edit = mPreset.editValues[static_cast<std::size_t>(index)];
    // The user-IR selection is re-sent even unchanged: the pedal completes a
    // two-part selection only when the second half arrives.
    const bool alwaysSent = index >= kParamUserIrAMsb && index <= kParamUserIrB;
    const bool changed = edit.exchange(m) != m;
    if ((changed || alwaysSent) && !mBlocks.Applying()) {
      mHost.Send(build::ParameterSet(Data(DeviceParameterNumber(index)), Data(m)));
    }
  }
  mState.valueDisplayActive.store(true);
  mState.valueDisplayTicks.store(0);
}

void ParameterChangeHandler::EvaluateModified() {
  bool modified = false;
  for (int i = 0; i <= kLastPresetParam && !modified; ++i) {
    const auto at = static_cast<std::size_t>(i);
    modified = mPreset.editValues[at].load() != mPreset.deviceValues[at].load();
  }
  mPreset.modified.store(modified);
  if (!mHost.HasWindow()) return;
  EditorView& view = mHost.View();
  view.SetControlHidden(kTagPresetNumber, false);
  view.SetControlTextColour(kTagPresetNumber, modified ? kModifiedColour : kUnmodifiedColour);
}

void ParameterChangeHandler::FinalStep(int index) {
  if (mState.localEdit.load() && index < kLocalEditLimit) mPreset.modified.store(true);
}

void ParameterChangeHandler::Dispatch(int index, int m, const std::optional<SelectorEvent>& event) {
  const bool window = mHost.HasWindow();
  switch (index) {
    case kParamLevel:
      mBlocks.SelectOnChange(Block::kLevel);
      break;
    case kParamGain:
      if (mState.SelectedBlock() != Block::kDrive) mBlocks.SelectOnChange(Block::kPreAmp);
      break;
    case kParamDrive:
      mBlocks.SelectOnChange(Block::kDrive);
      break;
    case kParamLow:
      mBlocks.SelectOnChange(Block::kLowFilter);
      break;
    case kParamHigh:
      mBlocks.SelectOnChange(Block::kHighFilter);
      break;
    case kParamMid:
      mBlocks.SelectOnChange(Block::kMidFilter);
      break;
    case kParamReverb:
      mBlocks.SelectOnChange(Block::kAmbience);
      break;
    case kParamAutoFilerLevel2:
      mBlocks.SelectOnChange(Block::kAutoFilter);
      break;
    default:
      break;
  }
  if (window) {
    if (auto text = KnobValueText(index, m)) SetText(text->tag, text->text);
  }
  switch (index) {
    case kParamMidShift:
      mBlocks.SelectOnChange(Block::kMidFilter);
      break;
    case kParamReverb:
      if (window && mState.SelectedBlock() == Block::kAmbience) {
        const int type = mState.shownAmbienceType.load();
        mBlocks.SetGroupHidden(BlockGroup::kAmbience2,
                               type != kAmbienceEcho && type != kAmbienceEchoverb);
      }
      break;
    case kParamGate:
      OnGate(m);
      break;
    case kParamDynamics:
      OnDynamics(m);
      break;
    case kParamCompressorRatio:
      SetText(kTagCompressorRatioValue, CompressorRatioText(m));
      if (window && !mState.GroupHidden(BlockGroup::kCompressor)) {
        mHost.View().SetDynamicsInput(DynamicsInput::kRatio, CompressorRatio(m));
      }
      break;
    case kParamExpanderRatio:
      SetText(kTagExpanderRatioValue, ExpanderRatioText(m));
      if (window && !mState.GroupHidden(BlockGroup::kExpander)) {
        mHost.View().SetDynamicsInput(DynamicsInput::kRatio, 1.0 / ExpanderRatio(m));
      }
      break;
    case kParamCompressorRatio2:
      SetText(kTagGateRatioValue, GateRatioText(m));
      if (window) mHost.View().SetDynamicsInput(DynamicsInput::kGateRatio, 1.0 / GateRatio(m));
      break;
    case kParamIr:
      OnIr(m);
      break;
    case kParamAnalogSim: {
      const AnalogSimReading reading = ReadAnalogSim(m);
      SetText(kTagAnalogSimCaption, reading.title);
      SetText(kTagAnalogSimValue, reading.text);
      mBlocks.SelectOnChange(Block::kAnalogSim);
      break;
    }
    case kParamIrModeA:
    case kParamIrModeB:
      OnIrMode(index == kParamIrModeB, m);
      break;
    case kParamUserIrA:
    case kParamUserIrB:
      OnUserIrNumber(index == kParamUserIrB, m);
      break;
    case kParamAutoFilerLevel:
      if (window) {
        mState.autoFilterOn.store(m != 0);
        mHost.View().SetControlHidden(kTagAutoFilterLed, m == 0);
      }
      break;
    case kParamCompression:
      if (window) {
        SetText(kTagDriveCompressionValue, CompressionText(m));
        SetParamAndQueue(kParamDynamics, m / 127.0);
      }
      break;
    case kParamScroll:
      OnScroll(m);
      break;
    case kParamPresetListHover:
      if (window && event) OnPresetListSelector(m, *event);
      break;
    case kParamIrListHover:
      if (window && event) OnIrListSelector(m, *event);
      break;
    case kParamEditorIr:
      SetParamAndQueue(kParamIr, (127 - m) / 127.0);
      break;
    case kParamGraphSelector:
      mBlocks.SelectOnChange(Block::kImpulseResponse);
      break;
    case kParamCustomIrBank:
      OnCustomIrBank(m);
      break;
    case kParamUserIrBrowserLeftHover:
      if (window && event) OnBrowserSelector(m, 0, *event);
      break;
    case kParamUserIrBrowserRightHover:
      if (window && event) OnBrowserSelector(m, kBrowserColumnRows, *event);
      break;
    default:
      break;
  }
}

void ParameterChangeHandler::SetParamAndQueue(int index, double position) {
  mHost.SetParamToPosition(index, position);
  mHost.QueueForControls(index);
}

void ParameterChangeHandler::OnGate(int m) {
  if (mHost.HasWindow()) {
    mHost.View().SetDynamicsInput(DynamicsInput::kGateThreshold, GateThresholdDb(m));
    SetText(kTagGateThresholdValue, GateThresholdText(m));
  }
  mBlocks.SelectOnChange(Block::kGate);
}

void ParameterChangeHandler::OnDynamics(int m) {
  if (!mHost.HasWindow()) return;
  const DynamicsReading reading = ReadDynamics(m, mHost.ParamInt(kParamCompressorRatio),
                                               mHost.ParamInt(kParamExpanderRatio));
  EditorView& view = mHost.View();
  view.SetControlText(kTagDynamicsTitle, reading.title);
  if (mState.SelectedBlock() == Block::kDrive) {
    view.SetDynamicsInput(DynamicsInput::kRatio, reading.ratio);
  }
  view.SetControlText(kTagDynamicsThresholdValue, reading.text);
  view.SetDynamicsInput(DynamicsInput::kThreshold, reading.thresholdDb);
}

void ParameterChangeHandler::OnIr(int m) {
  if (mHost.HasWindow()) {
    EditorView& view = mHost.View();
    SetPresetDisplay(IrPositionText(m));
    view.SetControlValue(kTagMicrophoneSlider, 1.0 - static_cast<float>(m) / 127.0f);
    // The slider is redrawn only by being shown again.
    if (!mState.GroupHidden(BlockGroup::kIr)) {
      view.SetControlHidden(kTagMicrophoneSlider, true);
      view.SetControlHidden(kTagMicrophoneSlider, false);
    }
  }
  mHost.RefreshIrDisplay();
}

void ParameterChangeHandler::OnIrMode(bool sourceB, int m) {
  if (mHost.HasWindow()) {
    const bool factory = m == 0;
    EditorView& view = mHost.View();
    view.SetParameterControlsDisabled(sourceB ? kParamUserIrGainB : kParamUserIrGainA, factory);
    view.SetControlDisabled(sourceB ? kTagImportIrB : kTagImportIrA, factory);
    view.SetControlDisabled(sourceB ? kTagBrowseIrB : kTagBrowseIrA, factory);
    const int position = sourceB ? kCabinetPositionB : kCabinetPositionA;
    view.SetControlText(sourceB ? kTagIrRowB : kTagIrRowA,
                        factory ? std::string(kCabinetNames[static_cast<std::size_t>(position)])
                                : mHost.SourceName(sourceB));
  }
  // Positions 7 and 8 are heard only beyond position 6.
  if (mHost.ParamInt(kParamIr) / 127.0 * 8.0 > 6.0) mHost.RefreshIrDisplay();
}

void ParameterChangeHandler::OnUserIrNumber(bool sourceB, int m) {
  const int number = mHost.ParamInt(sourceB ? kParamUserIrBMsb : kParamUserIrAMsb) * 128 + m;
  (sourceB ? mSession.irSlotB : mSession.irSlotA).store(number);
  const bool assigned = (sourceB ? mSession.irSlotBFlag : mSession.irSlotAFlag).load();
  if (!assigned || mHost.ParamInt(sourceB ? kParamIrModeB : kParamIrModeA) == 0) return;
  if (!IsUserIrNumber(number)) return;
  const std::string name = mHost.LoadUserIrName(number);
  const std::string row = mHost.BrowserRowText(number % kUserIrBankSize);
  if (row != EmptySlotText(number) && row != name && !mHost.IrImportBusy()) {
    mSession.irRequest.store(true);
  }
}

void ParameterChangeHandler::OnScroll(int m) {
  const int first = kLastFirstVisibleRow - m;
  mState.firstVisibleRow.store(first);
  if (!mHost.HasWindow()) return;
  EditorView& view = mHost.View();
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    const int top = kPresetListTop + (slot - first) * kPresetRowHeight;
    view.SetPresetRowPlacement(slot, top, top < kPresetListTop);
  }
}

void ParameterChangeHandler::OnPresetListSelector(int m, const SelectorEvent& event) {
  const int first = mState.firstVisibleRow.load();
  if (event.kind == SelectorEventKind::kPress) {
    // m is the row under the pointer (the selector's value truncated). The
    // bottom edge gives row 19, past the last slot when the list is at its
    // end; a 7-bit slot field would turn that into slot 0.
    const int slot = first + m;
    if (slot < 0 || slot >= PresetCache::kNumSlots) return;
    mHost.SetPresetRowColour(mSession.highlightedSlot.exchange(slot), kPresetRowColour);
    mHost.SetPresetRowColour(slot, kPresetRowHighlightColour);
    if (!mSession.connected.load()) return;
    if (mState.blinkModeA.load()) {
      mHost.View().SetControlHidden(kTagPresetNumber, false);
      mSession.savePending.store(true);
      mHost.Send(build::ParameterSet(kDeviceParamStorePreset, Data(slot)));
      mState.blinkCycles.store(0);
      mState.blinkStopArmed.store(true);
    } else {
      mHost.Send(build::PresetSelect(Data(slot)));
    }
  } else if (event.kind == SelectorEventKind::kWheel) {
    const bool fine = event.modifier != SelectorModifier::kNone;
    const int step = fine ? 1 : 3;
    const int moved = event.positive ? std::max(0, first - step)
                                     : std::min(kLastFirstVisibleRow, first + step);
    mState.firstVisibleRow.store(moved);
    SetParamAndQueue(kParamScroll,
                     static_cast<double>(kLastFirstVisibleRow - moved) / kLastFirstVisibleRow);
  }
}

void ParameterChangeHandler::OnIrListSelector(int m, const SelectorEvent& event) {
  if (event.kind != SelectorEventKind::kPress) return;
  const int row = std::min(m, kLastIrListRow);
  SetParamAndQueue(kParamIr, row * 0.125 + 0.004);
}

void ParameterChangeHandler::OnCustomIrBank(int m) {
  if (mHost.HasWindow()) {
    mState.browserBank.store(m);
    EditorView& view = mHost.View();
    const int selection = mHost.BrowserSelection();
    view.SetUserIrRowColour(selection % kUserIrBankSize, kBrowserRowColour);
    mHost.ShowUserIrBank(m);
    if (selection / kUserIrBankSize == m) {
      view.SetUserIrRowColour(selection % kUserIrBankSize, kBrowserRowSelectedColour);
    }
  }
  // Names travel only in a conversation.
  if (mSession.connected.load()) {
    mSession.irNamesWait.Start(m * kIrNamesPagesPerBank);
    mHost.Send(build::IrNamesRequest(Data(m * kIrNamesPagesPerBank)));
  }
}

void ParameterChangeHandler::OnBrowserSelector(int m, int firstRow, const SelectorEvent& event) {
  // The bottom edge of a column gives 16: keep it on the column's last row,
  // so a click never reaches the next bank (or IR 288 after the last one).
  const int row = firstRow + std::min(m, kBrowserColumnRows - 1);
  const int number = mState.browserBank.load() * kUserIrBankSize + row;
  if (event.kind == SelectorEventKind::kDoubleClick) {
    if (number < kWritableUserIrCount) mHost.ImportIrIntoRow(number);
    return;
  }
  if (event.kind != SelectorEventKind::kPress) return;
  EditorView& view = mHost.View();
  view.SetUserIrRowColour(mHost.BrowserSelection() % kUserIrBankSize, kBrowserRowColour);
  mHost.SetBrowserSelection(number);
  view.SetUserIrRowColour(row, kBrowserRowSelectedColour);
  std::optional<bool> sourceB;
  if (mSession.irSlotAFlag.load()) {
    sourceB = false;
  } else if (mSession.irSlotBFlag.load()) {
    sourceB = true;
  }
  if (sourceB) {
    (*sourceB ? mSession.irSlotB : mSession.irSlotA).store(number);
    const int msb = *sourceB ? kParamUserIrBMsb : kParamUserIrAMsb;
    mSession.irSelectionStep.store(msb);
    SetParamAndQueue(msb, ((number >> 7) & kDataByteMask) / 127.0);
  }
  mHost.RefreshIrDisplay();
  if (sourceB) mHost.ShowSourceIr(*sourceB, number);
}

}  // namespace kr7
