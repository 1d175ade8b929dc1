#pragma once
// A link: its text in the normal colour, the mouse-over colour while hovered
// and the clicked colour once it has opened its address.

#include <string>

#include "ui/ITextControl.h"

namespace igraphics {

class IURLControl : public ITextControl {
 public:
  IURLControl(const Rect& bounds, std::string_view text, std::string_view address, const TextStyle& style,
              Colour background, Colour mouseOverColour, Colour clickedColour);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  bool WasClicked() const { return mClicked; }
  const std::string& GetAddress() const { return mAddress; }

 protected:
  Colour CurrentTextColour() const override;

 private:
  std::string mAddress;
  Colour mMouseOverColour;
  Colour mClickedColour;
  bool mClicked = false;
};

}  // namespace igraphics
