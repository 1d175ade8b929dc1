// The overlays and the menu's codes headless against the virtual pedal.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "device/Firmware.h"
#include "resources/Resources.h"
#include "tests/pages/PagesHarness.h"
#include "ui/ITextControl.h"

namespace kr7::pages::test {
namespace {

bool Shown(PagesHarness& h, std::string_view group) {
  bool shown = false;
  h.pages.Graphics().ForEachInGroup(group, [&](igraphics::IControl& c) { shown |= !c.IsHidden(); });
  return shown;
}
igraphics::IControl& Tag(PagesHarness& h, int tag) { return *h.pages.Graphics().ControlByTag(tag); }
std::string Text(PagesHarness& h, int tag) { return static_cast<igraphics::ITextControl&>(Tag(h, tag)).GetStr(); }

TEST(Overlays, FetchShowsLoadingPresetsInTheRingRisingToOneHundred) {
  PagesHarness h;
  EXPECT_EQ(Tag(h, 54).GetRECT().MW(), Tag(h, 53).GetRECT().MW());  // the text centred in the ring
  EXPECT_EQ(Tag(h, 54).GetRECT().MH(), Tag(h, 53).GetRECT().MH());
  std::vector<int> percents;
  int shownSteps = 0;
  for (int tick = 0; tick < kStartTicks; ++tick) {
    h.control.OnDeviceTick();
    while (h.link.DeliverOne()) {  // one reply per window step
      h.pages.OnFrameworkTimer();
      shownSteps += Shown(h, "progresscontrols");
      percents.push_back(std::stoi(Text(h, 54)));
    }
  }
  EXPECT_GT(shownSteps, 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(Text(h, 54), "100 %");
  EXPECT_FALSE(Shown(h, "progresscontrols"));
}

TEST(Overlays, FirmwareUpdateThroughItsPageAboutAndFactoryPresets) {
  PagesHarness h;
  h.Connect();
  ASSERT_TRUE(h.control.OnCommand(kCommandFirmwarePage));
  h.host.Click(1100, 680);  // UPDATE FIRMWARE; the dialog is cancelled
  h.Idle(10);
  EXPECT_TRUE(Shown(h, "fwupdatecontrols"));
  h.host.FileAnswer.Path = h.folder / "kr7.bin";
  std::ofstream(h.host.FileAnswer.Path, std::ios::binary) << std::string(4000, 'f');
  h.host.Click(1100, 680);
  h.Tick(3);  // the press animation, the dialog, FirmwareReady, the first messages
  const double early = Tag(h, 140).GetValue();
  h.host.Click(1535, 330);  // "X" waits for the transfer
  EXPECT_TRUE(Shown(h, "fwbgcontrols"));
  h.Tick(30);
  EXPECT_GT(Tag(h, 140).GetValue(), early);
  EXPECT_EQ(h.host.Messages, std::vector<std::string>{std::string(kFirmwareFinishedText)});
  EXPECT_EQ(h.pedal.Snapshot().firmware.size(), 4000u);
  for (const char* group : {"fwbgcontrols", "fwupdatecontrols", "firmwarecontrols"}) EXPECT_FALSE(Shown(h, group));
  ASSERT_TRUE(h.control.ShowAbout());
  h.host.Click(1325, 335);
  EXPECT_FALSE(Shown(h, "aboutcontrols"));
  h.control.Streams().SetFactoryBankProvider([] { return FindResource(kResourceIdFactoryBank); });
  ASSERT_TRUE(h.control.OnCommand(kCommandFactoryPresets));  // the question is answered OK
  EXPECT_TRUE(Shown(h, "factorypresetcontrols"));
  h.Tick(140);
  EXPECT_EQ(Text(h, kTagFactoryProgressText), "100 %");
  EXPECT_FALSE(Shown(h, "factorypresetcontrols"));
  // Without a window the firmware page could never be closed again.
  h.pages.Close();
  EXPECT_FALSE(h.control.OnCommand(kCommandFirmwarePage));
  EXPECT_FALSE(h.control.Session().connected.load());
  EXPECT_FALSE(h.control.ShowAbout());
}

TEST(Overlays, UserIrBrowserShowsABankAndClosingForgetsTheChoices) {
  PagesHarness h;
  const std::string folder = DataFolder(h.folder.Path()).UserIrs();
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/260.dat") << std::string(4, '\0') << "Cab 259" << std::string(kIrImageSize - 11, ' ');
  h.control.Irs().PrepareStore({});
  h.control.Irs().ShowUserIrBank(8);
  h.pages.Transitions().ShowGroup("customircontrols", true);
  h.Idle(1);  // the rows are drawn
  const auto& rows = h.pages.Refs().userIrRows;
  EXPECT_EQ(rows[3]->GetStr(), "Cab 259");
  EXPECT_EQ(rows[31]->GetStr(), "Empty Slot 32");
  h.control.Session().irSlotAFlag.store(true);
  rows[3]->SetTextColour(igraphics::Colour(255, 200, 200, 200));
  h.host.Click(100, 100);
  EXPECT_FALSE(Shown(h, "customircontrols"));
  EXPECT_FALSE(h.control.Session().irSlotAFlag.load());
  EXPECT_EQ(rows[3]->GetTextStyle().TextColour, igraphics::Colour(255, 120, 120, 120));
}

}  // namespace
}  // namespace kr7::pages::test
