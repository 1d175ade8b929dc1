// The overlays and the menu's codes headless against the virtual pedal.

#include <algorithm>
#include <fstream>

#include "tests/pages/PagesHarness.h"
#include "ui/ITextControl.h"

namespace kr7::pages::test {
namespace {

std::string Text(PagesHarness& h, int tag) { return static_cast<igraphics::ITextControl&>(h.Tag(tag)).GetStr(); }

TEST(Overlays, FetchShowsLoadingPresetsInTheRingRisingToOneHundred) {
  PagesHarness h;
  EXPECT_EQ(h.Tag(54).GetRECT().MW(), h.Tag(53).GetRECT().MW());  // the text centred in the ring
  EXPECT_EQ(h.Tag(54).GetRECT().MH(), h.Tag(53).GetRECT().MH());
  std::vector<int> percents;
  int shownSteps = 0;
  for (int tick = 0; tick < kStartTicks; ++tick, h.control.OnDeviceTick()) {
    while (h.link.DeliverOne()) {  // one reply per window step
      h.pages.OnFrameworkTimer();
      shownSteps += h.Shown(kGroupPresetProgress);
      percents.push_back(std::stoi(Text(h, 54)));
    }
  }
  EXPECT_GT(shownSteps, 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(Text(h, 54), "100 %");
  EXPECT_FALSE(h.Shown(kGroupPresetProgress));
}

TEST(Overlays, FirmwareUpdateThroughItsPageThenAbout) {
  PagesHarness h;
  h.Connect();
  ASSERT_TRUE(h.control.OnCommand(kCommandFirmwarePage));
  h.host.Click(1100, 680);  // UPDATE FIRMWARE; the dialog is cancelled
  h.Idle(10);
  EXPECT_TRUE(h.Shown(kGroupFirmwareUpdate));
  h.host.FileAnswer.Path = h.folder / "kr7.bin";
  std::ofstream(h.host.FileAnswer.Path) << std::string(4000, 'f');
  h.host.Click(1100, 680);
  h.Tick(3);  // the press animation, the dialog, FirmwareReady, the first messages
  const double early = h.Tag(140).GetValue();
  h.host.Click(1535, 330);  // "X" waits for the transfer
  EXPECT_TRUE(h.Shown(kGroupFirmwareBackground));
  h.Tick(30);
  EXPECT_GT(h.Tag(140).GetValue(), early);
  EXPECT_EQ(h.host.Messages, std::vector<std::string>{std::string(kFirmwareFinishedText)});
  EXPECT_EQ(h.pedal.Snapshot().firmware.size(), 4000u);
  EXPECT_FALSE(h.Shown(kGroupFirmwareBackground) || h.Shown(kGroupFirmwareUpdate) || h.Shown(kGroupFirmwareProgress));
  ASSERT_TRUE(h.control.ShowAbout());
  h.host.Click(1325, 335);  // on the version text
  EXPECT_FALSE(h.Shown(kGroupAbout));
  h.pages.Close();  // without a window the firmware page could never be closed again
  EXPECT_FALSE(h.control.OnCommand(kCommandFirmwarePage) || h.control.Session().connected.load());
  EXPECT_FALSE(h.control.ShowAbout());
}

TEST(Overlays, UserIrBrowserShowsABankAssignsARowAndClosingForgetsTheChoices) {
  PagesHarness h;
  h.Connect();
  h.control.Parameters().SetParameterFromPosition(kParamCustomIrBank, 1.0);  // "Factory Bank"
  h.pages.Transitions().ShowGroup(kGroupUserIrBrowser, true);
  h.Tick(2);  // the pedal's names of IRs 256..287
  const auto& rows = h.pages.Refs().userIrRows;
  EXPECT_EQ(rows[0]->GetStr(), "FACTORY IR 01");
  EXPECT_EQ(rows[31]->GetStr(), "FACTORY IR 32");
  h.control.Session().irSlotAFlag.store(true);  // as the IMPORT button of source A leaves it
  h.host.Click(600, 655);  // row 3: user IR 259 = 2 × 128 + 3
  h.Tick(3);
  const ParameterChanges& params = h.control.Parameters();
  EXPECT_EQ(params.ParamInt(kParamUserIrAMsb) * 128 + params.ParamInt(kParamUserIrA), 259);
  EXPECT_EQ(Text(h, kTagIrRowA), "Empty Slot 4");  // the store's name: IR 259 is not cached
  h.host.Click(100, 100);
  EXPECT_FALSE(h.Shown(kGroupUserIrBrowser) || h.control.Session().irSlotAFlag.load());
  EXPECT_EQ(rows[3]->GetTextStyle().TextColour, igraphics::Colour(255, 120, 120, 120));
}

}  // namespace
}  // namespace kr7::pages::test
