#include "ui/pages/Pages.h"

#include "model/ControlTags.h"
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
    BuildGlobalSettingsPage,
    BuildMidiCcPage,
    BuildMidiProgramPage,
    BuildAboutPage,
    BuildProgressOverlays,
};

// Hidden at start, besides every block group: the pages over the main page.
constexpr std::string_view kPagesHiddenAtStart[] = {
    kGroupFirmwareBackground, kGroupFirmwareUpdate, kGroupFirmwareProgress, kGroupUserIrBrowser,
    kGroupGlobalSettings,     kGroupMidiCc,         kGroupMidiProgram,      kGroupAbout,
    kGroupPresetProgress,     kGroupFactoryProgress, kGroupTransferCancel,
};

}  // namespace

bool BuildPages(PageContext& ctx, float scale) {
  if (ctx.ui.ControlCount() > 0) return false;
  for (PageBuilder build : kPageBuilders) build(ctx);

  // The editing area starts on the impulse-response block.
  for (std::string_view group : kBlockGroups) ctx.transitions.ShowGroup(group, group == kGroupIr);
  for (std::string_view group : kPagesHiddenAtStart) ctx.transitions.ShowGroup(group, false);
  ctx.transitions.EnableGroup(kGroupPedal, false);

  ctx.ui.SetDesignSize(kDesignWidth, kDesignHeight, scale);
  return true;
}

}  // namespace kr7::pages
