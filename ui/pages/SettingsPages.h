#pragma once
// What the global settings page and the two MIDI pages share: the image they
// lie on and the label size of their grey buttons.

#include <string_view>

#include "ui/pages/PageParts.h"

namespace kr7::pages {

inline constexpr float kSettingsButtonLabelSize = 20.f;

// "globalbg.png" at the top left, 1080 high: the strip below it is left to
// the page (a closing area) or to the main page beneath.
inline igraphics::IBitmapControl* AddSettingsBackground(PageContext& ctx, std::string_view group) {
  return AddPageImage(ctx, "globalbg.png", 0.f, 0.f, group);
}

}  // namespace kr7::pages
