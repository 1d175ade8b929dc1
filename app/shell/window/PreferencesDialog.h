#pragma once
// The modal "Preferences" dialog: the group "MIDI Device Settings" with the
// "Input Device" and "Output Device" lists and the buttons OK, Apply and
// Cancel. What each does is PreferencesSession's; this only draws it.

#include <gtk/gtk.h>

#include "app/shell/Preferences.h"

namespace kr7::shell {

// Runs the dialog over parent until the user closes it. Returns true for OK.
bool RunPreferencesDialog(GtkWindow* parent, PreferencesSession& session,
                          const PreferencesHost& host);

}  // namespace kr7::shell
