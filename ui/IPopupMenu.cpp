#include "ui/IPopupMenu.h"

#include <algorithm>

#include "ui/DrawText.h"
#include "ui/IGraphics.h"

namespace igraphics {
namespace {
constexpr float kItemPadding = 8.f;
constexpr Colour kMenuBackground{255, 48, 48, 48};
constexpr Colour kMenuHighlight{255, 90, 90, 90};
constexpr Colour kMenuDisabledText{255, 128, 128, 128};
constexpr Colour kMenuFrame{255, 20, 20, 20};
}  // namespace

void IPopupMenu::AddItem(std::string_view text, bool enabled, bool checked) {
  mItems.push_back({std::string(text), enabled, checked});
}

const IPopupMenu::Item& IPopupMenu::GetItem(int index) const {
  static const Item kNone{{}, false, false};
  if (index < 0 || index >= NItems()) return kNone;
  return mItems[static_cast<std::size_t>(index)];
}

IPopupMenuControl::IPopupMenuControl(const TextStyle& style, const Rect& area)
    : IControl(Rect{}), mStyle(style), mArea(area) {
  Hide(true);
}

void IPopupMenuControl::Open(IControl& caller, const IPopupMenu& menu, const Rect& anchor) {
  if (menu.NItems() == 0 || GetUI() == nullptr) return;
  if (IsOpen()) Choose(-1);
  mMenu = menu;
  mCaller = &caller;
  mHighlighted = -1;
  float width = anchor.W();
  for (int i = 0; i < menu.NItems(); ++i) {
    width = std::max(width, MeasureText(Fonts(), mStyle, menu.GetItem(i).Text) + 2.f * kItemPadding);
  }
  const float height = ItemHeight() * static_cast<float>(menu.NItems());
  const Rect area = mArea.Empty() ? GetUI()->GetBounds() : mArea;
  // Below the anchor when it fits, otherwise shifted up (and left) into the area.
  float left = std::min(anchor.L, area.R - width);
  float top = anchor.B + height <= area.B ? anchor.B : area.B - height;
  left = std::max(left, area.L);
  top = std::max(top, area.T);
  SetRECT({left, top, left + width, top + height});
  Hide(false);
}

Rect IPopupMenuControl::GetItemRect(int index) const {
  const Rect& r = GetRECT();
  const float h = ItemHeight();
  return {r.L, r.T + h * static_cast<float>(index), r.R, r.T + h * static_cast<float>(index + 1)};
}

int IPopupMenuControl::ItemAt(float x, float y) const {
  if (!GetRECT().Contains(x, y)) return -1;
  const int index = static_cast<int>((y - GetRECT().T) / ItemHeight());
  return std::clamp(index, 0, mMenu.NItems() - 1);
}

void IPopupMenuControl::Choose(int index) {
  if (!IsOpen()) return;
  IControl* caller = mCaller;
  mCaller = nullptr;
  Hide(true);
  const bool valid = index >= 0 && index < mMenu.NItems() && mMenu.GetItem(index).Enabled;
  caller->OnPopupMenuSelection(valid ? index : -1);
}

bool IPopupMenuControl::OnKey(const IKeyPress& key) {
  if (!IsOpen()) return false;
  const int n = mMenu.NItems();
  switch (key.Key) {
    case EKey::kUp: mHighlighted = mHighlighted <= 0 ? n - 1 : mHighlighted - 1; break;
    case EKey::kDown: mHighlighted = (mHighlighted + 1) % n; break;
    case EKey::kReturn: Choose(mHighlighted); return true;
    case EKey::kEscape: Choose(-1); return true;
    default: return true;
  }
  SetDirtyRegion();
  return true;
}

void IPopupMenuControl::OnMouseDown(float x, float y, const IMouseMod&) { Choose(ItemAt(x, y)); }

void IPopupMenuControl::OnMouseOver(float x, float y, const IMouseMod&) {
  const int index = ItemAt(x, y);
  if (index == mHighlighted) return;
  mHighlighted = index;
  SetDirtyRegion();
}

void IPopupMenuControl::Draw(cairo_t* cr) {
  const Rect& r = GetRECT();
  FillRect(cr, r, kMenuBackground);
  const TextStyle style = mStyle.WithAlign(EAlign::Near).WithVAlign(EVAlign::Middle);
  for (int i = 0; i < mMenu.NItems(); ++i) {
    const Rect item = GetItemRect(i);
    const auto& entry = mMenu.GetItem(i);
    if (i == mHighlighted && entry.Enabled) FillRect(cr, item, kMenuHighlight);
    const Colour colour = entry.Enabled ? style.TextColour : kMenuDisabledText;
    DrawText(cr, Fonts(), style, item.GetPadded(-kItemPadding * 0.5f), entry.Checked ? "\u2713 " + entry.Text : entry.Text,
             colour);
  }
  SetSourceColour(cr, kMenuFrame);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, r.L + 0.5, r.T + 0.5, r.W() - 1.0, r.H() - 1.0);
  cairo_stroke(cr);
}

}  // namespace igraphics
