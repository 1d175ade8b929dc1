#pragma once
// The items of a popup menu, and the shared control that shows one.

#include <string>
#include <string_view>
#include <vector>

#include "ui/IControl.h"

namespace igraphics {

class IPopupMenu {
 public:
  struct Item {
    std::string Text;
    bool Enabled = true;
    bool Checked = false;
  };

  void AddItem(std::string_view text, bool enabled = true, bool checked = false);
  int NItems() const { return static_cast<int>(mItems.size()); }
  // Item index; an index outside the menu yields an empty, disabled item.
  const Item& GetItem(int index) const;

 private:
  std::vector<Item> mItems;
};

// Drawn by the toolkit on top of everything while open. A click on an enabled
// item chooses it, a click anywhere else dismisses the menu; Up, Down, Return
// and Escape work as well.
class IPopupMenuControl : public IControl {
 public:
  // Menus are kept inside area (the whole surface when it is empty).
  IPopupMenuControl(const TextStyle& style, const Rect& area);

  void Open(IControl& caller, const IPopupMenu& menu, const Rect& anchor);
  bool IsOpen() const { return mCaller != nullptr; }
  const IPopupMenu& GetMenu() const { return mMenu; }
  // The rectangle of item index while open.
  Rect GetItemRect(int index) const;
  int GetHighlighted() const { return mHighlighted; }
  // Closes and tells the caller: index -1 dismisses.
  void Choose(int index);
  bool OnKey(const IKeyPress& key);

  void Draw(cairo_t* cr) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;

 private:
  int ItemAt(float x, float y) const;
  float ItemHeight() const { return mStyle.Size * 1.5f; }

  TextStyle mStyle;
  Rect mArea;
  IPopupMenu mMenu;
  IControl* mCaller = nullptr;
  int mHighlighted = -1;
};

}  // namespace igraphics
