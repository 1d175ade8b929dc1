#pragma once
// A vector image rotated about the rectangle's centre by -135 + 270 x value degrees.

#include "ui/IKnobControlBase.h"
#include "ui/ISVG.h"

namespace igraphics {

class ISVGKnobControl : public IKnobControlBase {
 public:
  static constexpr double kGearing = 4.0;
  ISVGKnobControl(const Rect& bounds, const ISVG& svg, int paramIdx);
  void Draw(cairo_t* cr) override;
  int StaticPicture() const override { return ValuePicture(); }
  double Angle() const { return -135.0 + 270.0 * GetValue(); }

 private:
  ISVG mSVG;
};

}  // namespace igraphics
