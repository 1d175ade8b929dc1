#pragma once
// Every move between pages. Pages are groups on one surface, so a transition
// shows, hides, enables or disables whole groups and asks the device link
// for what goes with it (pausing connection probing, requesting a block).
// Where the device link already switches the groups itself (firmware page,
// global settings, RECONNECT) the table leaves them to it, so each group
// change has one home.
//
// Showing a page twice leaves it shown once; a group without members and a
// tag without a control are ignored. Window thread only.

#include <string_view>

#include "editor/WindowUnits.h"
#include "ui/IGraphics.h"

namespace kr7::pages {

enum class PageEvent {
  OpenFirmwarePage,       // menu "Firmware Update..."
  CloseFirmwarePage,      // the firmware page's "X"
  OpenGlobalSettings,     // menu command for the global settings
  CloseGlobalSettings,    // "X" or the strip below the settings image
  OpenMidiProgramPage,    // SETUP beside MIDI MAPPING
  OpenMidiCcPage,         // SETUP beside MIDI CC MODE
  BackFromMidiProgramPage,
  BackFromMidiCcPage,
  OpenAbout,              // menu "About"
  CloseAbout,             // any click on the about page
  Reconnect,              // RECONNECT
};

class PageTransitions {
 public:
  PageTransitions(igraphics::IGraphics& ui, const WindowUnits& units) : mUi(ui), mUnits(units) {}

  void Run(PageEvent event);

  // Group operations shared by the transitions and the page builders.
  void ShowGroup(std::string_view group, bool shown);
  void EnableGroup(std::string_view group, bool enabled);

 private:
  igraphics::IGraphics& mUi;
  WindowUnits mUnits;
};

}  // namespace kr7::pages
