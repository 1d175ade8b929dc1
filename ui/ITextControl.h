#pragma once
// Text on a background colour. Text displays ignore the mouse so that clicks
// fall through to what lies beneath; the editable, caption and link kinds
// below take it again.

#include <string>
#include <string_view>

#include "ui/IControl.h"
#include "ui/LayerCache.h"

namespace igraphics {

class ITextControl : public IControl {
 public:
  ITextControl(const Rect& bounds, std::string_view text, const TextStyle& style = {},
               Colour background = kColourTransparent);

  const std::string& GetStr() const { return mStr; }
  // Redraws only when the text differs.
  void SetStr(std::string_view text);
  // printf-style; the result is cut to 255 characters like the editor's buffers.
  void SetStrFmt(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void ClearStr() { SetStr({}); }
  const TextStyle& GetTextStyle() const { return mText; }
  void SetTextStyle(const TextStyle& style);
  void SetTextColour(Colour colour);
  Colour GetBackgroundColour() const { return mBackground; }
  void SetBackgroundColour(Colour colour);

  // Where the text is placed: the rectangle, less what the control draws
  // beside the text.
  virtual Rect TextRect() const { return GetRECT(); }

  void Draw(cairo_t* cr) override;
  Rect GetDrawRECT() const override;
  void OnAttached() override;
  void OnResize() override { InvalidateLayer(); }

 protected:
  // For text-bearing controls bound to a parameter.
  ITextControl(const Rect& bounds, int paramIdx, std::string_view text, const TextStyle& style, Colour background);
  // The text colour the control draws in now (links change it on hover).
  virtual Colour CurrentTextColour() const { return mText.TextColour; }
  void InvalidateLayer();

 private:
  std::string mStr;
  TextStyle mText;
  Colour mBackground;
  LayerCache mLayer;
  Colour mLayerColour;
  Rect mTextBounds;  // the rectangle grown by however far the text overflows it
};

}  // namespace igraphics
