#include "ui/IBubbleControl.h"

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {
namespace {
constexpr float kBubblePadding = 6.f;
constexpr float kBubbleGap = 4.f;
constexpr Colour kBubbleFill{230, 30, 30, 30};
}  // namespace

IBubbleControl::IBubbleControl(const TextStyle& style) : IControl(Rect{}), mStyle(style) {
  Hide(true);
  SetIgnoreMouse(true);
}

void IBubbleControl::Show(const Rect& anchor, std::string_view text) {
  if (GetUI() == nullptr) return;
  mText = std::string(text);
  const float w = MeasureText(Fonts(), mStyle, mText) + 2.f * kBubblePadding;
  const float h = mStyle.Size + 2.f * kBubblePadding;
  const float left = anchor.MW() - w * 0.5f;
  const float top = anchor.T - h - kBubbleGap >= 0.f ? anchor.T - h - kBubbleGap : anchor.B + kBubbleGap;
  SetRECT({left, top, left + w, top + h});
  Hide(false);
}

void IBubbleControl::Dismiss() { Hide(true); }

void IBubbleControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  RoundedRectPath(cr, r, kBubblePadding);
  SetSourceColour(cr, kBubbleFill);
  cairo_fill(cr);
  DrawText(cr, Fonts(), mStyle.WithAlign(EAlign::Centre).WithVAlign(EVAlign::Middle), r, mText);
}

}  // namespace igraphics
