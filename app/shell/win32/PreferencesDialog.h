#pragma once
// The modal "Preferences" dialog (resource 40002): the group "MIDI Device
// Settings" with the "Input Device" and "Output Device" lists, "Find Pedal"
// when a pedal search is possible, and the buttons OK, Apply and Cancel.
// What each does is PreferencesSession's; this only shows it.

#include <windows.h>

#include "app/shell/PedalDetection.h"
#include "app/shell/Preferences.h"

namespace kr7::shell {

// Runs the dialog over owner until the user closes it. Returns true for OK.
bool RunPreferencesDialog(HWND owner, PreferencesSession& session, const PreferencesHost& host,
                          PedalDetection* detection);

}  // namespace kr7::shell
