#include "ui/IVSliderControl.h"

#include <algorithm>

#include "ui/DrawText.h"
#include "ui/IVectorBase.h"

namespace igraphics {

IVSliderControl::IVSliderControl(const Rect& bounds, int paramIdx, std::string_view label, const WidgetStyle& style,
                                 bool, EDirection direction, double gearing, float handleSize, float trackSize)
    : IKnobControlBase(bounds, paramIdx, direction, gearing),
      mLabel(label),
      mStyle(style),
      mDirection(direction),
      mHandleSize(handleSize),
      mTrackSize(trackSize) {}

float IVSliderControl::DragLength() const {
  const Rect& r = GetRECT();
  return (mDirection == EDirection::Vertical ? r.H() : r.W()) - mHandleSize;
}

Rect IVSliderControl::HandleRect() const {
  const Rect& r = GetRECT();
  const float travel = static_cast<float>(GetValue()) * std::max(0.f, DragLength());
  if (mDirection == EDirection::Vertical) {
    const float top = r.B - mHandleSize - travel;
    return {r.L, top, r.R, top + mHandleSize};
  }
  return {r.L + travel, r.T, r.L + travel + mHandleSize, r.B};
}

void IVSliderControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const Rect track = mDirection == EDirection::Vertical
                         ? Rect{r.MW() - mTrackSize * 0.5f, r.T, r.MW() + mTrackSize * 0.5f, r.B}
                         : Rect{r.L, r.MH() - mTrackSize * 0.5f, r.R, r.MH() + mTrackSize * 0.5f};
  FillRect(cr, r, mStyle.GetColour(kBG));
  RoundedRectPath(cr, track, mTrackSize * 0.5f);
  SetSourceColour(cr, mStyle.GetColour(kSH));
  cairo_fill(cr);
  DrawWidgetFace(cr, mStyle, HandleRect(), IsDragging(), GetMouseIsOver());
  if (mStyle.ShowLabel && !mLabel.empty()) {
    DrawText(cr, Fonts(), mStyle.LabelText, {r.L, r.T, r.R, r.T + mStyle.LabelText.Size}, mLabel);
  }
}

}  // namespace igraphics
