#include <memory>

#include "model/ControlTags.h"
#include "ui/ITextControl.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/PageParts.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {

void BuildAboutPage(PageContext& ctx) {
  AddPageImage(ctx, "about.png", 0.f, 0.f, kGroupAbout);
  ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(igraphics::Rect{1275, 310, 1375, 360},
                                                              "v" KR7_VERSION,
                                                              OverlayStyles().version),
                    igraphics::kNoTag, kGroupAbout);
  // Over the whole page, the version text included: any click closes it.
  PageTransitions& transitions = ctx.transitions;
  AddClosingArea(ctx, ctx.ui.GetBounds(), kGroupAbout,
                 [&transitions] { transitions.Run(PageEvent::CloseAbout); });
}

}  // namespace kr7::pages
