#pragma once
// The square handle in the bottom-right corner that rescales the surface.

#include "ui/IControl.h"

namespace igraphics {

class ICornerResizerControl : public IControl {
 public:
  // size is in window pixels, so the handle stays easy to grab at any scale.
  ICornerResizerControl(float size, Colour colour, Colour mouseOverColour, Colour dragColour);

  void OnAttached() override;
  void OnRescale() override;
  void Draw(cairo_t* cr) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;

  // The scale that puts the window's bottom-right corner under a pointer at
  // window pixel (px, py), when the drag started at (startX, startY) with startScale.
  static float ScaleForDrag(float startScale, float startX, float startY, float px, float py);

 private:
  void Place();

  float mSize;
  Colour mColour;
  Colour mMouseOverColour;
  Colour mDragColour;
  bool mDragging = false;
  float mStartScale = 1.f;
  float mStartX = 0.f;
  float mStartY = 0.f;
};

}  // namespace igraphics
