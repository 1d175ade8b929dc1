#pragma once
// A button face with its label. Its click action plays the press animation;
// the application's behaviour is the animation-end action, which runs once
// the animation has finished.

#include <string>

#include "ui/IControl.h"

namespace igraphics {

inline constexpr double kPressAnimationMs = 100.0;

// The toolkit's click action: the short press animation.
void SplashClickActionFunc(IControl* caller);

enum class EVShape { Rectangle = 0, Ellipse = 1 };

class IVButtonControl : public IControl {
 public:
  IVButtonControl(const Rect& bounds, IActionFunction clickAction = SplashClickActionFunc,
                  std::string_view label = {}, const WidgetStyle& style = {}, bool labelInButton = true,
                  bool valueInButton = false, EVShape shape = EVShape::Rectangle);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void Draw(cairo_t* cr) override;
  const std::string& GetLabel() const { return mLabel; }
  void SetLabel(std::string_view label);

 private:
  std::string mLabel;
  WidgetStyle mStyle;
  EVShape mShape;
};

}  // namespace igraphics
