#include "ui/ICornerResizerControl.h"

#include <algorithm>
#include <cmath>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {

ICornerResizerControl::ICornerResizerControl(float size, Colour colour, Colour mouseOverColour, Colour dragColour)
    : IControl(Rect{}), mSize(size), mColour(colour), mMouseOverColour(mouseOverColour), mDragColour(dragColour) {}

void ICornerResizerControl::OnAttached() { Place(); }
void ICornerResizerControl::OnRescale() { Place(); }

void ICornerResizerControl::Place() {
  const IGraphics* ui = GetUI();
  if (ui == nullptr) return;
  const float s = mSize / ui->GetDrawScale();
  const float w = static_cast<float>(ui->Width());
  const float h = static_cast<float>(ui->Height());
  SetRECT({w - s, h - s, w, h});
}

float ICornerResizerControl::ScaleForDrag(float startScale, float startX, float startY, float px, float py) {
  if (startX <= 0.f || startY <= 0.f) return startScale;
  // The larger relative movement wins so that a diagonal drag feels natural.
  const float byX = startScale * px / startX;
  const float byY = startScale * py / startY;
  return std::abs(byX - startScale) >= std::abs(byY - startScale) ? byX : byY;
}

void ICornerResizerControl::OnMouseDown(float x, float y, const IMouseMod&) {
  IGraphics* ui = GetUI();
  if (ui == nullptr) return;
  mDragging = true;
  mStartScale = ui->GetDrawScale();
  // The grab point scales with the surface, so the handle stays under the pointer.
  mStartX = x * mStartScale;
  mStartY = y * mStartScale;
  SetDirtyRegion();
}

void ICornerResizerControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&) {
  IGraphics* ui = GetUI();
  if (ui == nullptr || !mDragging) return;
  const float scale = ui->GetDrawScale();
  ui->SetScale(ScaleForDrag(mStartScale, mStartX, mStartY, x * scale, y * scale));
}

void ICornerResizerControl::OnMouseUp(float, float, const IMouseMod&) {
  mDragging = false;
  SetDirtyRegion();
}

void ICornerResizerControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  const Colour c = mDragging ? mDragColour : (GetMouseIsOver() ? mMouseOverColour : mColour);
  SetSourceColour(cr, c);
  cairo_move_to(cr, r.R, r.T);
  cairo_line_to(cr, r.R, r.B);
  cairo_line_to(cr, r.L, r.B);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace igraphics
