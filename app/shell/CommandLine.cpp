#include "app/shell/CommandLine.h"

#include <algorithm>
#include <cctype>

#include "model/DataFolder.h"

namespace kr7 {

StartRequest ParseCommandLine(std::span<const std::string_view> args) {
  StartRequest request;
  bool optionsEnded = false;
  for (const std::string_view arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      return {StartAction::kHelp, {}, {}};
    } else if (!optionsEnded && (arg == "--version" || arg == "-V")) {
      return {StartAction::kVersion, {}, {}};
    } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
      return {StartAction::kBadUsage, {}, "unknown option " + std::string(arg)};
    } else if (!request.file.empty()) {
      return {StartAction::kBadUsage, {}, "only one file can be opened at a time"};
    } else if (!arg.empty()) {
      request.file = arg;
    }
  }
  return request;
}

std::string HelpText() {
  return "Usage: kr7control [OPTION] [FILE]\n"
         "Editor for the Norvane Valvora KR7 guitar amp-modelling floor pedal.\n"
         "\n"
         "FILE is a preset file (.r3p), imported into the current preset, or an\n"
         "all-presets file (.r3b), imported into the pedal after a confirmation.\n"
         "When the editor already runs, the file is handed to it.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "  -V, --version  show the version and exit\n";
}

std::string VersionText() { return "KR7Control " + std::string(kProgramVersion) + "\n"; }

OpenedFileKind KindOfFile(std::string_view path) {
  const std::string_view name = path.substr(FileNameStart(path));
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return OpenedFileKind::kUnknown;
  std::string extension(name.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "r3p") return OpenedFileKind::kPreset;
  if (extension == "r3b") return OpenedFileKind::kBank;
  return OpenedFileKind::kUnknown;
}

}  // namespace kr7
