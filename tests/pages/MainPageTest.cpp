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

std::vector<std::string_view> ShownBlockGroups(PagesHarness& h) {
  std::vector<std::string_view> shown;
  for (std::string_view group : kBlockGroups) {
    if (h.Shown(group)) shown.push_back(group);
  }
  return shown;
}

TEST(MainPage, StartsOnTheImpulseResponseBlockWithThePedalAsleep) {
  PagesHarness h;
  EXPECT_THAT(ShownBlockGroups(h), ElementsAre(kGroupIr));
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
  const igraphics::Colour awake = h.Pixel(kUpSwitch.MW(), kUpSwitch.T + 20);
  EXPECT_NEAR(asleep.G, 0.25 * awake.G + 0.75 * h.Pixel(kUpSwitch.L - 30, kUpSwitch.T + 20).G, 12);

  // Dragging a pedal knob edits the pedal's sound.
  const int before = pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamLevel);
  h.host.DragBy(level.L, level.T, 0, before > 64 ? 10.f : -10.f, 10);
  h.Idle(2);
  EXPECT_NE(pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamLevel), before);
  EXPECT_THAT(h.TakeReceived(), ::testing::Each(std::string("ParameterSet")));
}

TEST(MainPage, PresetRowsSelectAndTheWheelScrolls) {
  PagesHarness h;
  h.Connect();
  h.TakeReceived();
  // The upper and the lower half of a row both select the row's slot.
  const igraphics::Rect row = PresetRowRect(2);
  h.host.Click(row.MW(), row.T + 5);
  EXPECT_EQ(h.pedal.ActiveSlot(), 2);
  h.host.Click(row.MW(), PresetRowRect(3).B - 5);
  EXPECT_EQ(h.pedal.ActiveSlot(), 3);
  EXPECT_THAT(h.TakeReceived(), ElementsAre("PresetSelect", "PresetSelect"));
  h.Idle(2);  // the loaded slot scrolls to the top of the list

  // Ctrl+wheel moves by one row, the plain wheel by three, never past row 0.
  const struct {
    bool ctrl;
    float notches;
    int firstRow;
  } kWheel[] = {{true, -1, 4}, {false, -1, 7}, {false, 1, 4}, {true, 1, 3}, {false, 1, 0}, {false, 1, 0}};
  for (const auto& w : kWheel) {
    igraphics::IMouseMod mod;
    mod.C = w.ctrl;
    h.pages.Graphics().OnMouseWheel(row.MW(), row.MH(), mod, w.notches);
    h.Idle(1);
    EXPECT_EQ(h.pages.Refs().presetRows[static_cast<std::size_t>(w.firstRow)]->GetRECT().T, 228.f) << w.firstRow;
  }
  // Nor past row 109 at the end of the list.
  for (int i = 0; i < 40; ++i) h.pages.Graphics().OnMouseWheel(row.MW(), row.MH(), {}, -1);
  h.Idle(1);
  EXPECT_EQ(h.pages.Refs().presetRows[109]->GetRECT().T, 228.f);
  EXPECT_TRUE(h.pages.Refs().presetRows[108]->IsHidden());
}

TEST(MainPage, FootswitchesAmpButtonsAndTheGraph) {
  PagesHarness h;
  h.Connect();
  h.TakeReceived();
  // Holding UP steps at the press, repeats from the idle step, and selects
  // once on release.
  h.pages.Graphics().OnMouseDown(kUpSwitch.MW(), kUpSwitch.MH(), {});
  h.Idle(30);
  h.pages.Graphics().OnMouseUp(kUpSwitch.MW(), kUpSwitch.MH(), {});
  EXPECT_THAT(h.TakeReceived(), ElementsAre("PresetSelect"));
  EXPECT_EQ(h.pedal.ActiveSlot(), 3);

  // A click on the graph opens the impulse-response block; a drive knob
  // opens the drive block, whose amplifier button stores one preset.
  const igraphics::Rect drive = PedalKnobCentre(kParamDrive);
  h.host.DragBy(drive.L, drive.T, 0, -8, 4);
  h.Idle(2);
  EXPECT_THAT(ShownBlockGroups(h), ElementsAre(kGroupDrive));
  h.host.Click(1500, 900);
  h.Idle(2);
  EXPECT_THAT(ShownBlockGroups(h), ElementsAre(kGroupIr));
  // The pre-amp block's knob reaches under the graph area and keeps its presses.
  h.control.Blocks().Select(Block::kPreAmp);
  h.Idle(2);
  ASSERT_THAT(ShownBlockGroups(h), ElementsAre(kGroupPreAmp));
  const int clean = pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamCleanInputLevel);
  h.host.DragBy(1260, 990, 0, clean > 64 ? 10.f : -10.f, 4);
  h.Idle(2);
  EXPECT_NE(pedal::PayloadValue(h.pedal.Snapshot().editBuffer, kParamCleanInputLevel), clean);
  EXPECT_THAT(ShownBlockGroups(h), ElementsAre(kGroupPreAmp));
  h.host.DragBy(drive.L, drive.T, 0, -8, 4);
  h.Idle(2);
  h.TakeReceived();
  h.host.Click(517 + 70, 730 + 17);  // "liverpool"
  h.Idle(2);
  EXPECT_THAT(h.TakeReceived(), ElementsAre("PresetStore"));
  EXPECT_EQ(h.pages.Graphics().ControlByTag(83)->GetValue(), 1.0);
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
