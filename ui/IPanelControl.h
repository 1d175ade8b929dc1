#pragma once
// A filled rectangle that ignores the mouse.

#include "ui/IControl.h"

namespace igraphics {

class IPanelControl : public IControl {
 public:
  IPanelControl(const Rect& bounds, Colour colour);
  void Draw(cairo_t* cr) override;
  int StaticPicture() const override { return 0; }
  Colour GetColour() const { return mColour; }

 private:
  Colour mColour;
};

}  // namespace igraphics
