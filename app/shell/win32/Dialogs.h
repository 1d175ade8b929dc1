#pragma once
// Modal dialogs and shell hand-offs of the Windows host: message boxes, the
// common file dialogs and opening documents or links with their default
// handler.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "model/EditorView.h"

namespace kr7::shell {

// A message box titled by MessageBoxTitle. OK only: the box informs and
// the call returns true at once; the box appears from the message loop, and
// boxes given while one is on screen wait and appear one at a time, in the
// order given. The caller (often a timer) never waits for the user, and a
// timer never runs inside itself. OK and Cancel: the call waits for the
// answer and returns true for OK; the box's own loop keeps dispatching, so
// the editor's timers go on meanwhile.
bool ShowMessageBox(HWND owner, std::string_view text, bool okCancel,
                    std::string_view caption = {});

// The common Open or Save dialog, filtered by the request's extension.
std::optional<std::string> ChooseFile(HWND owner, const FileRequest& request);

// Opens a local file with the default application of its type.
bool OpenWithDefaultApplication(const std::string& path);

// Opens a web address, only while the system reports a connection.
bool OpenLinkWhenOnline(std::string_view url);

}  // namespace kr7::shell
