#pragma once
// The shared value bubble: a small label showing a value near a control.

#include <string>

#include "ui/IControl.h"

namespace igraphics {

class IBubbleControl : public IControl {
 public:
  explicit IBubbleControl(const TextStyle& style);
  // Shows text above anchor, or below it when there is no room above.
  void Show(const Rect& anchor, std::string_view text);
  void Dismiss();
  const std::string& GetText() const { return mText; }
  void Draw(cairo_t* cr) override;

 private:
  TextStyle mStyle;
  std::string mText;
};

}  // namespace igraphics
