// The MIDI control-change page: the number assigned to each of the pedal's
// eight controls, in a number box right of the control's name, and BACK.

#include <array>
#include <memory>

#include "model/ControlTags.h"
#include "model/Parameters.h"
#include "ui/ITextControl.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/pages/MainPageStyles.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/SettingsPages.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

using igraphics::Rect;

constexpr std::array<const char*, kNumControllerMap> kControlNames = {
    "DRIVE", "LOW", "MID", "HIGH", "REVERB", "GATE", "FILTER", "LEVEL"};
constexpr Rect kBoxColumn{1100, 350, 1220, 750};
constexpr Rect kNameColumn{860, 350, 1080, 750};
constexpr float kCellPadding = -3.f;

Rect Cell(const Rect& column, int i) {
  return column.GetGridCell(i, kNumControllerMap, 1).GetPadded(kCellPadding);
}

}  // namespace

void BuildMidiCcPage(PageContext& ctx) {
  AddSettingsBackground(ctx, kGroupMidiCc);
  for (int i = 0; i < kNumControllerMap; ++i) {
    ctx.ui.AddControl(
        std::make_unique<igraphics::IVNumberBoxControl>(
            Cell(kBoxColumn, i), kParamControllerMap0 + i, nullptr, "", PageWidgetStyles().base),
        igraphics::kNoTag, kGroupMidiCc);
  }
  const igraphics::TextStyle label(30.f, igraphics::kColourWhite, "Roboto-Regular",
                                   igraphics::EAlign::Far, igraphics::EVAlign::Middle);
  for (int i = 0; i < kNumControllerMap; ++i) {
    ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(
                          Cell(kNameColumn, i), kControlNames[static_cast<std::size_t>(i)], label),
                      igraphics::kNoTag, kGroupMidiCc);
  }
  PageTransitions& transitions = ctx.transitions;
  AddGreyButton(ctx, {1040, 250, 1160, 300}, "BACK", kSettingsButtonLabelSize, kGroupMidiCc,
                [&transitions] { transitions.Run(PageEvent::BackFromMidiCcPage); });
}

}  // namespace kr7::pages
