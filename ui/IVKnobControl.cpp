#include "ui/IVKnobControl.h"

#include <algorithm>
#include <cmath>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"
#include "ui/IVectorBase.h"

namespace igraphics {
namespace {
constexpr double kTrackEndAngle = 135.0;
constexpr double kHaloWidthFactor = 1.7;
constexpr double kPointerStart = 0.1;
constexpr double kPointerWidth = 2.5;
constexpr double kRadiusFactor = 0.9;
}  // namespace

IVKnobControl::IVKnobControl(const Rect& bounds, int paramIdx, std::string_view label, const WidgetStyle& style,
                             bool, bool, float startAngle, float endAngle, float anchorAngle, EDirection direction,
                             double gearing, float trackSize)
    : IKnobControlBase(bounds, paramIdx, direction, gearing),
      mLabel(label),
      mStyle(style),
      mStartAngle(startAngle),
      mEndAngle(endAngle),
      mAnchorAngle(anchorAngle),
      mTrackSize(trackSize) {}

float IVKnobControl::DragLength() const {
  const Rect& r = GetRECT();
  return r.H() >= r.W() ? r.W() * 0.5f : r.H();
}

float IVKnobControl::Radius() const {
  const Rect& r = GetRECT();
  return (std::min(r.W(), r.H()) * 0.5f - mTrackSize * 0.5f) * static_cast<float>(kRadiusFactor);
}

void IVKnobControl::DrawTrack(cairo_t* cr) const {
  const Rect& r = GetRECT();
  ArcPath(cr, r.MW(), r.MH(), Radius(), mAnchorAngle, kTrackEndAngle);
  SetSourceColour(cr, mStyle.GetColour(kX2));
  cairo_set_line_width(cr, mTrackSize);
  cairo_stroke(cr);
}

void IVKnobControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const double cx = r.MW();
  const double cy = r.MH();
  const double radius = Radius();
  if (radius <= 0.0) return;
  mTrackLayer.Paint(cr, r, [this](cairo_t* layer) { DrawTrack(layer); });

  const double angle = ValueAngle();
  const Colour valueColour = mStyle.GetColour(kX1);
  ArcPath(cr, cx, cy, radius, mAnchorAngle, angle);
  SetSourceColour(cr, DarkerShade(valueColour));
  cairo_set_line_width(cr, mTrackSize * kHaloWidthFactor);
  cairo_stroke(cr);
  ArcPath(cr, cx, cy, radius, mAnchorAngle, angle);
  SetSourceColour(cr, valueColour);
  cairo_set_line_width(cr, mTrackSize);
  cairo_stroke(cr);

  const double a = KnobAngleToRadians(angle);
  cairo_move_to(cr, cx + std::cos(a) * radius * kPointerStart, cy + std::sin(a) * radius * kPointerStart);
  cairo_line_to(cr, cx + std::cos(a) * radius, cy + std::sin(a) * radius);
  SetSourceColour(cr, mStyle.GetColour(kFR));
  cairo_set_line_width(cr, kPointerWidth);
  cairo_stroke(cr);

  if (mStyle.ShowLabel && !mLabel.empty()) {
    DrawText(cr, Fonts(), mStyle.LabelText, {r.L, r.T, r.R, r.T + mStyle.LabelText.Size}, mLabel);
  }
  if (mStyle.ShowValue) {
    if (const iplug::IParam* param = GetParam()) {
      const std::string text = param->DisplayTextForValue(param->FromNormalized(GetValue()));
      DrawText(cr, Fonts(), mStyle.ValueText, {r.L, r.B - mStyle.ValueText.Size, r.R, r.B}, text);
    }
  }
}

}  // namespace igraphics
