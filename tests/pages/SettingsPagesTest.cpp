// The global settings page and the two MIDI pages, clicked through headless
// against the virtual pedal; pictures of the pages go to the temporary folder.

#include <filesystem>

#include "model/CommandCodes.h"
#include "model/UserTexts.h"
#include "tests/pages/PagesHarness.h"
#include "ui/ITextControl.h"
#include "ui/IVNumberBoxControl.h"

namespace kr7::pages::test {
namespace {

template <class Control>
Control& At(PagesHarness& h, float x, float y) {
  return dynamic_cast<Control&>(*h.pages.Graphics().GetMouseControl(x, y, false));
}
std::string Number(PagesHarness& h, float x, float y) { return At<igraphics::IVNumberBoxControl>(h, x, y).DisplayText(); }
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
  state.controllerMap[0] = 30;
  state.controllerMap[7] = 74;
  h.pedal.ReplaceState(state);
  ASSERT_TRUE(h.control.OnCommand(kCommandGlobalSettings));
  h.Idle(2);
  h.host.Render();
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings) && h.WritePng("settings-page"));
  EXPECT_EQ(At<igraphics::ITextControl>(h, 860, 300).GetStr(), "1-128");  // "PATCH OFFSET"

  Press(h, 1250, 503);  // SETUP beside MIDI CC MODE
  EXPECT_TRUE(h.Shown(kGroupMidiCc) && !h.Shown(kGroupGlobalSettings) && h.WritePng("midi-cc-page"));
  EXPECT_EQ(Number(h, 1160, 375) + " " + Number(h, 1160, 725), "30 74");
  h.host.DragBy(1160, 375, 0, -1, 5);
  Press(h, 1100, 275);  // BACK
  EXPECT_EQ(h.pedal.Snapshot().controllerMap[0], 35);
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings) && !h.Shown(kGroupMidiCc));

  Press(h, 1250, 303);  // SETUP beside MIDI MAPPING: controller program 5 → pedal program 17
  h.host.DragBy(975, 540, 0, -1, 5);
  h.host.DragBy(1225, 540, 0, -1, 12);
  EXPECT_TRUE(h.Shown(kGroupMidiProgram) && h.WritePng("midi-program-page"));
  Press(h, 1100, 275);
  EXPECT_EQ(h.pedal.Snapshot().programMap[5], 17);
  EXPECT_EQ(h.pedal.Snapshot().programMap[6], 6);

  Press(h, 500, 500);  // the image keeps the page, the strip below it closes it
  EXPECT_TRUE(h.Shown(kGroupGlobalSettings));
  Press(h, 500, 1150);
  EXPECT_FALSE(h.Shown(kGroupGlobalSettings));
  EXPECT_TRUE(h.control.Session().polling.load());

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
  const std::string question(kResetQuestion);
  EXPECT_EQ(h.host.Messages, (std::vector<std::string>{question, question, std::string(kFinishedText)}));
}

}  // namespace
}  // namespace kr7::pages::test
