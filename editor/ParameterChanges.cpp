#include "editor/ParameterChanges.h"

#include <atomic>

#include "device/Messages.h"
#include "editor/IrFlows.h"
#include "model/EditorView.h"

namespace kr7 {

namespace {

bool IsParam(int index) { return index >= 0 && index < kNumParams; }

}  // namespace

ParameterChanges::ParameterChanges(ParameterTable& params, EditorState& editor,
                                   SessionState& session, SysExSender& sender, WindowLink& window)
    : mParams(params), mEditor(editor), mSession(session), mSender(sender), mWindow(window) {}

int ParameterChanges::ParamInt(int index) const {
  const iplug::IParam* param = mParams.GetParam(index);
  return param ? param->Int() : 0;
}

void ParameterChanges::SetParameterFromPosition(int index, double position) {
  iplug::IParam* param = mParams.GetParam(index);
  if (!param) return;
  param->SetNormalized(position);
  OnParamChange(index);
}

void ParameterChanges::SetParameterFromRaw(int index, int raw) {
  const iplug::IParam* param = mParams.GetParam(index);
  if (!param) return;
  SetParameterFromPosition(index, param->RawToNormalized(raw));
}

void ParameterChanges::SetParamFromRaw(int index, int raw) {
  SetParameterFromRaw(index, raw);
  MoveControls(index);
}

void ParameterChanges::SetParamFromPosition(int index, double position) {
  SetParameterFromPosition(index, position);
  MoveControls(index);
}

void ParameterChanges::MoveControls(int index) {
  if (!IsParam(index) || !mWindow.HasWindow()) return;
  mWindow.View().SendParameterValueFromDelegate(index, mParams.GetParam(index)->Value());
}

void ParameterChanges::OnParamChange(int index) {
  if (!IsParam(index)) return;
  if (index <= kLastPresetParam) SendLiveEdit(index);
  if (index >= kParamDefineMidiMapping && mMappingDispatch) {
    mMappingDispatch(index);
    return;
  }
  const int m = ParamInt(index);
  // Entries that run with or without a window. The user-IR number of each
  // source follows its two parameters; the session asks for missing IRs by
  // these numbers.
  switch (index) {
    case kParamUserIrA:
      mSession.irSlotA.store(ParamInt(kParamUserIrAMsb) * 128 + m);
      break;
    case kParamUserIrB:
      mSession.irSlotB.store(ParamInt(kParamUserIrBMsb) * 128 + m);
      break;
    // The response graph follows the "IR" knob, and a source's mode when the
    // knob stands where that source is heard (beyond position 6).
    case kParamIr:
      if (mIrs != nullptr) mIrs->RefreshDisplay();
      break;
    case kParamIrModeA:
    case kParamIrModeB:
      if (mIrs != nullptr && ParamInt(kParamIr) / 127.0 * 8.0 > 6.0) mIrs->RefreshDisplay();
      break;
    default:
      break;
  }
}

void ParameterChanges::SendLiveEdit(int index) {
  if (!mSession.connected.load()) return;
  const int m = ParamInt(index);
  std::atomic<int>& edit = mEditor.editValues[static_cast<std::size_t>(index)];
  // The user-IR selection is re-sent even unchanged: the pedal completes a
  // two-part selection only on the second half arriving.
  const bool alwaysSent = index >= kParamUserIrAMsb && index <= kParamUserIrB;
  if (edit.exchange(m) == m && !alwaysSent) return;
  if (mSession.applying.load()) return;
  mSender.SendSysEx(build::ParameterSet(static_cast<std::uint8_t>(DeviceParameterNumber(index)),
                                        static_cast<std::uint8_t>(m)));
}

}  // namespace kr7
