#pragma once
// Shows a parameter's display text; a click opens the parameter's input: a
// popup menu of its value names, or the text editor when it has none.

#include "ui/IPopupMenu.h"
#include <optional>

#include "ui/ITextControl.h"

namespace igraphics {

class ICaptionControl : public ITextControl {
 public:
  ICaptionControl(const Rect& bounds, int paramIdx, const TextStyle& style, Colour background);

  void OnAttached() override;
  void SetValue(double normalised) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnPopupMenuSelection(int index) override;
  void OnTextEntryCompletion(std::string_view text, bool accepted) override;
  void Draw(cairo_t* cr) override;

  // The menu a click opens: the value names in order, the current one checked.
  IPopupMenu MakeMenu() const;
  // The small downward triangle drawn for enumerated parameters (empty otherwise).
  Rect TriangleRect() const;
  // The text keeps clear of the triangle.
  Rect TextRect() const override;

 private:
  void UpdateText();
};

// Parses a typed number; nullopt when the text is not one.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace igraphics
