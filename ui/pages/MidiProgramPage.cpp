// The MIDI program map page: a picture of the controller, the program number
// it sends and, beside it, the pedal program that number selects.

#include <memory>

#include "model/ControlTags.h"
#include "model/Parameters.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/pages/MainPageStyles.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/SettingsPages.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {

void BuildMidiProgramPage(PageContext& ctx) {
  AddSettingsBackground(ctx, kGroupMidiProgram);
  PageTransitions& transitions = ctx.transitions;
  AddGreyButton(ctx, {1040, 250, 1160, 300}, "BACK", kSettingsButtonLabelSize, kGroupMidiProgram,
                [&transitions] { transitions.Run(PageEvent::BackFromMidiProgramPage); });
  AddPageImage(ctx, "midilynxet.png", 850, 330, kGroupMidiProgram);
  const igraphics::WidgetStyle& base = PageWidgetStyles().base;
  ctx.ui.AddControl(std::make_unique<igraphics::IVNumberBoxControl>(
                        igraphics::Rect{900, 500, 1050, 550}, kParamControllerProgram, nullptr,
                        "Ctrl. Program (0-127)", base),
                    igraphics::kNoTag, kGroupMidiProgram);
  ctx.ui.AddControl(std::make_unique<igraphics::IVNumberBoxControl>(
                        igraphics::Rect{1150, 500, 1300, 550}, kParamRxa3Program, nullptr,
                        "KR-7 Program (0-127)", base),
                    igraphics::kNoTag, kGroupMidiProgram);
}

}  // namespace kr7::pages
