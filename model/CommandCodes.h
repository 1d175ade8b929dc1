#pragma once
// The codes of KR7Control's command handler. The shell's menu maps its
// command identifiers to these; the commands without a code (preferences,
// quit, about, manual) the shell handles itself.

namespace kr7 {

enum CommandCode : int {
  kCommandFirmwarePage = 1,
  kCommandGlobalSettings = 2,
  kCommandClearCache = 3,
  kCommandImportBank = 5,
  kCommandExportBank = 6,
  kCommandNothing = 7,  // no action
  kCommandFactoryPresets = 8,
};

}  // namespace kr7
