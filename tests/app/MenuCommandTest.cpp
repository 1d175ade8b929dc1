// The menu's commands as KR7Control takes them, with and without a window,
// against the virtual pedal.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "device/Firmware.h"
#include "device/Session.h"
#include "device/StreamsProgress.h"
#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path, std::size_t size = 1) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << std::string(size, 'x');
}

class MenuCommandTest : public Conversation {};

TEST_F(MenuCommandTest, ClearCacheDataDeletesOnlyDatFilesAndSaysSo) {
  Handshake();  // fetches and caches all 128 presets
  const DataFolder folder(data.Path());
  ASSERT_TRUE(fs::exists(folder.Presets() + "/128.dat"));
  Touch(folder.UserIrs() + "/005.dat", kIrImageSize);
  for (const std::string kept : {"/notes.txt", "/001.dat.bak", "/002.DAT"})
    Touch(folder.Presets() + kept);
  view.messages.clear();

  ASSERT_TRUE(editor->OnCommand(kCommandClearCache));
  std::vector<std::string> left;
  for (const std::string& dir : {folder.Presets(), folder.UserIrs()})
    for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"001.dat.bak", "002.DAT", "notes.txt"}));
  EXPECT_EQ(view.messages, std::vector<std::string>{std::string(kFinishedText)});
  EXPECT_EQ(editor->Cache().ListText(5), " 05 ");
  EXPECT_EQ(editor->Cache().Checksum(5), PresetChecksum{});
}

TEST_F(MenuCommandTest, NoActionCodeAndAboutWithAndWithoutAWindow) {
  Handshake();
  link.sent.clear();
  view.messages.clear();
  EXPECT_TRUE(editor->OnCommand(kCommandNoAction));
  EXPECT_TRUE(link.sent.empty());
  EXPECT_TRUE(view.messages.empty());

  EXPECT_TRUE(editor->ShowAbout());
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupAbout)));

  editor->OnWindowClose();
  EXPECT_FALSE(editor->ShowAbout());
}

TEST_F(MenuCommandTest, FirmwarePageNeedsAWindowAndItsCloseButtonWaitsForTheTransfer) {
  // Without a window the command would hold the link "connected" with no
  // page to close: it is refused and polling goes on.
  editor->OnWindowClose();
  EXPECT_FALSE(editor->OnCommand(kCommandFirmwarePage));
  EXPECT_FALSE(editor->Session().connected.load());
  EXPECT_TRUE(editor->Session().polling.load());

  editor->OnWindowOpen(&view);
  ASSERT_TRUE(editor->OnCommand(kCommandFirmwarePage));
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupFirmwareUpdate)));
  FirmwareUpdate& firmware = editor->Streams().Firmware();
  firmware.ChooseImage();  // the dialog is cancelled: the page stays
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupFirmwareUpdate)));
  EXPECT_TRUE(link.sent.empty());

  const std::string image = data / "kr7.bin";
  Touch(image, 2000);
  ASSERT_TRUE(firmware.LoadImage(image));
  Deliver();  // FirmwareReady
  ASSERT_TRUE(firmware.Running());
  EXPECT_TRUE(view.disabledGroups[std::string(kGroupFirmwareUpdate)]);
  EXPECT_FALSE(firmware.ClosePage());
  EXPECT_TRUE(editor->Session().connected.load());

  std::vector<std::string> percents;
  while (firmware.Running()) {
    Tick();
    percents.push_back(view.texts[kFirmwareProgress.textTag]);
  }
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end(), [](auto& a, auto& b) {
    return std::stoi(a) < std::stoi(b);
  }));
  EXPECT_EQ(percents.back(), "100 %");
  EXPECT_EQ(view.messages.back(), kFirmwareFinishedText);
  for (std::string_view group : {kGroupFirmwareBackground, kGroupFirmwareUpdate,
                                 kFirmwareProgress.group})
    EXPECT_TRUE(view.GroupHidden(std::string(group))) << group;
  EXPECT_FALSE(editor->Session().connected.load());  // FirmwareDone
}

TEST_F(MenuCommandTest, ClosingTheFirmwarePageDropsAnAnnouncedImageAndReconnects) {
  ASSERT_TRUE(editor->OnCommand(kCommandFirmwarePage));
  const std::string image = data / "kr7.bin";
  Touch(image, 500);
  ASSERT_TRUE(editor->Streams().Firmware().LoadImage(image));
  // The loader has not answered yet when the user closes the page.
  ASSERT_TRUE(editor->Streams().Firmware().ClosePage());
  Deliver();  // FirmwareReady, too late
  EXPECT_FALSE(editor->Streams().Firmware().Running());
  link.sent.clear();
  Tick(kPollTicks);
  EXPECT_EQ(SentNames().front(), "GlobalRequest 15");
}

}  // namespace
}  // namespace kr7::test
