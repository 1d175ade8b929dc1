#include "ui/pages/Pages.h"

#include "ui/pages/PageBuilders.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

// The stacking order of the window: each page covers those before it.
constexpr PageBuilder kPageBuilders[] = {
    BuildMainPage,
    BuildTransferShield,
    BuildFirmwarePage,
    BuildUserIrBrowser,
    BuildAboutPage,
    BuildProgressOverlays,
};

// Hidden at start: every page over the main page and every block group but
// the impulse-response block.
constexpr const char* kHiddenAtStart[] = {
    "analogsimcontrols",     "gatecontrols",         "dynamicscontrols",       "compcontrols",
    "expcontrols",           "ambiencecontrols",     "ambiencecontrols2",      "drivecontrols",
    "buzzfiltercontrols",    "punchfiltercontrols",  "crunchfiltercontrols",   "lowfiltercontrols",
    "midfiltercontrols",     "highfiltercontrols",   "preampcontrols",         "levelcontrols",
    "autofiltercontrols",    "fwbgcontrols",         "fwupdatecontrols",       "firmwarecontrols",
    "customircontrols",      "globalsettingscontrols", "midicccontrols",       "midiprogramcontrols",
    "aboutcontrols",         "progresscontrols",     "factorypresetcontrols",
};

}  // namespace

bool BuildPages(PageContext& ctx, float scale) {
  if (ctx.ui.ControlCount() > 0) return false;
  for (PageBuilder build : kPageBuilders) build(ctx);

  for (const char* group : kHiddenAtStart) ctx.transitions.ShowGroup(group, false);
  ctx.transitions.ShowGroup("ircontrols", true);
  ctx.transitions.EnableGroup("bcontrols", false);

  ctx.ui.SetDesignSize(kDesignWidth, kDesignHeight, scale);
  return true;
}

}  // namespace kr7::pages
