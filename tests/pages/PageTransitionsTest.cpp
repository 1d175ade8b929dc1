// Transitions between pages and the click rules of page images, on the
// editor's own pages; the settings and MIDI pages' images are laid over them
// the way their builders do.

#include <gmock/gmock.h>

#include "model/ControlTags.h"
#include "tests/pages/PagesHarness.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/pages/MainPage.h"
#include "ui/pages/PageParts.h"

namespace kr7::pages::test {
namespace {

class PageTransitionsTest : public ::testing::Test {
 protected:
  PageTransitionsTest() {
    PageContext ctx{ui(), h.control, h.pages.Transitions(), refs};
    AddPageImage(ctx, "globalbg.png", 0, 0, kGroupGlobalSettings);
    AddClosingArea(ctx, {0, 1080, 1920, 1200}, kGroupGlobalSettings,
                   [this] { h.pages.Transitions().Run(PageEvent::CloseGlobalSettings); });
    AddPageImage(ctx, "globalbg.png", 0, 0, kGroupMidiProgram);
    for (std::string_view group : {kGroupGlobalSettings, kGroupMidiProgram})
      h.pages.Transitions().ShowGroup(group, false);
  }
  igraphics::IGraphics& ui() { return h.pages.Graphics(); }
  PagesHarness h;
  PageRefs refs;
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
      {PageEvent::OpenFirmwarePage, {}, {}},
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
  // Groups without members and tags without controls are ignored.
  h.pages.Transitions().ShowGroup(kGroupFilter, true);
  h.pages.View().SetControlHidden(kTagNameReport, true);
}

TEST_F(PageTransitionsTest, ClickRulesOfThePageImages) {
  const igraphics::Rect row = PresetRowRect(1);
  const igraphics::Rect knob = PedalKnobCentre(kParamLevel);
  // The about page covers everything and closes on any click.
  h.pages.Transitions().Run(PageEvent::OpenAbout);
  EXPECT_EQ(ui().GetMouseControl(row.MW(), row.MH(), false)->GetGroup(), kGroupAbout);
  h.host.Click(knob.L, knob.T);
  EXPECT_FALSE(h.Shown(kGroupAbout));

  // The settings page: a click on its image keeps it, one below it closes it.
  h.pages.Transitions().Run(PageEvent::OpenGlobalSettings);
  h.host.Click(row.MW(), row.MH());
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings));
  h.host.Click(row.MW(), 1150);
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
