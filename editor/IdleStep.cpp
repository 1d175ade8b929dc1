#include "editor/IdleStep.h"

#include "model/ControlTags.h"
#include "editor/ValueTexts.h"
#include "model/PresetCache.h"

namespace kr7 {

int SteppedSlot(int slot, int delta) {
  constexpr int kSlots = PresetCache::kNumSlots;
  return ((slot + delta) % kSlots + kSlots) % kSlots;
}

void ShowPresetNumber(LiveEditHost& host, const SessionState& session) {
  if (!host.HasWindow()) return;
  host.View().SetControlText(kTagPresetNumber, TwoDigits(session.currentPreset.load() +
                                                          host.ParamInt(kParamPatchOffset)));
}

void IdleStep::Run() {
  TimeOutValueDisplay();
  Repeat(mState.upHeld, +1);
  Repeat(mState.downHeld, -1);
  Blink();
}

void IdleStep::TimeOutValueDisplay() {
  if (!mState.valueDisplayActive.load()) return;
  if (mState.valueDisplayTicks.fetch_add(1) + 1 <= kValueDisplayTicks) return;
  mState.valueDisplayActive.store(false);
  ShowPresetNumber(mHost, mSession);
}

void IdleStep::Repeat(bool held, int delta) {
  if (!held) return;
  const int counter = ++mState.repeatCounter;
  if (counter <= 0 || (counter <= kRepeatFastAfter && counter % kRepeatEvery != 0)) return;
  mSession.currentPreset.store(SteppedSlot(mSession.currentPreset.load(), delta));
  ShowPresetNumber(mHost, mSession);
}

void IdleStep::Blink() {
  const bool modeA = mState.blinkModeA.load();
  if (!modeA && !mState.blinkModeB.load()) return;
  const int phases = modeA ? kBlinkPhasesA : kBlinkPhasesB;
  const int hidePhase = modeA ? kBlinkHidePhaseA : kBlinkHidePhaseB;
  const int phase = mState.blinkPhase % phases;
  mState.blinkPhase = (phase + 1) % phases;
  // A held footswitch shows the number it steps through.
  const bool footswitchHeld = mState.upHeld || mState.downHeld;
  if (!footswitchHeld && (phase == 0 || phase == hidePhase)) {
    mHost.View().SetControlHidden(kTagPresetNumber, phase == hidePhase);
  }
  if (phase != 0 || !mState.blinkStopArmed.load()) return;
  if (mState.blinkCycles.fetch_add(1) + 1 <= kBlinkStopCycles) return;
  (modeA ? mState.blinkModeA : mState.blinkModeB).store(false);
  mState.blinkStopArmed.store(false);
  mState.blinkCycles.store(0);
}

}  // namespace kr7
