#pragma once
// Pieces the overlays share: their text styles, the progress ring and the
// grey buttons with an action when the press animation ends.

#include <functional>
#include <string_view>

#include "ui/IVButtonControl.h"
#include "ui/IVKnobControl.h"
#include "ui/pages/Pages.h"

namespace kr7::pages {

struct OverlayTextStyles {
  igraphics::TextStyle title, percentage, firmwarePercentage, link, version, browserRow, bankCaption;
};

const OverlayTextStyles& OverlayStyles();

// A ring showing the fraction of a transfer done (no parameter, no input).
igraphics::IVKnobControl* AddProgressRing(PageContext& ctx, const igraphics::Rect& bounds,
                                          std::string_view label, int tag, std::string_view group);

// A button in style whose action runs once its press animation has ended.
igraphics::IVButtonControl* AddButton(PageContext& ctx, const igraphics::Rect& bounds, std::string_view label,
                                      const igraphics::WidgetStyle& style, std::string_view group,
                                      std::function<void()> action);

// AddButton in the grey button style with the label at labelSize.
igraphics::IVButtonControl* AddGreyButton(PageContext& ctx, const igraphics::Rect& bounds,
                                          std::string_view label, float labelSize,
                                          std::string_view group, std::function<void()> action);

}  // namespace kr7::pages
