#include "ui/ITextControl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {

ITextControl::ITextControl(const Rect& bounds, std::string_view text, const TextStyle& style, Colour background)
    : ITextControl(bounds, kNoParameter, text, style, background) {}

ITextControl::ITextControl(const Rect& bounds, int paramIdx, std::string_view text, const TextStyle& style,
                           Colour background)
    : IControl(bounds, paramIdx), mStr(text), mText(style), mBackground(background) {
  SetIgnoreMouse(true);
}

void ITextControl::SetStr(std::string_view text) {
  if (text == mStr) return;
  mStr = std::string(text);
  InvalidateLayer();
}

void ITextControl::SetStrFmt(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  SetStr(buffer);
}

void ITextControl::SetTextStyle(const TextStyle& style) {
  mText = style;
  InvalidateLayer();
}

void ITextControl::SetTextColour(Colour colour) {
  if (colour == mText.TextColour) return;
  mText.TextColour = colour;
  InvalidateLayer();
}

void ITextControl::SetBackgroundColour(Colour colour) {
  if (colour == mBackground) return;
  mBackground = colour;
  InvalidateLayer();
}

Rect ITextControl::GetDrawRECT() const { return GetRECT().Union(mTextBounds); }

void ITextControl::OnAttached() {
  IControl::OnAttached();
  InvalidateLayer();
}

void ITextControl::InvalidateLayer() {
  // The old text's area is repainted as well as the new one's.
  SetDirtyRegion();
  mLayer.Invalidate();
  mTextBounds = GetRECT();
  if (GetUI() != nullptr && !mStr.empty()) {
    const Rect& r = GetRECT();
    const float overX = std::max(0.f, MeasureText(Fonts(), mText, mStr) - r.W());
    const float overY = std::max(0.f, mText.Size * 1.3f - r.H());
    mTextBounds = {r.L - overX, r.T - overY, r.R + overX, r.B + overY};
  }
  SetDirtyRegion();
}

void ITextControl::Draw(cairo_t* cr) {
  const Colour colour = CurrentTextColour();
  if (!(colour == mLayerColour)) {
    mLayer.Invalidate();
    mLayerColour = colour;
  }
  mLayer.Paint(cr, GetDrawRECT(), [&](cairo_t* layer) {
    FillRect(layer, GetRECT(), mBackground);
    DrawText(layer, Fonts(), mText, TextRect(), mStr, colour);
  });
}

}  // namespace igraphics
