#include "app/shell/PedalDetection.h"

#include <string>

#include "device/ports/MidiPorts.h"

namespace kr7 {

PedalDetection::PedalDetection(PortProbe& probe, PreferencesHost& host, AppSettings& settings,
                               const SessionState& session, StatusHook status)
    : mHost(host), mSettings(settings), mSession(session), mStatus(std::move(status)),
      mSearch(probe) {}

void PedalDetection::Find() {
  if (Searching()) return;
  mWatching = false;
  mWasConnected = mSession.connected.load();
  const std::string off(kMidiPortOff);
  mHost.SelectMidiInput(off);
  mHost.SelectMidiOutput(off);
  mStatus(kSearchingText, false);
  mSearch.Start(SearchCandidates(mHost.MidiInputNames()),
                SearchCandidates(mHost.MidiOutputNames()));
  if (!Searching()) Conclude();
}

void PedalDetection::Tick() {
  if (mWatching) Watch();
  if (!Searching()) return;
  mSearch.Tick();
  if (!Searching()) Conclude();
}

void PedalDetection::Watch() {
  if (mSession.connected.load()) {
    mWatching = false;
    return;
  }
  const bool chosen =
      mSettings.midi.inputPort != kMidiPortOff && mSettings.midi.outputPort != kMidiPortOff;
  if (!chosen || ++mTicks > kChosenPairAnswerTicks) Find();
}

void PedalDetection::Conclude() {
  const std::optional<PortPair>& found = mSearch.Result();
  if (!found) {
    mHost.SelectMidiInput(mSettings.midi.inputPort);
    mHost.SelectMidiOutput(mSettings.midi.outputPort);
    mStatus(kNotFoundText, mWasConnected);
    return;
  }
  mSettings.midi.inputPort = found->input;
  mSettings.midi.outputPort = found->output;
  mHost.SelectMidiInput(found->input);
  mHost.SelectMidiOutput(found->output);
  mHost.WriteSettings();
  mStatus(std::string(kFoundTextPrefix) + found->input + " / " + found->output, true);
}

std::optional<FindPedalResult> FindPedalEnded(const PedalDetection& detection,
                                              PreferencesSession& session) {
  if (detection.Searching()) return std::nullopt;
  if (detection.State() != PedalSearch::State::Found) return FindPedalResult{kNotFoundText, {}};
  return FindPedalResult{kFoundText, session.KeepFoundPorts()};
}

}  // namespace kr7
