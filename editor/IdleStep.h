#pragma once
// The 20 ms idle step of live editing and the preset display it shares with
// the main page's footswitches: the value shown on the two-digit display
// times out, a held UP or DOWN repeats, and the display blinks while a save
// (mode A) or a selection (mode B) waits for confirmation.
//
// UI thread only.

#include "device/SessionState.h"
#include "editor/LiveEdit.h"

namespace kr7 {

// The value display returns to the preset number on the tick after this.
inline constexpr int kValueDisplayTicks = 60;
// A footswitch press sets the repeat counter here: the first repeat comes
// after 24 ticks, every 4th tick, and every tick once the counter passes 20.
inline constexpr int kRepeatCounterStart = -20;
inline constexpr int kRepeatEvery = 4;
inline constexpr int kRepeatFastAfter = 20;
// Blinking: mode A runs 8 phases (hidden from phase 2), mode B 16 (hidden
// from phase 4); an armed stop ends mode A after more than 10 cycles.
inline constexpr int kBlinkPhasesA = 8;
inline constexpr int kBlinkHidePhaseA = 2;
inline constexpr int kBlinkPhasesB = 16;
inline constexpr int kBlinkHidePhaseB = 4;
inline constexpr int kBlinkStopCycles = 10;

// Slot 0..127 stepped by delta, wrapping 127 -> 0 and 0 -> 127.
int SteppedSlot(int slot, int delta);
// The preset number (slot plus "PATCH OFFSET") on the two-digit display.
void ShowPresetNumber(LiveEditHost& host, const SessionState& session);

class IdleStep {
 public:
  IdleStep(LiveEditHost& host, LiveEditState& state, SessionState& session)
      : mHost(host), mState(state), mSession(session) {}

  // One tick: value-display time-out, footswitch repeat, blinking.
  void Run();

 private:
  void TimeOutValueDisplay();
  void Repeat(bool held, int delta);
  void Blink();

  LiveEditHost& mHost;
  LiveEditState& mState;
  SessionState& mSession;
};

}  // namespace kr7
