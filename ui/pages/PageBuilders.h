#pragma once
// One builder per page, each in a file of its own named after the page. The
// table kPageBuilders in Pages.cpp calls them in this order; a later page
// covers an earlier one where they overlap, so the order is the stacking
// order of the window:
//
//   BuildMainPage           MainPage.cpp          the pedal, preset list, block editors, graphs
//   BuildTransferShield     PageParts.cpp         input shield over the main page
//   BuildFirmwarePage       FirmwarePage.cpp      "fwbgcontrols", "fwupdatecontrols", "firmwarecontrols"
//   BuildUserIrBrowser      UserIrBrowser.cpp     "customircontrols"
//   BuildGlobalSettingsPage GlobalSettingsPage.cpp "globalsettingscontrols"
//   BuildMidiCcPage         MidiCcPage.cpp        "midicccontrols"
//   BuildMidiProgramPage    MidiProgramPage.cpp   "midiprogramcontrols"
//   BuildAboutPage          AboutPage.cpp         "aboutcontrols"
//   BuildProgressOverlays   ProgressOverlays.cpp  "progresscontrols", "factorypresetcontrols"
//
// A builder adds its controls with their tags and groups and may leave them
// visible: BuildPages hides every page group afterwards. Page images and
// closing areas follow the click rules of PageParts.h.

#include "ui/pages/Pages.h"

namespace kr7::pages {

using PageBuilder = void (*)(PageContext& ctx);

void BuildMainPage(PageContext& ctx);
void BuildTransferShield(PageContext& ctx);
void BuildFirmwarePage(PageContext& ctx);
void BuildUserIrBrowser(PageContext& ctx);
void BuildGlobalSettingsPage(PageContext& ctx);
void BuildMidiCcPage(PageContext& ctx);
void BuildMidiProgramPage(PageContext& ctx);
void BuildAboutPage(PageContext& ctx);
void BuildProgressOverlays(PageContext& ctx);

}  // namespace kr7::pages
