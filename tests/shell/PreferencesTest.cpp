#include "app/shell/Preferences.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kr7 {
namespace {

// Records what the dialog asked of the shell.
class FakeHost : public PreferencesHost {
 public:
  const std::vector<std::string>& MidiInputNames() const override { return inputs; }
  const std::vector<std::string>& MidiOutputNames() const override { return outputs; }
  void SelectMidiInput(const std::string& name) override { calls.push_back("in:" + name); }
  void SelectMidiOutput(const std::string& name) override { calls.push_back("out:" + name); }
  const AppSettings& LastAudioStart() const override { return lastStart; }
  void RestartAudio() override { calls.push_back("restart"); }
  void RecreateAudioDriver() override { calls.push_back("driver"); }
  void WriteSettings() override { calls.push_back("write"); }

  std::vector<std::string> inputs{"off", "KR7 MIDI 1", "Other In"};
  std::vector<std::string> outputs{"off", "KR7 MIDI 1", "Other Out"};
  AppSettings lastStart;
  std::vector<std::string> calls;
};

AppSettings StoredPorts(const std::string& in, const std::string& out) {
  AppSettings settings;
  settings.midi.inputPort = in;
  settings.midi.outputPort = out;
  return settings;
}

TEST(Preferences, OpeningSelectsTheStoredPortsAndTurnsMissingOnesOff) {
  FakeHost host;
  AppSettings settings = StoredPorts("KR7 MIDI 1", "Gone Away");
  PreferencesSession dialog(settings, host);
  PreferencesSession::Selection selection = dialog.Open();
  EXPECT_EQ(selection.input, 1);
  EXPECT_EQ(selection.output, 0);
  EXPECT_EQ(settings.midi.outputPort, "off");
  EXPECT_EQ(host.calls, std::vector<std::string>{"write"});
}

TEST(Preferences, ChoosingOffClosesAtOnceAndCancelRestoresTheNameWithoutReopening) {
  FakeHost host;
  AppSettings settings = StoredPorts("KR7 MIDI 1", "KR7 MIDI 1");
  host.lastStart = settings;
  PreferencesSession dialog(settings, host);
  dialog.Open();
  dialog.ChooseOutput(0);
  EXPECT_EQ(host.calls, std::vector<std::string>{"out:off"});
  EXPECT_EQ(settings.midi.outputPort, "off");

  dialog.Cancel();
  EXPECT_EQ(settings.midi.outputPort, "KR7 MIDI 1");
  // The audio is rebuilt, but no port is selected again.
  EXPECT_EQ(host.calls, (std::vector<std::string>{"out:off", "driver", "restart"}));
}

TEST(Preferences, CancelWithoutChangesDoesNothing) {
  FakeHost host;
  AppSettings settings = StoredPorts("off", "off");
  PreferencesSession dialog(settings, host);
  dialog.Open();
  dialog.Cancel();
  EXPECT_TRUE(host.calls.empty());
}

TEST(Preferences, OkRestartsTheAudioOnlyWhenSettingsDifferFromTheLastStart) {
  FakeHost host;
  AppSettings settings = StoredPorts("off", "off");
  host.lastStart = settings;
  PreferencesSession dialog(settings, host);
  dialog.Open();
  dialog.Ok();
  EXPECT_TRUE(host.calls.empty());

  dialog.ChooseInput(2);
  dialog.Ok();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"in:Other In", "restart"}));
  dialog.Apply();
  EXPECT_EQ(host.calls.back(), "restart");
}

TEST(Preferences, OutOfRangeChoicesAreIgnored) {
  FakeHost host;
  AppSettings settings = StoredPorts("off", "off");
  PreferencesSession dialog(settings, host);
  dialog.Open();
  dialog.ChooseInput(-1);
  dialog.ChooseOutput(3);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(settings.midi.outputPort, "off");
}

}  // namespace
}  // namespace kr7
