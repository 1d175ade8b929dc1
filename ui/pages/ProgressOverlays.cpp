#include <memory>

#include "model/ControlTags.h"
#include "model/UserTexts.h"
#include "ui/IPanelControl.h"
#include "ui/ITextControl.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"

namespace kr7::pages {
namespace {

using igraphics::Rect;

struct ProgressOverlay {
  std::string_view group;
  std::string_view title;
  std::string_view ringLabel;
  int titleTag;
  int ringTag;
  int percentageTag;
};

// The transfers fill the ring and the percentage by these tags.
constexpr ProgressOverlay kOverlays[] = {
    {kGroupPresetProgress, kPresetProgressTitle, "PRESET", kTagPresetProgressTitle,
     kTagPresetProgressRing, kTagPresetProgressText},
    {kGroupFactoryProgress, kFactoryProgressTitle, "PRESET", kTagFactoryProgressTitle,
     kTagFactoryProgressRing, kTagFactoryProgressText},
};

constexpr Rect kPanel{850, 400, 1250, 800};
constexpr Rect kTitle{850, 400, 1250, 470};
constexpr Rect kRing{950, 500, 1150, 700};
constexpr Rect kCancel{990, 725, 1110, 775};
constexpr igraphics::Colour kPanelColour{208, 32, 32, 32};
constexpr float kCancelLabelSize = 22.f;

}  // namespace

void BuildProgressOverlays(PageContext& ctx) {
  const OverlayTextStyles& styles = OverlayStyles();
  for (const ProgressOverlay& overlay : kOverlays) {
    ctx.ui.AddControl(std::make_unique<igraphics::IPanelControl>(kPanel, kPanelColour),
                      igraphics::kNoTag, overlay.group);
    ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(kTitle, overlay.title, styles.title),
                      overlay.titleTag, overlay.group);
    AddProgressRing(ctx, kRing, overlay.ringLabel, overlay.ringTag, overlay.group);
    // Centred on the panel, which puts it in the middle of the ring.
    ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(kPanel, "0 %", styles.percentage),
                      overlay.percentageTag, overlay.group);
  }
  // The preset overlay also shows the fetch and impulse-response transfers,
  // which have no Cancel: its button has a group of its own.
  StreamController& streams = ctx.units.streams;
  for (std::string_view group : {kGroupTransferCancel, kGroupFactoryProgress}) {
    AddGreyButton(ctx, kCancel, "CANCEL", kCancelLabelSize, group, [&streams] { streams.CancelTransfer(); });
  }
}

}  // namespace kr7::pages
