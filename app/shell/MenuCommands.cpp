#include "app/shell/MenuCommands.h"

#include <array>

namespace kr7 {
namespace {

constexpr MenuEntry kSeparator{0, {}, {}};

constexpr std::array kFileEntries{
    MenuEntry{kCmdImportAllPresets, "&Import All Presets to KR7...", {}},
    MenuEntry{kCmdExportAllPresets, "&Export All Presets from KR7 ...", {}},
    kSeparator,
    MenuEntry{kCmdFirmwareUpdate, "&Firmware Update...", {}},
    MenuEntry{kCmdFactoryPresetsUpdate, "&Factory Presets Update...", {}},
    MenuEntry{kCmdClearCacheData, "&Clear Cache Data", {}},
    kSeparator,
    MenuEntry{kCmdMidiSettings, "&MIDI Settings...", "<Control>comma"},
    MenuEntry{kCmdGlobalSettings, "&KR7 Global Settings...", {}},
    kSeparator,
    MenuEntry{kCmdQuit, "&Quit", {}},
};

constexpr std::array kHelpEntries{
    MenuEntry{kCmdAbout, "&About", {}},
    MenuEntry{kCmdReadManual, "&Read Manual", {}},
    MenuEntry{kCmdMidiMonitor, "MIDI &Monitor", {}},
};

constexpr std::array kPopups{
    MenuPopup{"&File", kFileEntries},
    MenuPopup{"&Help", kHelpEntries},
};

struct CodeMapping {
  int commandId;
  int code;
};

constexpr std::array kCodes{
    CodeMapping{kCmdFirmwareUpdate, kCommandFirmwarePage},
    CodeMapping{kCmdGlobalSettings, kCommandGlobalSettings},
    CodeMapping{kCmdClearCacheData, kCommandClearCache},
    CodeMapping{kCmdImportAllPresets, kCommandImportBank},
    CodeMapping{kCmdExportAllPresets, kCommandExportBank},
    CodeMapping{kCmdNoAction, kCommandNothing},
    CodeMapping{kCmdFactoryPresetsUpdate, kCommandFactoryPresets},
};

}  // namespace

std::span<const MenuPopup> MainMenu() { return kPopups; }

std::optional<int> EditorCommandCodeFor(int commandId) {
  for (const CodeMapping& mapping : kCodes)
    if (mapping.commandId == commandId) return mapping.code;
  return std::nullopt;
}

}  // namespace kr7
