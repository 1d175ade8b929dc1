#pragma once
// A number field with its label above it. A vertical drag changes the number
// by the drag distance (a tenth with Shift or Ctrl); a double-click opens the
// text editor. Bound to a parameter, the parameter's own range and step apply;
// the built-in range is used only without one.

#include <string>

#include "ui/IControl.h"

namespace igraphics {

class IVNumberBoxControl : public IControl {
 public:
  IVNumberBoxControl(const Rect& bounds, int paramIdx, IActionFunction action = nullptr, std::string_view label = {},
                     const WidgetStyle& style = {}, bool buttons = false, double defaultValue = 50.0,
                     double minValue = 1.0, double maxValue = 100.0, std::string_view format = "%0.0f");

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnTextEntryCompletion(std::string_view text, bool accepted) override;
  void Draw(cairo_t* cr) override;

  // The number shown, in the range that applies.
  double GetRealValue() const;
  std::string DisplayText() const;
  Rect FieldRect() const;
  double RangeMin() const;
  double RangeMax() const;

 private:
  // Stores a number of the range (rounded to the parameter's step) as the value.
  void SetRealValueFromUser(double real);

  std::string mLabel;
  WidgetStyle mStyle;
  double mMin;
  double mMax;
  std::string mFormat;
  double mDragReal = 0.0;
  bool mDragging = false;
};

}  // namespace igraphics
