#pragma once
// The platform services that the window's host provides to the toolkit.
//
// The toolkit never opens a window, dialog or browser itself; a GTK shell, a
// headless test host or a future port implements this interface. All calls
// come on the window's thread; the modal ones block until the user answers.

#include <string>
#include <string_view>

#include "ui/IGraphicsTypes.h"

namespace igraphics {

struct FileDialogResult {
  std::string Path;    // chosen full path; empty when cancelled
  std::string Folder;  // folder of the chosen file
};

class IGraphicsHost {
 public:
  virtual ~IGraphicsHost() = default;

  virtual EMsgBoxResult ShowMessage(std::string_view text, std::string_view caption,
                                    EMsgBoxType buttons) = 0;
  virtual FileDialogResult AskForFile(std::string_view initialName, std::string_view initialFolder,
                                      EFileAction action, std::string_view extension) = 0;
  // Opens the address with the system's default application when the system
  // reports an internet connection; returns whether it was opened.
  virtual bool OpenLink(std::string_view address) = 0;

  // The drawing scale changed; the window should become width x height pixels.
  virtual void OnScaleChanged(int widthPixels, int heightPixels) = 0;
  // Something became dirty; the host should schedule a redraw.
  virtual void RequestRedraw() = 0;
  virtual void HideCursor(bool hide) = 0;
};

}  // namespace igraphics
