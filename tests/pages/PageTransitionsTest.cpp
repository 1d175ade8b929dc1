// Transitions between pages and the click rules of page images, on the
// editor's own pages.

#include <gmock/gmock.h>

#include "model/ControlTags.h"
#include "tests/pages/PagesHarness.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/pages/MainPage.h"

namespace kr7::pages::test {
namespace {

class PageTransitionsTest : public ::testing::Test {
 protected:
  igraphics::IGraphics& ui() { return h.pages.Graphics(); }
  PagesHarness h;
};

TEST_F(PageTransitionsTest, EachTransitionLeavesItsGroups) {
  const struct {
    PageEvent event;
    std::vector<std::string_view> shown, hidden;
  } kCases[] = {
      {PageEvent::OpenGlobalSettings, {kGroupGlobalSettings}, {kGroupMidiProgram}},
      {PageEvent::OpenGlobalSettings, {kGroupGlobalSettings}, {}},  // twice: shown once
      {PageEvent::OpenMidiProgramPage, {kGroupMidiProgram}, {kGroupGlobalSettings}},
      {PageEvent::BackFromMidiProgramPage, {kGroupGlobalSettings}, {kGroupMidiProgram}},
      {PageEvent::CloseGlobalSettings, {kGroupMain}, {kGroupGlobalSettings}},
      {PageEvent::OpenAbout, {kGroupAbout}, {}},
      {PageEvent::CloseAbout, {}, {kGroupAbout}},
      {PageEvent::OpenFirmwarePage, {kGroupFirmwareBackground}, {}},
  };
  for (const auto& c : kCases) {
    h.pages.Transitions().Run(c.event);
    for (auto group : c.shown) EXPECT_TRUE(h.Shown(group)) << group << " after " << static_cast<int>(c.event);
    for (auto group : c.hidden) EXPECT_FALSE(h.Shown(group)) << group << " after " << static_cast<int>(c.event);
  }
  // The firmware page pauses probing and takes the main controls' input.
  EXPECT_FALSE(h.control.Session().polling.load());
  bool mainDisabled = true;
  ui().ForEachInGroup(kGroupMain, [&](igraphics::IControl& c) { mainDisabled = mainDisabled && c.IsDisabled(); });
  EXPECT_TRUE(mainDisabled);
  h.pages.Transitions().Run(PageEvent::CloseFirmwarePage);
  EXPECT_TRUE(h.control.Session().polling.load());
  EXPECT_FALSE(h.Shown(kGroupFirmwareBackground));
}

TEST_F(PageTransitionsTest, ClickRulesOfThePageImages) {
  const igraphics::Rect row = PresetRowRect(1);
  const igraphics::Rect knob = PedalKnobCentre(kParamLevel);
  // The about page covers everything and closes on any click.
  h.pages.Transitions().Run(PageEvent::OpenAbout);
  EXPECT_EQ(ui().GetMouseControl(row.MW(), row.MH(), false)->GetGroup(), kGroupAbout);
  h.host.Click(knob.L, knob.T);
  EXPECT_FALSE(h.Shown(kGroupAbout));

  // The settings page: a click on its image keeps it, one below it closes it
  // once the press animation has ended.
  h.pages.Transitions().Run(PageEvent::OpenGlobalSettings);
  h.host.Click(row.MW(), row.MH());
  h.Idle(10);
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings));
  h.host.Click(row.MW(), 1150);
  h.Idle(10);
  EXPECT_FALSE(h.Shown(kGroupGlobalSettings));

  // A MIDI page lets clicks below its image through to the preset list.
  h.pages.Transitions().Run(PageEvent::OpenGlobalSettings);
  h.pages.Transitions().Run(PageEvent::OpenMidiProgramPage);
  igraphics::IControl* selector = h.pages.Refs().presetSelector;
  EXPECT_EQ(ui().GetMouseControl(row.MW(), 1150, false), selector);
  EXPECT_NE(ui().GetMouseControl(row.MW(), row.MH(), false), selector);
}

}  // namespace
}  // namespace kr7::pages::test
