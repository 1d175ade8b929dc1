// The editor's application object talking to the virtual pedal in process:
// the editor's sends go straight into the pedal, the pedal's replies are
// queued and handed to the editor's receive handler between device ticks, as
// the audio thread would.

#include <gmock/gmock.h>

#include "app/core/KR7Control.h"
#include "model/FileIO.h"
#include "tests/pedal/PedalHarness.h"
#include "tests/support/PedalLoopback.h"
#include "tests/support/TempFolder.h"

namespace kr7::pedal::test {
namespace {

// The identity request goes out at the first tick; give the whole start-up
// (checksums, a fetch of 128 presets one per reply, settings, active preset)
// room to finish.
constexpr int kStartTicks = 60;

class EditorLoopback : public ::testing::Test {
 protected:
  EditorLoopback() : control(DataFolder(folder.Path())), link(control, pedal) {}

  void Deliver() { link.Deliver(); }

  void Tick(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      control.OnDeviceTick();
      Deliver();
      control.OnFrameworkTimer();
    }
  }

  kr7::test::TempFolder folder;
  VirtualPedal pedal{MakeFactoryState()};
  KR7Control control;
  kr7::test::PedalLoopback link;
};

TEST_F(EditorLoopback, StartUpConnectsFetchesAndShowsTheActivePreset) {
  Tick(kStartTicks);
  EXPECT_TRUE(control.Session().connected.load());
  EXPECT_FALSE(control.Session().fetching.load());
  EXPECT_EQ(control.Session().currentPreset.load(), 0);
  const PedalState state = pedal.Snapshot();
  for (int index : {kParamLevel, kParamGain, kParamReverbExtensionFactor, kParamPresetLevel}) {
    EXPECT_EQ(control.Parameters().ParamInt(index), PayloadValue(state.editBuffer, index)) << index;
  }
  // Every slot went into the editor's cache as the pedal holds it.
  for (int slot : {0, 5, 127}) {
    FileReader reader(control.Cache().SlotPath(slot));
    ASSERT_TRUE(reader.IsOpen()) << slot;
    const Bytes cached = reader.ReadAll(kPresetPayloadSize + 1);
    EXPECT_TRUE(std::equal(cached.begin(), cached.end(),
                           state.presets[static_cast<std::size_t>(slot)].begin(),
                           state.presets[static_cast<std::size_t>(slot)].end()))
        << slot;
  }
}

TEST_F(EditorLoopback, PedalKnobAndPresetStepReachTheEditor) {
  Tick(kStartTicks);
  ASSERT_TRUE(control.Session().connected.load());
  pedal.TurnKnob(kParamGain, 17);
  Deliver();
  EXPECT_EQ(control.Parameters().ParamInt(kParamGain), 17);
  pedal.StepToPreset(9);
  Deliver();
  EXPECT_EQ(control.Session().currentPreset.load(), 9);
  EXPECT_EQ(control.Parameters().ParamInt(kParamLevel), PayloadValue(DeterministicPreset(9), kParamLevel));
}

TEST_F(EditorLoopback, EditorLiveEditReachesThePedalsEditBuffer) {
  Tick(kStartTicks);
  ASSERT_TRUE(control.Session().connected.load());
  const int wanted = (control.Parameters().ParamInt(kParamMid) + 10) % 128;
  control.Parameters().SetParameterFromRaw(kParamMid, wanted);  // as a moved control would
  Deliver();
  EXPECT_EQ(PayloadValue(pedal.Snapshot().editBuffer, kParamMid), wanted);
}

}  // namespace
}  // namespace kr7::pedal::test
