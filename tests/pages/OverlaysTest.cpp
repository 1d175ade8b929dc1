// The overlays headless against the virtual pedal: the preset progress, the
// firmware page through a whole update, the about page and the user-IR
// browser.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "device/Firmware.h"
#include "tests/pages/PagesHarness.h"
#include "ui/ITextControl.h"

namespace kr7::pages::test {
namespace {

bool Shown(PagesHarness& h, std::string_view group) {
  bool shown = false;
  h.pages.Graphics().ForEachInGroup(group, [&](igraphics::IControl& c) { shown |= !c.IsHidden(); });
  return shown;
}

std::string Text(PagesHarness& h, int tag) {
  return static_cast<igraphics::ITextControl*>(h.pages.Graphics().ControlByTag(tag))->GetStr();
}

double Value(PagesHarness& h, int tag) { return h.pages.Graphics().ControlByTag(tag)->GetValue(); }

std::pair<float, float> Centre(PagesHarness& h, int tag) {
  const igraphics::Rect& r = h.pages.Graphics().ControlByTag(tag)->GetRECT();
  return {r.MW(), r.MH()};
}

TEST(Overlays, FetchShowsLoadingPresetsCentredInTheRingRisingToOneHundred) {
  PagesHarness h;
  EXPECT_EQ(Centre(h, 54), Centre(h, 53));
  EXPECT_EQ(Text(h, 52), "Loading Presets...");
  EXPECT_EQ(Text(h, 54), "0 %");
  // One reply at a time, the window's step after each, as the timers would.
  std::vector<std::string> texts;
  int shownSteps = 0;
  for (int tick = 0; tick < kStartTicks; ++tick) {
    h.control.OnDeviceTick();
    while (!h.inbox.empty()) {
      const Bytes reply = std::move(h.inbox.front());
      h.inbox.pop_front();
      h.control.OnSysEx(reply);
      h.pages.OnFrameworkTimer();
      shownSteps += Shown(h, "progresscontrols");
      texts.push_back(Text(h, 54));
    }
  }
  EXPECT_GT(shownSteps, 100);
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end(),
                             [](auto& a, auto& b) { return std::stoi(a) < std::stoi(b); }));
  EXPECT_EQ(texts.back(), "100 %");
  EXPECT_FALSE(Shown(h, "progresscontrols"));
  EXPECT_GT(Value(h, 53), 0.99);
}

TEST(Overlays, FirmwareUpdateThroughItsPage) {
  PagesHarness h;
  h.Connect();
  ASSERT_TRUE(h.control.OnCommand(kCommandFirmwarePage));
  h.Idle(1);
  ASSERT_TRUE(Shown(h, "fwbgcontrols"));
  EXPECT_EQ(Text(h, 139), "0 %");

  // A cancelled dialog leaves the page as it was.
  h.TakeReceived();
  h.host.Click(1100, 680);
  h.Idle(10);
  EXPECT_EQ(h.host.FileRequests, std::vector<std::string>{"bin"});
  EXPECT_TRUE(Shown(h, "fwupdatecontrols"));
  EXPECT_TRUE(h.TakeReceived().empty());

  const std::string image = h.folder / "kr7.bin";
  std::ofstream(image, std::ios::binary) << std::string(4000, 'f');
  h.host.FileAnswer.Path = image;
  h.host.Click(1100, 680);
  h.Idle(10);  // the press animation, then the dialog; FirmwareReady
  ASSERT_TRUE(Shown(h, "firmwarecontrols"));
  h.Tick(3);
  const double early = Value(h, 140);
  EXPECT_GT(early, 0.0);
  h.host.Click(1535, 330);  // "X" is disabled while the image goes out
  h.Idle(10);
  EXPECT_TRUE(Shown(h, "fwbgcontrols"));
  h.Tick(30);
  EXPECT_GT(Value(h, 140), early);
  EXPECT_EQ(h.host.Messages, std::vector<std::string>{std::string(kFirmwareFinishedText)});
  EXPECT_EQ(h.pedal.Snapshot().firmware.size(), 4000u);  // FirmwareDone
  for (const char* group : {"fwbgcontrols", "fwupdatecontrols", "firmwarecontrols"})
    EXPECT_FALSE(Shown(h, group)) << group;
  EXPECT_FALSE(h.control.Session().connected.load());
}

TEST(Overlays, FirmwarePageCloseAlwaysAsksForAReconnectAndTheLinkNeedsTheNetwork) {
  PagesHarness h;
  h.Connect();
  ASSERT_TRUE(h.control.OnCommand(kCommandFirmwarePage));
  h.host.InternetConnected = false;
  h.host.Click(848, 360);
  EXPECT_TRUE(h.host.OpenedLinks.empty());
  h.host.InternetConnected = true;
  h.host.Click(848, 360);
  EXPECT_EQ(h.host.OpenedLinks.size(), 1u);
  h.host.Click(1535, 330);
  h.Idle(10);
  EXPECT_FALSE(Shown(h, "fwbgcontrols"));
  EXPECT_FALSE(h.control.Session().connected.load());
  EXPECT_TRUE(h.control.Session().polling.load());
}

TEST(Overlays, AboutPageClosesOnAnyClickIncludingTheVersion) {
  PagesHarness h;
  for (const auto& [x, y] : {std::pair{1325.f, 335.f}, std::pair{10.f, 1190.f}}) {
    ASSERT_TRUE(h.control.ShowAbout());
    h.Idle(1);
    EXPECT_TRUE(Shown(h, "aboutcontrols"));
    h.host.Click(x, y);
    h.Idle(1);
    EXPECT_FALSE(Shown(h, "aboutcontrols")) << x << "," << y;
  }
}

TEST(Overlays, UserIrBrowserShowsABankAndClosingForgetsTheChoices) {
  PagesHarness h;
  const std::string folder = DataFolder(h.folder.Path()).UserIrs();
  std::filesystem::create_directories(folder);
  for (int n : {256, 259, 287}) {
    std::string image(kIrImageSize, '\0');
    image.replace(4, 32, ("Cab " + std::to_string(n)).append(32, ' ').substr(0, 32));
    char name[24];
    std::snprintf(name, sizeof name, "/%03d.dat", n + 1);
    std::ofstream(folder + name, std::ios::binary) << image;
  }
  h.control.Irs().PrepareStore({});
  h.control.Irs().ShowUserIrBank(8);
  h.pages.Graphics().ForEachInGroup("customircontrols", [](igraphics::IControl& c) { c.Hide(false); });
  h.Idle(1);
  const auto& rows = h.pages.Refs().userIrRows;
  EXPECT_EQ(rows[0]->GetStr(), "Cab 256");
  EXPECT_EQ(rows[1]->GetStr(), "Empty Slot 2");
  EXPECT_EQ(rows[3]->GetStr(), "Cab 259");
  EXPECT_EQ(rows[31]->GetStr(), "Cab 287");

  h.control.Session().irSlotAFlag.store(true);
  rows[3]->SetTextColour(igraphics::Colour(255, 200, 200, 200));
  h.host.Click(100, 100);
  EXPECT_FALSE(Shown(h, "customircontrols"));
  EXPECT_FALSE(h.control.Session().irSlotAFlag.load());
  EXPECT_EQ(rows[3]->GetTextStyle().TextColour, igraphics::Colour(255, 120, 120, 120));
}

}  // namespace
}  // namespace kr7::pages::test
