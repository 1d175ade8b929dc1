#include "ui/IEditableTextControl.h"

#include "ui/IGraphics.h"

namespace igraphics {

IEditableTextControl::IEditableTextControl(const Rect& bounds, std::string_view text, const TextStyle& style)
    : ITextControl(bounds, text, style, kColourTransparent) {
  SetIgnoreMouse(false);
}

void IEditableTextControl::OnMouseDown(float, float, const IMouseMod&) {
  if (GetUI() != nullptr) GetUI()->CreateTextEntry(*this, GetTextStyle(), GetRECT(), GetStr());
}

void IEditableTextControl::OnTextEntryCompletion(std::string_view text, bool accepted) {
  if (!accepted) return;
  SetStr(text);
  SetDirty(true);
}

}  // namespace igraphics
