#include "ui/IURLControl.h"

#include "ui/IGraphics.h"

namespace igraphics {

IURLControl::IURLControl(const Rect& bounds, std::string_view text, std::string_view address, const TextStyle& style,
                         Colour background, Colour mouseOverColour, Colour clickedColour)
    : ITextControl(bounds, text, style, background),
      mAddress(address),
      mMouseOverColour(mouseOverColour),
      mClickedColour(clickedColour) {
  SetIgnoreMouse(false);
}

void IURLControl::OnMouseDown(float, float, const IMouseMod&) {
  // Without a connection nothing opens, and the link keeps its colour.
  if (GetUI() == nullptr || !GetUI()->OpenLink(mAddress)) return;
  mClicked = true;
  SetDirtyRegion();
}


Colour IURLControl::CurrentTextColour() const {
  if (GetMouseIsOver()) return mMouseOverColour;
  if (mClicked) return mClickedColour;
  return GetTextStyle().TextColour;
}

}  // namespace igraphics
