#pragma once
// The drawing context's view of KR7Control: parameters by index, and a
// control's change turned into setting the parameter and running the
// parameter-change handler.

#include "app/core/KR7Control.h"
#include "ui/IEditorDelegate.h"

namespace kr7::shell {

class EditorDelegate final : public iplug::IEditorDelegate {
 public:
  explicit EditorDelegate(KR7Control& control) : mControl(control) {}

  iplug::IParam* GetParam(int paramIdx) override { return mControl.Params().GetParam(paramIdx); }
  const iplug::IParam* GetParam(int paramIdx) const override {
    return mControl.Params().GetParam(paramIdx);
  }
  void SendParameterValueFromUI(int paramIdx, double normalisedValue) override {
    mControl.Parameters().SetParameterFromPosition(paramIdx, normalisedValue);
  }

 private:
  KR7Control& mControl;
};

}  // namespace kr7::shell
