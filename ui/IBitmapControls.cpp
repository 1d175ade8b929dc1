#include "ui/IBitmapControls.h"

namespace igraphics {
namespace {
Rect FrameRect(float x, float y, const IBitmap& bitmap) {
  return {x, y, x + static_cast<float>(bitmap.FW()), y + static_cast<float>(bitmap.FH())};
}
}  // namespace

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx)
    : IControl(FrameRect(x, y, bitmap), paramIdx), mBitmap(bitmap) {}

void IBitmapControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const Rect frame = r.GetCentredInside(static_cast<float>(mBitmap.FW()), static_cast<float>(mBitmap.FH()));
  DrawBitmapFrame(cr, mBitmap, frame.L, frame.T, CurrentFrame());
}

IBButtonControl::IBButtonControl(float x, float y, const IBitmap& bitmap, IActionFunction action)
    : IBitmapControl(x, y, bitmap) {
  SetActionFunction(std::move(action));
}

void IBButtonControl::OnMouseDown(float, float, const IMouseMod&) { SetDirty(true); }
void IBButtonControl::OnMouseUp(float, float, const IMouseMod&) { SetDirty(true); }

IBKnobRotaterControl::IBKnobRotaterControl(const Rect& bounds, const IBitmap& bitmap, int paramIdx)
    : IKnobControlBase(bounds.GetCentredInside(static_cast<float>(bitmap.FW()), static_cast<float>(bitmap.FH())),
                       paramIdx, EDirection::Vertical, kGearing),
      mBitmap(bitmap) {}

void IBKnobRotaterControl::Draw(cairo_t* cr) {
  DrawRotatedBitmap(cr, mBitmap, GetRECT().MW(), GetRECT().MH(), Angle());
}

IBSliderControl::IBSliderControl(const Rect& bounds, const IBitmap& handle, const IBitmap& track, int paramIdx,
                                 EDirection direction, double gearing)
    : IKnobControlBase(bounds, paramIdx, direction, gearing), mHandle(handle), mTrack(track), mDirection(direction) {}

float IBSliderControl::DragLength() const {
  const Rect& r = GetRECT();
  return mDirection == EDirection::Vertical ? r.H() - static_cast<float>(mHandle.FH())
                                            : r.W() - static_cast<float>(mHandle.FW());
}

Rect IBSliderControl::HandleRect() const {
  const Rect& r = GetRECT();
  const auto w = static_cast<float>(mHandle.FW());
  const auto h = static_cast<float>(mHandle.FH());
  const auto travel = static_cast<float>(GetValue()) * DragLength();
  if (mDirection == EDirection::Vertical) {
    const float top = r.B - h - travel;
    return {r.MW() - w * 0.5f, top, r.MW() + w * 0.5f, top + h};
  }
  const float left = r.L + travel;
  return {left, r.MH() - h * 0.5f, left + w, r.MH() + h * 0.5f};
}

void IBSliderControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  DrawBitmapFrame(cr, mTrack, r.L, r.T, 1);
  const Rect handle = HandleRect();
  DrawBitmapFrame(cr, mHandle, handle.L, handle.T, 1);
}

}  // namespace igraphics
