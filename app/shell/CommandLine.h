#pragma once
// The editor's command line: `kr7control [--help | --version | FILE]`.
// Parsed before any window or device exists, so --help and --version answer
// without a display; GTK's own options have been taken out already.

#include <span>
#include <string>
#include <string_view>

namespace kr7 {

inline constexpr std::string_view kProgramVersion = KR7_VERSION;

enum class StartAction {
  kRun,       // open the editor, with `file` when one was named
  kHelp,      // print HelpText() and exit 0
  kVersion,   // print VersionText() and exit 0
  kBadUsage,  // print `error` and a hint and exit 2
};

struct StartRequest {
  StartAction action = StartAction::kRun;
  std::string file;
  std::string error;
};

// args: the arguments after the program name.
StartRequest ParseCommandLine(std::span<const std::string_view> args);
std::string HelpText();
std::string VersionText();

// The two file types the editor opens, told by their extension (any case).
enum class OpenedFileKind { kPreset, kBank, kUnknown };
OpenedFileKind KindOfFile(std::string_view path);

}  // namespace kr7
