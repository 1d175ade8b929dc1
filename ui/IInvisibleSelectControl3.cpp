#include "ui/IInvisibleSelectControl3.h"

#include <algorithm>

namespace igraphics {

IInvisibleSelectControl3::IInvisibleSelectControl3(const Rect& bounds, int paramIdx) : IControl(bounds, paramIdx) {}

double IInvisibleSelectControl3::PositionFor(float y) const {
  const Rect& r = GetRECT();
  if (!(r.H() > 0.f)) return 0.0;
  // A drag may leave the rectangle; the position stays inside the list.
  return std::clamp(static_cast<double>(y - r.T) / r.H(), 0.0, 1.0);
}

void IInvisibleSelectControl3::Record(ESelectEvent event, float y, bool direction, const IMouseMod& mod) {
  mEvent = event;
  mDirection = direction;
  mModifier = mod.S ? ESelectModifier::Shift : (mod.C ? ESelectModifier::Ctrl : ESelectModifier::None);
  // The value is set even when unchanged: the event kind is the news.
  SetValue(PositionFor(y));
  SetDirty(true);
}

void IInvisibleSelectControl3::OnMouseDown(float, float y, const IMouseMod& mod) {
  Record(ESelectEvent::Down, y, false, mod);
}

void IInvisibleSelectControl3::OnMouseUp(float, float y, const IMouseMod& mod) {
  Record(ESelectEvent::Up, y, false, mod);
}

void IInvisibleSelectControl3::OnMouseDrag(float, float y, float, float dY, const IMouseMod& mod) {
  Record(ESelectEvent::Drag, y, dY > 0.f, mod);
}

void IInvisibleSelectControl3::OnMouseDblClick(float, float y, const IMouseMod& mod) {
  Record(ESelectEvent::DoubleClick, y, false, mod);
}

void IInvisibleSelectControl3::OnMouseWheel(float, float y, const IMouseMod& mod, float d) {
  if (d == 0.f) return;
  Record(ESelectEvent::Wheel, y, d > 0.f, mod);
}

}  // namespace igraphics
