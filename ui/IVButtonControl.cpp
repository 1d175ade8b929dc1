#include "ui/IVButtonControl.h"

#include <algorithm>
#include <numbers>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"
#include "ui/IVectorBase.h"

namespace igraphics {

void SplashClickActionFunc(IControl* caller) {
  if (caller != nullptr) caller->StartAnimation(kPressAnimationMs);
}

IVButtonControl::IVButtonControl(const Rect& bounds, IActionFunction clickAction, std::string_view label,
                                 const WidgetStyle& style, bool, bool, EVShape shape)
    : IControl(bounds, kNoParameter, std::move(clickAction)), mLabel(label), mStyle(style), mShape(shape) {}

void IVButtonControl::SetLabel(std::string_view label) {
  if (label == mLabel) return;
  mLabel = std::string(label);
  SetDirtyRegion();
}

void IVButtonControl::OnMouseDown(float, float, const IMouseMod&) {
  SetValue(1.0);
  SetDirty(true);
}

void IVButtonControl::OnMouseUp(float, float, const IMouseMod&) { SetValue(0.0); }

void IVButtonControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const bool pressed = GetValue() > 0.5 || IsAnimating();
  if (mShape == EVShape::Ellipse) {
    cairo_save(cr);
    cairo_translate(cr, r.MW(), r.MH());
    cairo_scale(cr, r.W() * 0.5, r.H() * 0.5);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(cr);
    SetSourceColour(cr, pressed ? mStyle.GetColour(kPR) : mStyle.GetColour(kFG));
    cairo_fill(cr);
  } else {
    DrawWidgetFace(cr, mStyle, r, pressed, GetMouseIsOver());
  }
  if (IsAnimating()) {
    // The press shows as a highlight that fades over the animation.
    const double fade = 1.0 - GetAnimationProgress();
    const Colour hl = mStyle.GetColour(kHL);
    RoundedRectPath(cr, r, CornerRadius(mStyle, r));
    cairo_set_source_rgba(cr, hl.R / 255.0, hl.G / 255.0, hl.B / 255.0, hl.A / 255.0 * fade);
    cairo_fill(cr);
  }
  if (mStyle.ShowLabel && !mLabel.empty()) DrawText(cr, Fonts(), mStyle.LabelText, r, mLabel);
}

}  // namespace igraphics
