#pragma once
// Dragging, wheel and double-click behaviour shared by knobs and sliders.
//
// A drag accumulates an unsnapped value from the start of the drag; what is
// stored is that value snapped to the bound parameter's steps. Accumulating
// unsnapped is what lets slow drags of a stepped knob still reach the next
// step instead of rounding back every time.

#include "ui/IControl.h"

namespace igraphics {

enum class EDirection { Vertical = 0, Horizontal = 1 };

// Gearing is multiplied by this while Shift or Ctrl is held.
inline constexpr double kFineGearingFactor = 10.0;
inline constexpr double kWheelStep = 0.01;
inline constexpr double kFineWheelStep = 0.001;

// Value after a drag of `movement` units (positive = up or right) over a drag
// area `length` units long with gearing g: value + movement / length / g,
// clamped to 0..1. A zero or negative length leaves the value.
double DragValue(double value, float movement, float length, double gearing, bool fine);

// Value after d wheel notches: 0.01 per notch (0.001 fine); a stepped
// parameter moves exactly one step per notch.
double WheelValue(const iplug::IParam* param, double value, float d, bool fine);

class IKnobControlBase : public IControl {
 public:
  IKnobControlBase(const Rect& bounds, int paramIdx, EDirection direction, double gearing);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
  // Resets the bound parameter to its default.
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;

  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }
  bool IsDragging() const { return mDragging; }
  // The length a drag runs over for the full range.
  virtual float DragLength() const;

 protected:
  // Whether the cursor hides while dragging.
  virtual bool HidesCursor() const { return false; }
  // The static picture of a knob whose whole picture turns with the value;
  // values closer than one part in 2^24 look alike.
  int ValuePicture() const;

 private:
  EDirection mDirection;
  double mGearing;
  double mDragValue = 0.0;
  bool mDragging = false;
};

}  // namespace igraphics
