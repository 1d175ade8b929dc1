#pragma once
// Controls drawn from bitmaps: a frame display, a two-frame button, a
// rotating knob and a slider with a handle image.

#include "ui/IBitmap.h"
#include "ui/IKnobControlBase.h"

namespace igraphics {

// Shows the frame chosen by the value, at (x, y) with the frame's size.
class IBitmapControl : public IControl {
 public:
  IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter);
  void Draw(cairo_t* cr) override;
  int StaticPicture() const override { return CurrentFrame(); }
  const IBitmap& GetBitmap() const { return mBitmap; }
  int CurrentFrame() const { return FrameForValue(mBitmap.N(), GetValue()); }

 private:
  IBitmap mBitmap;
};

// Frame 1 for value 0, frame 2 for value 1. Mouse-down and mouse-up each only
// call the action; the application sets the value.
class IBButtonControl : public IBitmapControl {
 public:
  IBButtonControl(float x, float y, const IBitmap& bitmap, IActionFunction action);
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
};

// A one-frame image rotated by value x 300 - 150 degrees about its centre; the
// frame centred in the given rectangle becomes the control's rectangle.
class IBKnobRotaterControl : public IKnobControlBase {
 public:
  static constexpr double kGearing = 4.0;
  IBKnobRotaterControl(const Rect& bounds, const IBitmap& bitmap, int paramIdx);
  void Draw(cairo_t* cr) override;
  int StaticPicture() const override { return ValuePicture(); }
  double Angle() const { return GetValue() * 300.0 - 150.0; }

 private:
  IBitmap mBitmap;
};

// A track image with a handle image positioned along it by the value.
class IBSliderControl : public IKnobControlBase {
 public:
  IBSliderControl(const Rect& bounds, const IBitmap& handle, const IBitmap& track, int paramIdx,
                  EDirection direction = EDirection::Vertical, double gearing = 4.0);
  void Draw(cairo_t* cr) override;
  float DragLength() const override;
  // The handle's rectangle for the current value.
  Rect HandleRect() const;

 private:
  IBitmap mHandle;
  IBitmap mTrack;
  EDirection mDirection;
};

}  // namespace igraphics
