#pragma once
// A transparent rectangle that turns pointer events into a position: the
// value is (pointer y - top) / height. It records the kind of the last event,
// the direction of a drag or wheel movement and the modifier state, so the
// parameter handling can tell a click from a drag or a wheel turn.

#include "ui/IControl.h"
#include "ui/LeavesPresses.h"

namespace igraphics {

enum class ESelectEvent { Down = 0, Up = 1, Drag = 2, DoubleClick = 3, Wheel = 4 };
enum class ESelectModifier { None = 0, Shift = 1, Ctrl = 2 };

class IInvisibleSelectControl3 : public IControl, public LeavesPresses {
 public:
  IInvisibleSelectControl3(const Rect& bounds, int paramIdx);

  void Draw(cairo_t*) override {}
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  // A wheel event with zero movement is ignored.
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
  bool IsHit(float x, float y) const override { return !LeftTo(x, y) && IControl::IsHit(x, y); }

  ESelectEvent LastEvent() const { return mEvent; }
  // True when the last drag (downwards on screen) or wheel movement was positive.
  bool Direction() const { return mDirection; }
  ESelectModifier Modifier() const { return mModifier; }
  // The position of pointer y as a fraction of the height, clamped to 0..1.
  double PositionFor(float y) const;

 private:
  void Record(ESelectEvent event, float y, bool direction, const IMouseMod& mod);

  ESelectEvent mEvent = ESelectEvent::Down;
  bool mDirection = false;
  ESelectModifier mModifier = ESelectModifier::None;
};

}  // namespace igraphics
