#pragma once
// A track with a handle at the end for the current state and the value text
// inside the handle. A click steps to the next state (0 -> 1 -> 0 for two).

#include <string>

#include "ui/IControl.h"

namespace igraphics {

class IVSlideSwitchControl : public IControl {
 public:
  IVSlideSwitchControl(const Rect& bounds, int paramIdx, std::string_view label, const WidgetStyle& style,
                       bool valueInButton = true, int direction = 1);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void Draw(cairo_t* cr) override;
  // Number of states: the bound parameter's steps, else two.
  int NumStates() const;
  int State() const;
  // The normalised value of the state after the current one.
  double NextValue() const;
  Rect HandleRect() const;

 private:
  std::string mLabel;
  WidgetStyle mStyle;
  bool mValueInButton;
  bool mHorizontal;
};

}  // namespace igraphics
