#include "app/shell/MenuCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kr7 {
namespace {

TEST(MainMenu, HasFileAndHelpOnlyAndNoDebugEntries) {
  auto popups = MainMenu();
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0].label, "&File");
  EXPECT_EQ(popups[1].label, "&Help");
  std::set<int> ids;
  for (const MenuPopup& popup : popups)
    for (const MenuEntry& entry : popup.entries)
      if (entry.commandId) ids.insert(entry.commandId);
  // The framework's debug commands (live edit, bounds, drawn area, FPS).
  for (int debugId : {40025, 40028, 40026, 40027}) EXPECT_EQ(ids.count(debugId), 0u);
  EXPECT_EQ(ids.size(), 11u);  // the ten of the pedal's menu and the MIDI monitor
  EXPECT_EQ(ids.count(kCmdMidiMonitor), 1u);
}

TEST(MainMenu, SeparatorsFollowExportClearCacheAndGlobalSettings) {
  const auto file = MainMenu()[0].entries;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    const bool separatorNext = file[i + 1].commandId == 0;
    const int id = file[i].commandId;
    const bool expected =
        id == kCmdExportAllPresets || id == kCmdClearCacheData || id == kCmdGlobalSettings;
    EXPECT_EQ(separatorNext, expected) << file[i].label;
  }
}

TEST(MainMenu, OnlyMidiSettingsHasAnAccelerator) {
  for (const MenuPopup& popup : MainMenu())
    for (const MenuEntry& entry : popup.entries)
      EXPECT_EQ(entry.accelerator.empty(), entry.commandId != kCmdMidiSettings) << entry.label;
}

TEST(MenuCommandCodes, PedalCommandsReachTheEditorUnderTheirCodes) {
  EXPECT_EQ(EditorCommandCodeFor(kCmdFirmwareUpdate), 1);
  EXPECT_EQ(EditorCommandCodeFor(kCmdGlobalSettings), 2);
  EXPECT_EQ(EditorCommandCodeFor(kCmdClearCacheData), 3);
  EXPECT_EQ(EditorCommandCodeFor(kCmdImportAllPresets), 5);
  EXPECT_EQ(EditorCommandCodeFor(kCmdExportAllPresets), 6);
  EXPECT_EQ(EditorCommandCodeFor(kCmdNoAction), 7);
  EXPECT_EQ(EditorCommandCodeFor(kCmdFactoryPresetsUpdate), 8);
  for (int shellOnly : {kCmdMidiSettings, kCmdQuit, kCmdAbout, kCmdReadManual})
    EXPECT_FALSE(EditorCommandCodeFor(shellOnly).has_value());
}

}  // namespace
}  // namespace kr7
