#pragma once
// Fonts, text styles and widget styles of the main page; the other pages
// derive theirs from these.

#include "ui/IGraphics.h"

namespace kr7::pages {

// Registers the six embedded fonts under the ids the styles name.
void LoadPageFonts(igraphics::IGraphics& ui);

struct TextStyles {
  igraphics::TextStyle blockTitle, knobCaption, knobValue, knobUnit, presetDigits, presetDigitsShadow, listRow,
      irRow, irGain, name, hint, status, buttonLabel, notice;
};

struct WidgetStyles {
  igraphics::WidgetStyle base, knob, greyButton, notice, scrollBar;
};

const TextStyles& PageTextStyles();
const WidgetStyles& PageWidgetStyles();

}  // namespace kr7::pages
