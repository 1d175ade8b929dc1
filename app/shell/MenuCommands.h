#pragma once
// The menu of the main window: entries, their command identifiers and the
// command codes handed to KR7Control. The GTK menu is built from this table;
// keeping it window-free lets the tests check the table and the dispatch.

#include <optional>
#include <span>
#include <string_view>

#include "model/CommandCodes.h"

namespace kr7 {

enum MenuCommandId {
  kCmdImportAllPresets = 40033,
  kCmdExportAllPresets = 40034,
  kCmdFirmwareUpdate = 40029,
  kCmdFactoryPresetsUpdate = 40036,
  kCmdClearCacheData = 40031,
  kCmdMidiSettings = 40006,
  kCmdGlobalSettings = 40030,
  kCmdQuit = 40007,
  kCmdAbout = 40005,
  kCmdReadManual = 40008,
  kCmdNoAction = 40035,
  kCmdMidiMonitor = 40037,
};

struct MenuEntry {
  int commandId;          // 0 for a separator
  std::string_view label; // with "&" before the mnemonic, as the menu shows it
  std::string_view accelerator;  // GTK accelerator string, or empty
};

struct MenuPopup {
  std::string_view label;
  std::span<const MenuEntry> entries;
};

// "&File" and "&Help"; the framework's debug pop-up is never shown.
std::span<const MenuPopup> MainMenu();

// The code handed to KR7Control's command handler for a menu command, or
// nothing for the commands the shell handles itself.
std::optional<int> EditorCommandCodeFor(int commandId);

}  // namespace kr7
