#include "editor/ParameterChanges.h"

#include "editor/ParameterChangeHandler.h"
#include "model/EditorView.h"

namespace kr7 {

namespace {

bool IsParam(int index) { return index >= 0 && index < kNumParams; }

}  // namespace

ParameterChanges::ParameterChanges(ParameterTable& params, WindowLink& window)
    : mParams(params), mWindow(window) {}

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
  if (IsParam(index) && mHandler != nullptr) mHandler->OnParamChange(index);
}

void ParameterChanges::OnSelectorChange(int index, double position, SelectorEvent event) {
  iplug::IParam* param = mParams.GetParam(index);
  if (!param) return;
  param->SetNormalized(position);
  if (mHandler != nullptr) mHandler->OnParamChange(index, event);
}

}  // namespace kr7
