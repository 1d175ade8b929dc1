#pragma once
// The toolkit's AskForFile on top of a platform's file chooser: the request
// it makes and the chosen path with its folder, cut at the platform's last
// path separator.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/EditorView.h"
#include "ui/IGraphicsHost.h"

namespace kr7 {

// The platform's Open or Save dialog; nothing when the user cancelled.
using FileChooser = std::function<std::optional<std::string>(const FileRequest& request)>;

#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

inline std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of(kPathSeparators);
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

inline igraphics::FileDialogResult AskWithChooser(std::string_view initialName,
                                                  std::string_view initialFolder,
                                                  igraphics::EFileAction action,
                                                  std::string_view extension,
                                                  const FileChooser& choose) {
  FileRequest request;
  request.save = action == igraphics::EFileAction::Save;
  request.extension = extension;
  request.initialName = initialName;
  request.initialFolder = initialFolder;
  igraphics::FileDialogResult result;
  if (std::optional<std::string> path = choose(request)) {
    result.Path = *path;
    result.Folder = FolderOf(*path);
  }
  return result;
}

}  // namespace kr7
