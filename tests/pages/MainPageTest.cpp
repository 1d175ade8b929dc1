// The main page headless against the virtual pedal: what the user sees at
// start, and what the pedal receives when the user works the page.

#include <gmock/gmock.h>

#include "model/ControlTags.h"
#include "editor/IrImage.h"
#include "tests/pages/PagesHarness.h"
#include "ui/IBitmapControls.h"
#include "ui/ITextControl.h"
#include "ui/pages/MainPage.h"

namespace kr7::pages::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr igraphics::Rect kUpSwitch{1460, 486, 1535, 571};

std::vector<std::string_view> ShownBlockGroups(igraphics::IGraphics& ui) {
  std::vector<std::string_view> shown;
  for (std::string_view group : kBlockGroups) {
    bool visible = false;
    ui.ForEachInGroup(group, [&visible](igraphics::IControl& c) { visible = visible || !c.IsHidden(); });
    if (visible) shown.push_back(group);
  }
  return shown;
}

TEST(MainPage, StartsOnTheImpulseResponseBlockWithThePedalAsleep) {
  PagesHarness h;
  EXPECT_THAT(ShownBlockGroups(h.pages.Graphics()), ElementsAre(kGroupIr));
  // The disabled pedal draws at a quarter: the lit footswitch face shines
  // through much darker than once the pedal is identified.
  const igraphics::Colour asleep = h.Pixel(kUpSwitch.MW(), kUpSwitch.T + 20);
  const igraphics::Rect level = PedalKnobCentre(kParamLevel);
  h.host.DragBy(level.L, level.T, 0, -10, 10);
  h.host.Click(kUpSwitch.MW(), kUpSwitch.MH());
  h.Idle(5);
  EXPECT_THAT(h.TakeReceived(), IsEmpty());

  h.Connect();
  h.TakeReceived();
  h.host.Render();
  EXPECT_TRUE(h.host.WritePng(h.Png("mainpage_connected")));
  const igraphics::Colour awake = h.Pixel(kUpSwitch.MW(), kUpSwitch.T + 20);
  EXPECT_NEAR(asleep.G, 0.25 * awake.G + 0.75 * h.Pixel(kUpSwitch.L - 30, kUpSwitch.T + 20).G, 12);

  // Dragging a pedal knob edits the pedal's sound.
  const int before = pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamLevel);
  h.host.DragBy(level.L, level.T, 0, before > 64 ? 10.f : -10.f, 10);
  h.Idle(2);
  EXPECT_NE(pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamLevel), before);
  EXPECT_THAT(h.TakeReceived(), ::testing::Each(std::string("ParameterSet")));
}

// While a long transfer runs the main page keeps still: a stray click on a
// preset row or a knob sends nothing into the transfer.
TEST(MainPage, IgnoresInputDuringALongTransfer) {
  PagesHarness h;
  h.Connect();
  const PackedIr packed = PackIrImage(IrImage{});
  ASSERT_TRUE(h.control.Streams().StartIrUpload(5, packed.data));
  h.Tick(1);
  ASSERT_TRUE(h.control.Streams().LongTransferRunning());
  h.TakeReceived();
  const igraphics::Rect row = PresetRowRect(4);
  const igraphics::Rect level = PedalKnobCentre(kParamLevel);
  h.host.Click(row.MW(), row.MH());
  h.host.DragBy(level.L, level.T, 0, -10, 5);
  EXPECT_THAT(h.TakeReceived(), IsEmpty());
  EXPECT_EQ(h.pedal.ActiveSlot(), 0);
}

}  // namespace
}  // namespace kr7::pages::test
