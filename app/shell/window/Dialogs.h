#pragma once
// The modal dialogs and desktop hand-offs each system's shell supplies
// (gtk/ and win32/ define them): message boxes, the file chooser, the
// preferences dialog, and opening documents or links with their default
// handler. Declared once, over the system's window handle, so that the
// window code both shells share can ask for them.

#include <optional>
#include <string>
#include <string_view>

#include "model/EditorView.h"

#ifdef _WIN32
struct HWND__;
#else
struct _GtkWindow;
#endif

namespace kr7 {
class PreferencesHost;
class PreferencesSession;
class PedalDetection;
}  // namespace kr7

namespace kr7::shell {

// The system's top-level window: HWND on Windows, GtkWindow* elsewhere.
#ifdef _WIN32
using NativeWindow = HWND__*;
#else
using NativeWindow = _GtkWindow*;
#endif

// A message box titled by MessageBoxTitle. OK only: the box informs and the
// call returns true at once; boxes given while one is on screen wait and
// appear one at a time, in the order given, each when the one before it is
// dismissed. The caller (often a timer) never waits for the user, and on
// Windows, where the box appears from the message loop, a timer never runs
// inside itself. OK and Cancel: the call waits for the answer and returns
// true for OK; the loop keeps running meanwhile, so the editor's timers go
// on.
bool ShowMessageBox(NativeWindow owner, std::string_view text, bool okCancel,
                    std::string_view caption = {});

// The system's Open or Save dialog, filtered by the request's extension;
// nothing when the user cancelled.
std::optional<std::string> ChooseFile(NativeWindow owner, const FileRequest& request);

// Runs the preferences dialog over owner until the user closes it. Returns
// true for OK. With a detection the group also offers "Find Pedal". What
// each button does is PreferencesSession's; the dialog only draws it.
bool RunPreferencesDialog(NativeWindow owner, PreferencesSession& session,
                          const PreferencesHost& host, PedalDetection* detection);

// The text in a top-level window's title bar.
void SetWindowTitle(NativeWindow window, std::string_view title);

// Opens a local file with the default application of its type.
bool OpenWithDefaultApplication(const std::string& path);

// Opens a web address, only while the system reports a connection.
bool OpenLinkWhenOnline(std::string_view url);

}  // namespace kr7::shell
