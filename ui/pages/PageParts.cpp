#include "ui/pages/PageParts.h"

#include <memory>

#include "ui/pages/PageBuilders.h"

namespace kr7::pages {

ClickArea::ClickArea(const igraphics::Rect& bounds, std::function<void()> onPress)
    : IControl(bounds), mOnPress(std::move(onPress)) {}

void ClickArea::OnMouseDown(float, float, const igraphics::IMouseMod&) {
  if (mOnPress) mOnPress();
}

igraphics::IBitmapControl* AddPageImage(PageContext& ctx, std::string_view fileName, float x, float y,
                                        std::string_view group, int tag) {
  const igraphics::IBitmap image = ctx.ui.LoadImageResource(fileName);
  return ctx.ui.AddControl(std::make_unique<igraphics::IBitmapControl>(x, y, image), tag, group);
}

ClickArea* AddClosingArea(PageContext& ctx, const igraphics::Rect& bounds, std::string_view group,
                          std::function<void()> onPress) {
  return ctx.ui.AddControl(std::make_unique<ClickArea>(bounds, std::move(onPress)), igraphics::kNoTag, group);
}

void BuildTransferShield(PageContext& ctx) {
  ctx.refs.transferShield = ctx.ui.AddControl(std::make_unique<ClickArea>(ctx.ui.GetBounds()));
  ctx.refs.transferShield->Hide(true);
}

}  // namespace kr7::pages
