#include "app/shell/Preferences.h"

#include <algorithm>

namespace kr7 {
namespace {
constexpr const char* kOff = "off";
}

PreferencesSession::PreferencesSession(AppSettings& settings, PreferencesHost& host)
    : mSettings(settings), mHost(host), mCopy(settings) {}

int PreferencesSession::IndexOf(const std::vector<std::string>& names, const std::string& name) {
  auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

PreferencesSession::Selection PreferencesSession::Open() {
  Selection selection;
  bool changed = false;
  auto resolve = [&changed](const std::vector<std::string>& names, std::string& stored) {
    int index = IndexOf(names, stored);
    if (index < 0) {
      stored = kOff;
      changed = true;
      index = 0;
    }
    return index;
  };
  selection.input = resolve(mHost.MidiInputNames(), mSettings.midi.inputPort);
  selection.output = resolve(mHost.MidiOutputNames(), mSettings.midi.outputPort);
  if (changed) mHost.WriteSettings();
  mCopy = mSettings;
  return selection;
}

void PreferencesSession::ChooseInput(int index) {
  const auto& names = mHost.MidiInputNames();
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  mSettings.midi.inputPort = names[index];
  mHost.SelectMidiInput(mSettings.midi.inputPort);
}

void PreferencesSession::ChooseOutput(int index) {
  const auto& names = mHost.MidiOutputNames();
  if (index < 0 || index >= static_cast<int>(names.size())) return;
  mSettings.midi.outputPort = names[index];
  mHost.SelectMidiOutput(mSettings.midi.outputPort);
}

PreferencesSession::Selection PreferencesSession::KeepFoundPorts() {
  mCopy.midi.inputPort = mSettings.midi.inputPort;
  mCopy.midi.outputPort = mSettings.midi.outputPort;
  return {std::max(0, IndexOf(mHost.MidiInputNames(), mSettings.midi.inputPort)),
          std::max(0, IndexOf(mHost.MidiOutputNames(), mSettings.midi.outputPort))};
}

void PreferencesSession::Ok() {
  if (!(mSettings == mHost.LastAudioStart())) mHost.RestartAudio();
}

void PreferencesSession::Apply() { mHost.RestartAudio(); }

void PreferencesSession::Cancel() {
  if (mSettings == mCopy) return;
  mSettings = mCopy;
  mHost.RecreateAudioDriver();
  mHost.RestartAudio();
}

}  // namespace kr7
