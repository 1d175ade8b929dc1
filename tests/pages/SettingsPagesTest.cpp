// The global settings page and the two MIDI pages, clicked through headless
// against the virtual pedal; pictures of the pages go to the temporary folder.

#include <gmock/gmock.h>

#include <filesystem>

#include "model/CommandCodes.h"
#include "model/UserTexts.h"
#include "tests/pages/PagesHarness.h"
#include "ui/IPopupMenu.h"
#include "ui/ITextControl.h"
#include "ui/IVNumberBoxControl.h"

namespace kr7::pages::test {
namespace {

template <class Control>
Control& At(PagesHarness& h, float x, float y) {
  return dynamic_cast<Control&>(*h.pages.Graphics().GetMouseControl(x, y, false));
}
void Press(PagesHarness& h, float x, float y) {
  h.host.Click(x, y);
  h.Idle(10);  // the press animation, then the pedal's reply
  h.host.Render();
}

TEST(SettingsPages, EveryPageAgainstThePedal) {
  PagesHarness h;
  h.Connect();
  pedal::PedalState state = h.pedal.Snapshot();
  state.globals[kParamPatchOffset - kParamDefineMidiMapping] = 1;
  state.controllerMap[0] = 30, state.controllerMap[7] = 74;
  h.pedal.ReplaceState(state);
  ASSERT_TRUE(h.control.OnCommand(kCommandGlobalSettings));
  Press(h, 500, 500);  // on the image: the page stays
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings));
  EXPECT_EQ(At<igraphics::ITextControl>(h, 860, 300).GetStr(), "1-128");  // "PATCH OFFSET"
  Press(h, 1080, 600);  // "MIDI CHANNEL SELECT" opens its values; "Channel 3" goes to the pedal
  const igraphics::Rect item = h.pages.Graphics().GetPopupMenu()->GetItemRect(3);
  Press(h, item.MW(), item.MH());
  EXPECT_EQ(h.pedal.Snapshot().globals[kParamMidiCcChannel - kParamDefineMidiMapping], 3);

  Press(h, 1250, 503);  // SETUP beside MIDI CC MODE
  EXPECT_TRUE(h.Shown(kGroupMidiCc) && !h.Shown(kGroupGlobalSettings));
  EXPECT_EQ(At<igraphics::IVNumberBoxControl>(h, 1160, 375).DisplayText(), "30");
  EXPECT_EQ(At<igraphics::IVNumberBoxControl>(h, 1160, 725).DisplayText(), "74");
  h.host.DragBy(1160, 375, 0, -1, 5);
  Press(h, 1100, 275);  // BACK
  EXPECT_EQ(h.pedal.Snapshot().controllerMap[0], 35);
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings) && !h.Shown(kGroupMidiCc));

  Press(h, 1250, 303);  // SETUP beside MIDI MAPPING: controller program 5 → pedal program 17
  h.host.DragBy(975, 540, 0, -1, 5);
  h.host.DragBy(1225, 540, 0, -1, 12);
  EXPECT_TRUE(h.Shown(kGroupMidiProgram));
  Press(h, 1100, 275);
  const auto map = h.pedal.Snapshot().programMap;
  EXPECT_EQ(std::vector<int>(map.begin() + 5, map.begin() + 7), (std::vector<int>{17, 6}));

  Press(h, 500, 1150);  // the strip below the image closes the page
  EXPECT_TRUE(!h.Shown(kGroupGlobalSettings) && h.control.Session().polling.load());

  // PRESETS: Cancel keeps the cache and sends nothing, OK clears it first.
  const std::string cached = h.folder / "Presets/001.dat";
  ASSERT_TRUE(h.control.OnCommand(kCommandGlobalSettings));
  h.host.MessageAnswer = igraphics::kCancel;
  h.Idle(2);
  h.received.clear();
  Press(h, 1080, 825);
  EXPECT_TRUE(std::filesystem::exists(cached) && h.received.empty());
  h.host.MessageAnswer = igraphics::kOK;
  Press(h, 1080, 825);
  EXPECT_FALSE(std::filesystem::exists(cached));
  EXPECT_EQ(h.received, std::vector<Bytes>{build::FactoryReset(1)});
  h.Tick(1);  // the pedal's DoneAck
  EXPECT_THAT(h.host.Messages,
              ::testing::ElementsAre(kResetQuestion, kResetQuestion, kFinishedText));
  Press(h, 1470, 240);  // "X"
  EXPECT_FALSE(h.Shown(kGroupGlobalSettings));
}

}  // namespace
}  // namespace kr7::pages::test
