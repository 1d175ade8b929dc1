// The whole start-up conversation over a real (dummy-driver) JACK server: the
// editor's MIDI ports and pumping audio stream on one side, the virtual pedal
// on its own JACK client on the other. The receive handler runs on the audio
// thread, the device tick and the 20 ms timer on this thread, so under
// ThreadSanitizer this is the check of the hand-over between them.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "app/core/KR7Control.h"
#include "device/ports/AudioStream.h"
#include "device/ports/MidiPorts.h"
#include "model/EditorView.h"
#include "pedal/FactoryContent.h"
#include "pedal/jack/JackMidiEndpoint.h"
#include "pedal/VirtualPedal.h"
#include "tests/integration/JackTestFixture.h"
#include "tests/support/TempFolder.h"

namespace kr7::jacktest {
namespace {

constexpr std::array kJackOnly = {MidiBackend::Jack};
// A deadline for failing, not a speed target: sanitized clients on a loaded
// machine take many times longer than a plain build.
constexpr auto kSyncTimeout = std::chrono::seconds(30);
// Ticks are driven faster than the program's 100 ms so the test stays short;
// the session counts ticks, not time.
constexpr auto kTickInterval = std::chrono::milliseconds(2);

// The window as far as this test looks at it; called on this thread only.
class TextView : public EditorView {
 public:
  void SetControlText(int tag, std::string_view text) override { texts[tag] = std::string(text); }
  void SetControlTextColour(int, igraphics::Colour) override {}
  void SetControlValue(int, double) override {}
  void SetControlHidden(int, bool) override {}
  void SetControlDisabled(int, bool) override {}
  void SetGroupHidden(std::string_view group, bool hidden) override {
    groupsHidden[std::string(group)] = hidden;
  }
  void SetGroupDisabled(std::string_view, bool) override {}
  void SendParameterValueFromDelegate(int index, double value) override { params[index] = value; }
  bool ShowMessage(std::string_view, std::string_view, bool) override { return true; }
  std::optional<std::string> AskForFile(const FileRequest&) override { return std::nullopt; }
  void OpenLink(std::string_view) override {}

  std::map<int, std::string> texts;
  std::map<std::string, bool> groupsHidden;
  std::map<int, double> params;
};

class SessionJackTest : public JackTest {
 protected:
  void SetUp() override {
    JackTest::SetUp();
    std::string error;
    ASSERT_TRUE(endpoint.Open(
        {"kr7-session-pedal", ""}, [this](ByteSpan message) { pedal.Receive(message); }, &error))
        << error;
    pedal.SetReplySink([this](ByteSpan reply) { endpoint.Send(reply); });
  }
  void TearDown() override {
    pedal.SetReplySink(pedal::ReplySink());
    endpoint.Close();
    JackTest::TearDown();
  }

  test::TempFolder data;
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  pedal::JackMidiEndpoint endpoint;
};

TEST_F(SessionJackTest, FirstStartFetchesEveryPresetOverJack) {
  TextView view;
  KR7Control editor{DataFolder(data.Path())};
  editor.OnWindowOpen(&view);
  MidiPorts ports(editor.Pump(), kJackOnly);
  ASSERT_TRUE(ports.SelectInput(endpoint.OutPortFullName()));
  ASSERT_TRUE(ports.SelectOutput(endpoint.InPortFullName()));
  editor.SetSysExSender(&ports);
  AudioStream audio(editor.Pump());
  AudioSettings settings;
  settings.driver = kAudioDriverJack;
  settings.outputDevice = "system";
  settings.inputDevice = "system";
  ASSERT_TRUE(audio.Start(settings));

  const auto deadline = std::chrono::steady_clock::now() + kSyncTimeout;
  bool loaded = false;
  while (!loaded && std::chrono::steady_clock::now() < deadline) {
    editor.OnDeviceTick();
    editor.OnFrameworkTimer();
    std::this_thread::sleep_for(kTickInterval);
    loaded = editor.Session().connected.load() && !editor.Session().fetching.load() &&
             !editor.Session().activePresetPending.load() && view.texts.count(kTagPresetName) > 0;
  }
  audio.Stop();
  editor.OnFrameworkTimer();
  editor.OnWindowClose();
  editor.SetSysExSender(nullptr);

  ASSERT_TRUE(loaded) << "the session did not load the active preset in time: connected "
                      << editor.Session().connected.load() << ", fetching "
                      << editor.Session().fetching.load() << " at slot "
                      << editor.Session().fetchSlot.load() << ", version line \""
                      << view.texts[kTagVersionLine] << "\"";
  const pedal::PedalState state = pedal.Snapshot();
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    EXPECT_FALSE(editor.Cache().IsStale(slot)) << "slot " << slot;
    EXPECT_EQ(editor.Cache().Checksum(slot),
              PresetCache::ComputeChecksum(state.presets[static_cast<std::size_t>(slot)]))
        << "slot " << slot;
  }
  EXPECT_EQ(view.texts[kTagSerialLine], "SERIAL: KR7-VIRTUAL-000001");
  EXPECT_EQ(view.texts[kTagPresetProgressText], "100 %");
  EXPECT_TRUE(view.groupsHidden[std::string(kGroupPresetProgress)]);
}

}  // namespace
}  // namespace kr7::jacktest
