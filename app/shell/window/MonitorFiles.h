#pragma once
// "Save..." and "Open..." of a MIDI monitor window on every system: the
// list's own file handling through the system's dialogs over the window.

#include <optional>

#include "app/shell/MonitorList.h"
#include "app/shell/window/Dialogs.h"

namespace kr7::shell {

// Writes the list into a text file the user chooses; a failed write is told.
void SaveMonitorList(NativeWindow owner, const MonitorList& list);
// A saved list the user chooses; nothing when cancelled or refused (which is
// told).
std::optional<MonitorLog> OpenMonitorList(NativeWindow owner);

}  // namespace kr7::shell
