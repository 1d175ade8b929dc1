// The built-in virtual pedal as the editor meets it: a link whose replies
// come on the pedal's own thread, the pump driven by its timer and by the
// input callback (no audio stream), the pedal's state kept across starts.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "app/core/KR7Control.h"
#include "device/PumpTimer.h"
#include "model/UserTexts.h"
#include "pedal/BuiltInPedal.h"
#include "tests/support/TempFolder.h"

namespace kr7::pedal {
namespace {

// One run of the editor on the built-in pedal, wired as the shell wires it.
struct EditorRun {
  explicit EditorRun(const std::string& folder)
      : control(DataFolder(folder)),
        link(folder + "/VirtualPedal", {}, [this](ByteSpan reply) { control.Pump().OnMidiInput(reply); }) {
    control.SetSysExSender(&link);
    link.SetListening(true);
    control.Pump().SetReceiveOnInput(true);
    timer.emplace(control.Pump());
  }
  ~EditorRun() {
    control.OnWindowClose();
    control.Pump().SetShuttingDown();
    timer.reset();
    control.SetSysExSender(nullptr);
  }
  // Device ticks and timer steps until the start-up conversation is over;
  // the bound only keeps a dead link from hanging the test.
  bool WaitForSync() {
    const SessionState& s = control.Session();
    for (int tick = 0; tick < 3000; ++tick) {
      if (s.connected.load() && !s.fetching.load() && !s.activePresetPending.load()) return true;
      control.OnDeviceTick();
      control.OnFrameworkTimer();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  KR7Control control;
  BuiltInPedal link;
  std::optional<PumpTimer> timer;
};

TEST(BuiltInPedal, OfflineEditSurvivesARestart) {
  test::TempFolder folder;
  int level = 0;
  {
    EditorRun run(folder.Path());
    ASSERT_TRUE(run.WaitForSync());
    level = (run.control.Parameters().ParamInt(kParamLevel) + 11) % 100;
    run.control.Parameters().SetParameterFromRaw(kParamLevel, level);  // a knob turned
    run.control.MainPage().NameEntered("OFFLINE");                    // stored into slot 0
  }
  EditorRun again(folder.Path());
  ASSERT_TRUE(again.WaitForSync());
  PedalState saved;
  ASSERT_GT(StateStore(folder / "VirtualPedal").Load(saved), 0);
  EXPECT_EQ(PayloadValue(saved.presets[0], kParamLevel), level);
  EXPECT_EQ(again.link.Pedal().Snapshot().serial, kBuiltInPedalSerial);
  EXPECT_NE(again.control.Cache().ListText(0).find("OFFLINE"), std::string::npos);
  EXPECT_EQ(again.control.Parameters().ParamInt(kParamLevel), level);
}

}  // namespace
}  // namespace kr7::pedal
