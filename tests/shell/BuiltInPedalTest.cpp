// The pedal search never takes the built-in virtual pedal for the pedal,
// though it answers like one.

#include <gtest/gtest.h>

#include "app/shell/PedalDetection.h"
#include "model/UserTexts.h"

namespace kr7 {
namespace {

TEST(BuiltInPedal, PedalSearchSkipsIt) {
  struct Probe : PortProbe {
    bool Open(std::span<const std::string> in, std::span<const std::string> out, Listener) override {
      opened.insert(opened.end(), in.begin(), in.end());
      opened.insert(opened.end(), out.begin(), out.end());
      return true;
    }
    bool SendTo(std::size_t, ByteSpan) override { return true; }
    void Close() override {}
    std::vector<std::string> opened;
  } probe;
  struct Host : PreferencesHost {
    const std::vector<std::string>& MidiInputNames() const override { return names; }
    const std::vector<std::string>& MidiOutputNames() const override { return names; }
    void SelectMidiInput(const std::string&) override {}
    void SelectMidiOutput(const std::string&) override {}
    const AppSettings& LastAudioStart() const override { return settings; }
    void RestartAudio() override {}
    void RecreateAudioDriver() override {}
    void WriteSettings() override {}
    std::vector<std::string> names{"off", "USB MIDI 1", std::string(kBuiltInPedalPortName)};
    AppSettings settings;
  } host;
  SessionState session;
  PedalDetection detection(probe, host, host.settings, session, [](std::string_view, bool) {});
  detection.Find();
  for (int tick = 0; tick < 20; ++tick) detection.Tick();
  EXPECT_EQ(probe.opened, (std::vector<std::string>{"USB MIDI 1", "USB MIDI 1"}));
  EXPECT_EQ(detection.State(), PedalSearch::State::NotFound);
}

}  // namespace
}  // namespace kr7
