#include "ui/IVectorBase.h"

#include <algorithm>
#include <numbers>

#include "ui/DrawText.h"

namespace igraphics {

double KnobAngleToRadians(double degrees) { return (degrees - 90.0) * std::numbers::pi / 180.0; }

void ArcPath(cairo_t* cr, double cx, double cy, double radius, double a1, double a2) {
  cairo_new_sub_path(cr);
  if (a2 >= a1) {
    cairo_arc(cr, cx, cy, radius, KnobAngleToRadians(a1), KnobAngleToRadians(a2));
  } else {
    cairo_arc_negative(cr, cx, cy, radius, KnobAngleToRadians(a1), KnobAngleToRadians(a2));
  }
}

Colour DarkerShade(Colour c) {
  return {127, std::max(0, c.R - 127), std::max(0, c.G - 127), std::max(0, c.B - 127)};
}

float CornerRadius(const WidgetStyle& style, const Rect& r) {
  return std::clamp(style.Roundness, 0.f, 1.f) * std::min(r.W(), r.H()) * 0.5f;
}

void DrawWidgetFace(cairo_t* cr, const WidgetStyle& style, const Rect& r, bool pressed, bool mouseOver) {
  const float radius = CornerRadius(style, r);
  if (style.DrawShadows && !pressed && style.ShadowOffset > 0.f) {
    const Rect shadow{r.L + style.ShadowOffset, r.T + style.ShadowOffset, r.R + style.ShadowOffset,
                      r.B + style.ShadowOffset};
    RoundedRectPath(cr, shadow, radius);
    SetSourceColour(cr, style.GetColour(kSH));
    cairo_fill(cr);
  }
  RoundedRectPath(cr, r, radius);
  SetSourceColour(cr, pressed ? style.GetColour(kPR) : style.GetColour(kFG));
  cairo_fill(cr);
  if (mouseOver) {
    RoundedRectPath(cr, r, radius);
    SetSourceColour(cr, style.GetColour(kHL));
    cairo_fill(cr);
  }
  if (style.Emboss) {
    // Light from the top left: a thin light rim on top, a dark one below.
    const float half = std::max(1.f, style.FrameThickness);
    const Rect top{r.L + half, r.T + half, r.R - half, r.MH()};
    RoundedRectPath(cr, top, std::max(0.f, radius - half));
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, pressed ? 0.05 : 0.12);
    cairo_fill(cr);
  }
  if (style.DrawFrame && style.FrameThickness > 0.f) {
    const float inset = style.FrameThickness * 0.5f;
    RoundedRectPath(cr, r.GetPadded(-inset), std::max(0.f, radius - inset));
    SetSourceColour(cr, style.GetColour(kFR));
    cairo_set_line_width(cr, style.FrameThickness);
    cairo_stroke(cr);
  }
}

}  // namespace igraphics
