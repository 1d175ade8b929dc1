#pragma once
// The modal "Preferences" dialog: the group "MIDI Device Settings" with the
// "Input Device" and "Output Device" lists and the buttons OK, Apply and
// Cancel, and "Find Pedal" when a pedal search is possible. What each does is PreferencesSession's; this only draws it.

#include <gtk/gtk.h>

#include "app/shell/PedalDetection.h"
#include "app/shell/Preferences.h"

namespace kr7::shell {

// Runs the dialog over parent until the user closes it. Returns true for OK.
// With a detection the group also offers "Find Pedal".
bool RunPreferencesDialog(GtkWindow* parent, PreferencesSession& session,
                          const PreferencesHost& host, PedalDetection* detection);

}  // namespace kr7::shell
