#include <memory>

#include "ui/IURLControl.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/PageParts.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

using igraphics::Rect;

constexpr const char* kBackgroundGroup = "fwbgcontrols";
constexpr const char* kUpdateGroup = "fwupdatecontrols";
constexpr const char* kProgressGroup = "firmwarecontrols";
constexpr int kTagBackground = 145;
constexpr int kTagPercentage = 139;
constexpr int kTagRing = 140;

constexpr const char* kDownloadText = "www.norvane.example/kr7";
constexpr const char* kDownloadAddress = "https://www.norvane.example/kr7/downloads";
constexpr igraphics::Colour kLinkActiveColour{255, 116, 116, 116};

}  // namespace

void BuildFirmwarePage(PageContext& ctx) {
  AddPageImage(ctx, "fwbg.png", 0.f, 0.f, kBackgroundGroup, kTagBackground);
  KR7Control& control = ctx.control;
  AddGreyButton(ctx, Rect{1000, 650, 1200, 715}, "UPDATE FIRMWARE", 18.f, kUpdateGroup,
                [&control] { control.Streams().Firmware().ChooseImage(); });
  const OverlayTextStyles& styles = OverlayStyles();
  // Opens only while the desktop reports a connection; then it keeps the
  // clicked colour.
  ctx.ui.AddControl(std::make_unique<igraphics::IURLControl>(
                        Rect{748, 346, 948, 376}, kDownloadText, kDownloadAddress, styles.link,
                        igraphics::kColourTransparent, kLinkActiveColour, kLinkActiveColour),
                    igraphics::kNoTag, kUpdateGroup);
  PageTransitions& transitions = ctx.transitions;
  AddGreyButton(ctx, Rect{1508, 310, 1563, 350}, "X", 30.f, kUpdateGroup,
                [&transitions] { transitions.Run(PageEvent::CloseFirmwarePage); });

  AddProgressRing(ctx, Rect{1010, 710, 1185, 885}, "PERCENT", kTagRing, kProgressGroup);
  ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(Rect{1010, 705, 1185, 880}, "0 %",
                                                              styles.firmwarePercentage),
                    kTagPercentage, kProgressGroup);
}

}  // namespace kr7::pages
