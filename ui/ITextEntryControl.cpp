#include "ui/ITextEntryControl.h"

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {
namespace {
constexpr float kEntryPadding = 3.f;
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

ITextEntryControl::ITextEntryControl() : IControl(Rect{}) { Hide(true); }

void ITextEntryControl::Open(IControl& caller, const TextStyle& style, const Rect& bounds, std::string_view text) {
  if (IsOpen()) Commit();
  mCaller = &caller;
  mStyle = style;
  mText = std::string(text.substr(0, kMaxTextEntryLength));
  mCaret = mText.size();
  SetRECT(bounds);
  Hide(false);
}

void ITextEntryControl::Commit() { Close(true); }
void ITextEntryControl::Cancel() { Close(false); }

void ITextEntryControl::Close(bool accepted) {
  if (!IsOpen()) return;
  IControl* caller = mCaller;
  mCaller = nullptr;
  Hide(true);
  caller->OnTextEntryCompletion(mText, accepted);
}

std::size_t ITextEntryControl::PrevCharStart(std::size_t pos) const {
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && IsContinuationByte(mText[pos])) --pos;
  return pos;
}

std::size_t ITextEntryControl::NextCharStart(std::size_t pos) const {
  if (pos >= mText.size()) return mText.size();
  ++pos;
  while (pos < mText.size() && IsContinuationByte(mText[pos])) ++pos;
  return pos;
}

bool ITextEntryControl::OnKey(const IKeyPress& key) {
  if (!IsOpen()) return false;
  switch (key.Key) {
    case EKey::kReturn: Commit(); return true;
    case EKey::kEscape: Cancel(); return true;
    case EKey::kLeft: mCaret = PrevCharStart(mCaret); break;
    case EKey::kRight: mCaret = NextCharStart(mCaret); break;
    case EKey::kHome: mCaret = 0; break;
    case EKey::kEnd: mCaret = mText.size(); break;
    case EKey::kBackspace: {
      const std::size_t from = PrevCharStart(mCaret);
      mText.erase(from, mCaret - from);
      mCaret = from;
      break;
    }
    case EKey::kDelete: mText.erase(mCaret, NextCharStart(mCaret) - mCaret); break;
    case EKey::kNone: {
      // Control characters never enter a one-line text.
      std::string typed;
      for (char c : key.Utf8) if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) typed += c;
      if (mText.size() + typed.size() > kMaxTextEntryLength) return true;
      mText.insert(mCaret, typed);
      mCaret += typed.size();
      break;
    }
    default: return true;
  }
  SetDirtyRegion();
  return true;
}

void ITextEntryControl::OnMouseDown(float, float, const IMouseMod&) {
  mCaret = mText.size();
  SetDirtyRegion();
}

void ITextEntryControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  FillRect(cr, r, mStyle.EntryBackground);
  const TextStyle style = mStyle.WithAlign(EAlign::Near).WithVAlign(EVAlign::Middle);
  const Rect inner = r.GetPadded(-kEntryPadding);
  cairo_save(cr);
  cairo_rectangle(cr, r.L, r.T, r.W(), r.H());
  cairo_clip(cr);
  // Typed text is never shrunk or cut: the caret follows its real width.
  DrawText(cr, Fonts(), style, inner, mText, mStyle.EntryForeground, false);
  const float caretX = inner.L + MeasureText(cr, Fonts(), style, std::string_view(mText).substr(0, mCaret));
  SetSourceColour(cr, mStyle.EntryForeground);
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, caretX + 0.5, r.MH() - style.Size * 0.5);
  cairo_line_to(cr, caretX + 0.5, r.MH() + style.Size * 0.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace igraphics
