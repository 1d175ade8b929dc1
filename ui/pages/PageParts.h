#pragma once
// The pieces that give a page its click rules.
//
// A page image takes every click it covers, so the controls of the main page
// beneath it stay out of reach; where a page image is shorter than the
// window ("globalbg.png" and "fwbg.png" are 1080 high) clicks below it reach
// the main page, unless the page adds a closing area there. The about page's
// image covers the whole window and closes the page on any click.

#include <functional>
#include <string_view>

#include "ui/IBitmapControls.h"
#include "ui/pages/Pages.h"

namespace kr7::pages {

// An invisible rectangle that takes the clicks on it and runs an action on
// the press (none for a plain shield).
class ClickArea final : public igraphics::IControl {
 public:
  explicit ClickArea(const igraphics::Rect& bounds, std::function<void()> onPress = nullptr);
  void Draw(cairo_t*) override {}
  void OnMouseDown(float x, float y, const igraphics::IMouseMod& mod) override;

 private:
  std::function<void()> mOnPress;
};

// The page's background image at (x, y), taking the clicks it covers.
igraphics::IBitmapControl* AddPageImage(PageContext& ctx, std::string_view fileName, float x, float y,
                                        std::string_view group, int tag = igraphics::kNoTag);

// A closing area: the part of the window below or beside a page image whose
// clicks run onPress instead of reaching the main page.
ClickArea* AddClosingArea(PageContext& ctx, const igraphics::Rect& bounds, std::string_view group,
                          std::function<void()> onPress);

}  // namespace kr7::pages
