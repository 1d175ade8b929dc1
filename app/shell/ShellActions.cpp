#include "app/shell/ShellActions.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "app/core/KR7Control.h"
#include "app/shell/CommandLine.h"
#include "app/shell/Host.h"
#include "app/shell/Manual.h"
#include "app/shell/MenuCommands.h"
#include "app/shell/Preferences.h"
#include "model/DataFolder.h"
#include "model/UserTexts.h"
#include "resources/Resources.h"

namespace kr7 {
namespace {

bool IsGoodPresetFile(const std::string& path) {
  if (KindOfFile(path) != OpenedFileKind::kPreset) return false;
  const std::optional<std::vector<std::uint8_t>> image = ReadPresetFileImage(path);
  return image && CheckPresetFile(*image) == PresetFileCheck::kOk;
}

// The plain about box, for when the editor has no window.
std::string PlainAboutText() {
  return "KR7Control v" + std::string(kProgramVersion) +
         "\nEditor for the Norvane Valvora KR7\nBuilt " __DATE__;
}

// Returns the text to show when the manual could not be written or opened.
std::string ReadManual(const DataFolder& folder,
                       const std::function<bool(const std::string& path)>& open) {
  const auto embedded = FindResource(kResourceIdManual);
  const ManualFile manual =
      PrepareManual(folder.Base(), embedded.value_or(std::span<const std::uint8_t>{}));
  if (manual.status == ManualFile::Status::kPathTooLong)
    return "The manual cannot be written: the path of the data folder is too long.\n" +
           folder.Base();
  if (manual.status == ManualFile::Status::kWriteFailed)
    return "The manual could not be written:\n" + manual.path;
  if (!open(manual.path)) return "No application could open the manual:\n" + manual.path;
  return {};
}

}  // namespace

void OpenFileInEditor(KR7Control& control, const std::string& path,
                      const std::function<void(std::string_view text)>& refuse) {
  switch (KindOfFile(path)) {
    case OpenedFileKind::kPreset:
      control.PresetFiles().ImportPath(path);
      break;
    case OpenedFileKind::kBank:
      control.Streams().Import().StartFile(path);
      break;
    case OpenedFileKind::kUnknown:
      refuse(kUnknownFileFormatText);
      break;
  }
}

StartFile::StartFile(std::string path)
    : mPath(std::move(path)),
      mWaits(IsGoodPresetFile(mPath) || KindOfFile(mPath) == OpenedFileKind::kBank) {}

bool StartFile::Due(const SessionState& session) {
  const bool waitForPedal =
      mWaits && (session.connected.load() ? session.activePresetPending.load()
                                          : ++mTicks < kWaitTicks);
  return !waitForPedal;
}

void RunMenuCommand(shell::Host& host, int commandId, ShellWindows& windows) {
  if (std::optional<int> code = EditorCommandCodeFor(commandId)) {
    host.Control().OnCommand(*code);
    return;
  }
  switch (commandId) {
    case kCmdMidiSettings: {
      windows.OpenDevices();
      PreferencesSession session(host.CurrentSettings(), host);
      windows.RunPreferences(session);
      // The stored names follow the dialog either way; Cancel restored them.
      host.WriteSettings();
      break;
    }
    case kCmdAbout:
      if (!host.Control().ShowAbout()) windows.Notice(PlainAboutText(), kProductName);
      break;
    case kCmdReadManual: {
      const std::string problem = ReadManual(
          host.Control().Folder(), [&windows](const std::string& path) { return windows.OpenDocument(path); });
      if (!problem.empty()) windows.Notice(problem, kProductName);
      break;
    }
    case kCmdMidiMonitor:
      windows.ShowMonitor();
      break;
    default:
      break;
  }
}

}  // namespace kr7
