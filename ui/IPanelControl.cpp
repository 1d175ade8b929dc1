#include "ui/IPanelControl.h"

#include "ui/DrawText.h"

namespace igraphics {

IPanelControl::IPanelControl(const Rect& bounds, Colour colour) : IControl(bounds), mColour(colour) {
  SetIgnoreMouse(true);
}

void IPanelControl::Draw(cairo_t* cr) { FillRect(cr, GetRECT(), mColour); }

}  // namespace igraphics
