// Finding the pedal on a JACK server with two other MIDI programs beside it:
// a fresh editor with no ports chosen opens and stores the pedal's pair (which
// the preferences dialog then shows), and the programs that never answer
// receive nothing but identity requests.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "app/shell/PedalDetection.h"
#include "device/MessagePump.h"
#include "device/Messages.h"
#include "device/ports/MidiPortProbe.h"
#include "pedal/FactoryContent.h"
#include "pedal/jack/JackMidiEndpoint.h"
#include "pedal/VirtualPedal.h"
#include "tests/support/JackServer.h"
#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

constexpr std::array kJackOnly = {MidiBackend::Jack};
constexpr auto kSearchTimeout = std::chrono::seconds(20);

// A MIDI program that listens and never answers.
struct SilentProgram {
  explicit SilentProgram(const std::string& name) {
    endpoint.Open({name, ""}, [this](ByteSpan m) {
      std::lock_guard lock(mutex);
      received.emplace_back(m.begin(), m.end());
    }, nullptr);
  }
  std::vector<Bytes> Received() {
    std::lock_guard lock(mutex);
    return received;
  }
  pedal::JackMidiEndpoint endpoint;
  std::mutex mutex;
  std::vector<Bytes> received;
};

class PortsHost : public PreferencesHost {
 public:
  PortsHost(MidiPorts& ports, SettingsFile& file, AppSettings& settings)
      : ports(ports), file(file), settings(settings) {}
  const std::vector<std::string>& MidiInputNames() const override { return ports.InputNames(); }
  const std::vector<std::string>& MidiOutputNames() const override { return ports.OutputNames(); }
  void SelectMidiInput(const std::string& name) override { ports.SelectInput(name); }
  void SelectMidiOutput(const std::string& name) override { ports.SelectOutput(name); }
  const AppSettings& LastAudioStart() const override { return settings; }
  void RestartAudio() override {}
  void RecreateAudioDriver() override {}
  void WriteSettings() override { file.Write(settings); }
  MidiPorts& ports;
  SettingsFile& file;
  AppSettings& settings;
};

TEST(PedalDetectionJack, FreshEditorFindsAndStoresThePedalsPair) {
  jacktest::JackServer server;
  ASSERT_TRUE(server.Start(std::chrono::seconds(5)));
  // Registered first, so their ports are listed, and asked, before the pedal's.
  SilentProgram synth("kr7-synth"), sequencer("kr7-sequencer");
  ASSERT_TRUE(synth.endpoint.IsOpen() && sequencer.endpoint.IsOpen());
  pedal::VirtualPedal virtualPedal(pedal::MakeFactoryState());
  pedal::JackMidiEndpoint pedalPorts;
  std::vector<Bytes> pedalReceived;
  std::mutex pedalMutex;
  ASSERT_TRUE(pedalPorts.Open({"kr7-finder-pedal", ""}, [&](ByteSpan m) {
    { std::lock_guard lock(pedalMutex); pedalReceived.emplace_back(m.begin(), m.end()); }
    virtualPedal.Receive(m);
  }, nullptr));
  virtualPedal.SetReplySink([&](ByteSpan reply) { pedalPorts.Send(reply); });

  test::TempFolder data;
  SettingsFile file(data.Path());
  AppSettings settings = file.LoadAndRewrite();
  MessagePump pump;
  MidiPorts ports(pump, kJackOnly);
  PortsHost host(ports, file, settings);
  host.SelectMidiInput(settings.midi.inputPort);  // "no input" matches nothing: off
  host.SelectMidiOutput(settings.midi.outputPort);
  SessionState session;
  MidiPortProbe probe(MidiBackend::Jack);
  std::string status;
  PedalDetection detection(probe, host, settings, session,
                           [&](std::string_view text, bool) { status = text; });

  const auto deadline = std::chrono::steady_clock::now() + kSearchTimeout;
  do {
    detection.Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the device tick
  } while ((detection.Searching() || detection.State() == PedalSearch::State::Idle) &&
           std::chrono::steady_clock::now() < deadline);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // late arrivals
  virtualPedal.SetReplySink(pedal::ReplySink());

  ASSERT_EQ(detection.State(), PedalSearch::State::Found) << status;
  const AppSettings stored = SettingsFile(data.Path()).LoadAndRewrite();
  EXPECT_EQ(stored.midi.inputPort, pedalPorts.OutPortFullName());
  EXPECT_EQ(stored.midi.outputPort, pedalPorts.InPortFullName());
  EXPECT_EQ(ports.SelectedOutput(), pedalPorts.InPortFullName());
  EXPECT_NE(status.find(pedalPorts.OutPortFullName()), std::string::npos);
  // The preferences dialog's view of the ended search: the line and the entries of the pair.
  PreferencesSession dialog(settings, host);
  const std::optional<FindPedalResult> ended = FindPedalEnded(detection, dialog);
  ASSERT_TRUE(ended && ended->found);
  EXPECT_EQ(ended->text, kFoundText);
  EXPECT_EQ(host.MidiInputNames().at(ended->found->input), pedalPorts.OutPortFullName());
  EXPECT_EQ(host.MidiOutputNames().at(ended->found->output), pedalPorts.InPortFullName());
  const Bytes identityRequest = build::GlobalRequest(kGlobalIdentity);
  for (SilentProgram* other : {&synth, &sequencer}) {
    const std::vector<Bytes> received = other->Received();
    EXPECT_FALSE(received.empty()) << other->endpoint.ClientName() << " was never asked";
    for (const Bytes& m : received) EXPECT_EQ(m, identityRequest) << MessageName(m);
  }
  std::lock_guard lock(pedalMutex);
  EXPECT_EQ(pedalReceived, std::vector<Bytes>{identityRequest});
}

}  // namespace
}  // namespace kr7
