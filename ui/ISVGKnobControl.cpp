#include "ui/ISVGKnobControl.h"

#include <numbers>

namespace igraphics {

ISVGKnobControl::ISVGKnobControl(const Rect& bounds, const ISVG& svg, int paramIdx)
    : IKnobControlBase(bounds, paramIdx, EDirection::Vertical, kGearing), mSVG(svg) {}

void ISVGKnobControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  cairo_save(cr);
  cairo_translate(cr, r.MW(), r.MH());
  cairo_rotate(cr, Angle() * std::numbers::pi / 180.0);
  cairo_translate(cr, -r.MW(), -r.MH());
  mSVG.Draw(cr, r);
  cairo_restore(cr);
}

}  // namespace igraphics
