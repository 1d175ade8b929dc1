#include "ui/IVSlideSwitchControl.h"

#include <algorithm>
#include <cmath>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"
#include "ui/IVectorBase.h"

namespace igraphics {
namespace {
// Caps the states of a switch bound to a wide parameter by mistake.
constexpr int kMaxStates = 128;
}  // namespace

IVSlideSwitchControl::IVSlideSwitchControl(const Rect& bounds, int paramIdx, std::string_view label,
                                           const WidgetStyle& style, bool valueInButton, int direction)
    : IControl(bounds, paramIdx), mLabel(label), mStyle(style), mValueInButton(valueInButton),
      mHorizontal(direction == 1) {}

int IVSlideSwitchControl::NumStates() const {
  const iplug::IParam* param = GetParam();
  if (param == nullptr || param->GetStep() <= 0.0 || param->GetRange() <= 0.0) return 2;
  const double states = std::round(param->GetRange() / param->GetStep()) + 1.0;
  return static_cast<int>(std::clamp(states, 2.0, static_cast<double>(kMaxStates)));
}

int IVSlideSwitchControl::State() const {
  return static_cast<int>(std::lround(GetValue() * (NumStates() - 1)));
}

double IVSlideSwitchControl::NextValue() const {
  const int n = NumStates();
  return static_cast<double>((State() + 1) % n) / (n - 1);
}

void IVSlideSwitchControl::OnMouseDown(float, float, const IMouseMod&) { SetValueFromUserInput(NextValue()); }

Rect IVSlideSwitchControl::HandleRect() const {
  const Rect& r = GetRECT();
  const int n = NumStates();
  if (mHorizontal) {
    const float w = r.W() / static_cast<float>(n);
    return {r.L + w * static_cast<float>(State()), r.T, r.L + w * static_cast<float>(State() + 1), r.B};
  }
  // Vertical switches count from the bottom, like sliders.
  const float h = r.H() / static_cast<float>(n);
  return {r.L, r.B - h * static_cast<float>(State() + 1), r.R, r.B - h * static_cast<float>(State())};
}

void IVSlideSwitchControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const float radius = CornerRadius(mStyle, r);
  RoundedRectPath(cr, r, radius);
  SetSourceColour(cr, mStyle.GetColour(kSH));
  cairo_fill(cr);
  const Rect handle = HandleRect();
  WidgetStyle handleStyle = mStyle;
  handleStyle.DrawShadows = false;
  DrawWidgetFace(cr, handleStyle, handle, false, GetMouseIsOver());
  if (mValueInButton) {
    if (const iplug::IParam* param = GetParam()) {
      DrawText(cr, Fonts(), mStyle.ValueText, handle, param->DisplayTextForValue(param->FromNormalized(GetValue())));
    }
  }
  if (mStyle.ShowLabel && !mLabel.empty()) {
    DrawText(cr, Fonts(), mStyle.LabelText, {r.L, r.T - mStyle.LabelText.Size, r.R, r.T}, mLabel);
  }
}

}  // namespace igraphics
