#include "ui/IKnobControlBase.h"

#include <algorithm>
#include <cmath>

#include "ui/IGraphics.h"

namespace igraphics {

namespace {
constexpr double kValuePictures = 1 << 24;
}  // namespace

double DragValue(double value, float movement, float length, double gearing, bool fine) {
  if (!(length > 0.f) || !(gearing > 0.0)) return value;
  const double g = fine ? gearing * kFineGearingFactor : gearing;
  return std::clamp(value + static_cast<double>(movement) / static_cast<double>(length) / g, 0.0, 1.0);
}

double WheelValue(const iplug::IParam* param, double value, float d, bool fine) {
  if (d == 0.f || !std::isfinite(d)) return value;
  if (param != nullptr && param->IsStepped() && param->GetRange() > 0.0) {
    // Whole notches; a partial notch still moves one step its way.
    const double whole = std::round(static_cast<double>(d));
    const double notches = d > 0.f ? std::max(1.0, whole) : std::min(-1.0, whole);
    return param->ToNormalized(param->FromNormalized(value) + notches * param->GetStep());
  }
  return std::clamp(value + d * (fine ? kFineWheelStep : kWheelStep), 0.0, 1.0);
}

IKnobControlBase::IKnobControlBase(const Rect& bounds, int paramIdx, EDirection direction, double gearing)
    : IControl(bounds, paramIdx), mDirection(direction), mGearing(gearing) {}

float IKnobControlBase::DragLength() const {
  return mDirection == EDirection::Vertical ? GetRECT().H() : GetRECT().W();
}

void IKnobControlBase::OnMouseDown(float, float, const IMouseMod&) {
  mDragging = true;
  mDragValue = GetValue();
  if (HidesCursor() && GetUI() != nullptr) GetUI()->HideCursor(true);
  SetDirtyRegion();
}

void IKnobControlBase::OnMouseUp(float, float, const IMouseMod&) {
  mDragging = false;
  SetDirtyRegion();
}

void IKnobControlBase::OnMouseDrag(float, float, float dX, float dY, const IMouseMod& mod) {
  if (!mDragging) return;
  // Screen y grows downwards; moving up turns the value up.
  const float movement = mDirection == EDirection::Vertical ? -dY : dX;
  mDragValue = DragValue(mDragValue, movement, DragLength(), mGearing, mod.Fine());
  const double snapped = SnapToParam(mDragValue);
  if (snapped == GetValue()) return;
  SetValueFromUserInput(snapped);
}

void IKnobControlBase::OnMouseWheel(float, float, const IMouseMod& mod, float d) {
  const double v = WheelValue(GetParam(), GetValue(), d, mod.Fine());
  if (v != GetValue()) SetValueFromUserInput(v);
}

void IKnobControlBase::OnMouseDblClick(float, float, const IMouseMod&) {
  const iplug::IParam* param = GetParam();
  if (param == nullptr) return;
  SetValueFromUserInput(param->ToNormalized(param->GetDefault()));
}

int IKnobControlBase::ValuePicture() const {
  return static_cast<int>(std::lround(GetValue() * kValuePictures));
}

}  // namespace igraphics
