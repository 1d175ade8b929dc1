#include "ui/IControl.h"

#include <algorithm>
#include <cmath>

#include "ui/IGraphics.h"

namespace igraphics {

IControl::IControl(const Rect& bounds, int paramIdx, IActionFunction action)
    : mRECT(bounds), mParamIdx(paramIdx), mAction(std::move(action)) {}

void IControl::OnMouseDown(float, float, const IMouseMod&) {}
void IControl::OnMouseUp(float, float, const IMouseMod&) {}
void IControl::OnMouseDrag(float, float, float, float, const IMouseMod&) {}
void IControl::OnMouseDblClick(float, float, const IMouseMod&) {}
void IControl::OnMouseWheel(float, float, const IMouseMod&, float) {}
void IControl::OnTextEntryCompletion(std::string_view, bool) {}
void IControl::OnPopupMenuSelection(int) {}

void IControl::OnMouseOver(float, float, const IMouseMod&) {
  if (!mMouseIsOver) {
    mMouseIsOver = true;
    SetDirtyRegion();
  }
}

void IControl::OnMouseOut() {
  if (mMouseIsOver) {
    mMouseIsOver = false;
    SetDirtyRegion();
  }
}

void IControl::Attach(IGraphics* ui, int tag, std::string_view group) {
  mUI = ui;
  mTag = tag;
  mGroup = std::string(group);
  OnAttached();
}

void IControl::OnAttached() {
  if (const iplug::IParam* param = GetParam()) mValue = param->GetNormalized();
}

void IControl::SetValueFromDelegate(double normalised) {
  if (normalised == mValue) return;
  SetValue(normalised);
}

void IControl::SetRECT(const Rect& bounds) {
  SetDirtyRegion();
  mRECT = bounds;
  OnResize();
  SetDirtyRegion();
}

const iplug::IParam* IControl::GetParam() const {
  if (mParamIdx < 0 || mUI == nullptr || mUI->GetDelegate() == nullptr) return nullptr;
  return mUI->GetDelegate()->GetParam(mParamIdx);
}

void IControl::SetValue(double normalised) {
  const double v = std::isfinite(normalised) ? std::clamp(normalised, 0.0, 1.0) : 0.0;
  if (v == mValue) return;
  mValue = v;
  SetDirtyRegion();
}

void IControl::Hide(bool hide) {
  if (mHidden == hide) return;
  mHidden = hide;
  if (mUI != nullptr) mUI->OnControlStateChanged(*this);
  SetDirtyRegion();
}

void IControl::SetDisabled(bool disable) {
  if (mDisabled == disable) return;
  mDisabled = disable;
  if (mUI != nullptr) mUI->OnControlStateChanged(*this);
  SetDirtyRegion();
}

void IControl::SetDirty(bool triggerAction) {
  SetDirtyRegion();
  if (!triggerAction) return;
  if (mParamIdx >= 0 && mUI != nullptr) mUI->SendParameterValueFromUI(*this);
  if (mAction) mAction(this);
}

void IControl::SetDirtyRegion() {
  if (mUI != nullptr) mUI->Invalidate(GetDrawRECT());
}

void IControl::SetValueFromUserInput(double v) {
  SetValue(SnapToParam(v));
  SetDirty(true);
}

double IControl::SnapToParam(double v) const {
  const double clamped = std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
  const iplug::IParam* param = GetParam();
  if (param == nullptr || !param->IsStepped()) return clamped;
  return param->ToNormalized(param->FromNormalized(clamped));
}

const FontRegistry& IControl::Fonts() const { return mUI->Fonts(); }

void IControl::StartAnimation(double durationMs) {
  if (mUI == nullptr || durationMs <= 0.0) return;
  mAnimationStart = mUI->NowMs();
  mAnimationDuration = durationMs;
  mAnimationProgress = 0.0;
  mUI->StartAnimating(*this);
  SetDirtyRegion();
}

double IControl::GetAnimationProgress() const { return IsAnimating() ? mAnimationProgress : 0.0; }

bool IControl::Animate(double nowMs) {
  if (!IsAnimating()) return false;
  mAnimationProgress = std::clamp((nowMs - mAnimationStart) / mAnimationDuration, 0.0, 1.0);
  SetDirtyRegion();
  if (mAnimationProgress < 1.0) return true;
  mAnimationDuration = 0.0;
  mAnimationProgress = 0.0;
  if (mAnimationEndAction) mAnimationEndAction(this);
  return false;
}

}  // namespace igraphics
