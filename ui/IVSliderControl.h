#pragma once
// A vector slider: a track and a handle in the style's colours; drag and wheel.

#include <string>

#include "ui/IKnobControlBase.h"

namespace igraphics {

class IVSliderControl : public IKnobControlBase {
 public:
  IVSliderControl(const Rect& bounds, int paramIdx, std::string_view label, const WidgetStyle& style,
                  bool valueIsEditable = false, EDirection direction = EDirection::Vertical, double gearing = 1.0,
                  float handleSize = 8.f, float trackSize = 2.f);

  void Draw(cairo_t* cr) override;
  float DragLength() const override;
  Rect HandleRect() const;

 protected:
  bool HidesCursor() const override { return mStyle.HideCursor; }

 private:
  std::string mLabel;
  WidgetStyle mStyle;
  EDirection mDirection;
  float mHandleSize;
  float mTrackSize;
};

}  // namespace igraphics
