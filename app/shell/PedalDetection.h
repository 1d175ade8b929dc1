#pragma once
// When the editor finds the pedal by itself: at start when no MIDI port pair
// is chosen, or when the chosen pair has not answered the session's identity
// request within 3 s of the first one (sent once the ports are open); and whenever the user asks ("Find
// Pedal"). The pair that answers is opened, stored in settings.ini and named
// on the device line; when nothing answers the previous choice is reopened.
//
// While a search runs the editor's own ports are closed, so the session can
// neither hear an identity block meant for the search nor send anything but
// the search's identity requests to a port that has not answered.
//
// Threads: UI thread only.

#include <functional>
#include <optional>
#include <string_view>

#include "app/shell/Preferences.h"
#include "device/PedalSearch.h"
#include "device/SessionState.h"
#include "model/UserTexts.h"

namespace kr7 {

// Ticks from the opening of the ports that the chosen pair is given to answer
// the session's first identity request before a search starts.
inline constexpr int kChosenPairAnswerTicks = 30;

class PedalDetection {
 public:
  // Shows a line of text about the search. reconnect is true when the search
  // ends with a pair open that the session should greet afresh: the pair
  // found (already stored), or the old pair of a session that was connected
  // before the search closed its ports and may have lost messages meanwhile.
  using StatusHook = std::function<void(std::string_view text, bool reconnect)>;

  PedalDetection(PortProbe& probe, PreferencesHost& host, AppSettings& settings,
                 const SessionState& session, StatusHook status);

  // Starts a search now, unless one runs.
  void Find();
  // Every 100 ms: the start-up watch, then the search's own step.
  void Tick();
  bool Searching() const { return mSearch.Running(); }
  PedalSearch::State State() const { return mSearch.GetState(); }

 private:
  void Watch();
  void Conclude();

  PreferencesHost& mHost;
  AppSettings& mSettings;
  const SessionState& mSession;
  StatusHook mStatus;
  PedalSearch mSearch;
  bool mWatching = true;
  bool mWasConnected = false;
  int mTicks = 0;
};

// "Find Pedal" in the preferences dialog, once its search has ended: the line
// to show and, when a pedal was found, the entries of the pair the search
// stored (kept even if the dialog is cancelled).
struct FindPedalResult {
  std::string_view text;
  std::optional<PreferencesSession::Selection> found;
};
// Nothing while the search still runs.
std::optional<FindPedalResult> FindPedalEnded(const PedalDetection& detection,
                                              PreferencesSession& session);

}  // namespace kr7
