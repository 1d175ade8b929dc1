#include <memory>

#include "model/ControlTags.h"
#include "ui/IURLControl.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/PageParts.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

using igraphics::Rect;

constexpr const char* kDownloadText = "www.norvane.example/kr7";
constexpr const char* kDownloadAddress = "https://www.norvane.example/kr7/downloads";
constexpr igraphics::Colour kLinkActiveColour{255, 116, 116, 116};

}  // namespace

void BuildFirmwarePage(PageContext& ctx) {
  AddPageImage(ctx, "fwbg.png", 0.f, 0.f, kGroupFirmwareBackground, kTagFirmwareBackground);
  FirmwareUpdate& firmware = ctx.units.streams.Firmware();
  AddGreyButton(ctx, Rect{1000, 650, 1200, 715}, "UPDATE FIRMWARE", 18.f, kGroupFirmwareUpdate,
                [&firmware] { firmware.ChooseImage(); });
  const OverlayTextStyles& styles = OverlayStyles();
  // Opens only while the desktop reports a connection; then it keeps the
  // clicked colour.
  ctx.ui.AddControl(std::make_unique<igraphics::IURLControl>(
                        Rect{748, 346, 948, 376}, kDownloadText, kDownloadAddress, styles.link,
                        igraphics::kColourTransparent, kLinkActiveColour, kLinkActiveColour),
                    igraphics::kNoTag, kGroupFirmwareUpdate);
  PageTransitions& transitions = ctx.transitions;
  AddGreyButton(ctx, Rect{1508, 310, 1563, 350}, "X", 30.f, kGroupFirmwareUpdate,
                [&transitions] { transitions.Run(PageEvent::CloseFirmwarePage); });

  AddProgressRing(ctx, Rect{1010, 710, 1185, 885}, "PERCENT", kTagFirmwareProgressRing, kGroupFirmwareProgress);
  ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(Rect{1010, 705, 1185, 880}, "0 %",
                                                              styles.firmwarePercentage),
                    kTagFirmwareProgressText, kGroupFirmwareProgress);
}

}  // namespace kr7::pages
