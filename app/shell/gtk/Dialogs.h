#pragma once
// Modal dialogs and desktop hand-offs of the GTK host: message boxes, the file
// chooser and opening documents or links with the desktop's default handler.

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

#include "model/EditorView.h"

namespace kr7::shell {

// A message box titled by MessageBoxTitle. OK only: the box informs and
// the call returns true at once; boxes given while one is on screen wait and
// appear one at a time, in the order given, each when the one before it is
// dismissed. The caller (often a timer) never waits for the user. OK and
// Cancel: the call waits for the answer, returns true for OK; the main loop
// keeps running meanwhile, so the editor's timers go on.
bool ShowMessageBox(GtkWindow* parent, std::string_view text, bool okCancel,
                    std::string_view caption = {});

// The desktop's file chooser, filtered by the request's extension.
std::optional<std::string> ChooseFile(GtkWindow* parent, const FileRequest& request);

// Opens a local file with the desktop's default application.
bool OpenWithDefaultApplication(const std::string& path);

// Opens a web address, only while the network monitor reports a connection.
bool OpenLinkWhenOnline(std::string_view url);

}  // namespace kr7::shell
