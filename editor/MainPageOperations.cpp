#include "editor/MainPageOperations.h"

#include "device/Messages.h"
#include "editor/IdleStep.h"
#include "model/ControlTags.h"
#include "editor/ParameterChangeHandler.h"

namespace kr7 {

namespace {

int ArmTag(ArmedAction action) {
  return action == ArmedAction::kSave ? kTagSaveButton : kTagFootswitchSelect;
}

std::uint8_t Slot(int slot) { return static_cast<std::uint8_t>(slot & kDataByteMask); }

}  // namespace

void MainPageOperations::PressStep(bool up) {
  mHost.View().SetControlValue(up ? kTagFootswitchUp : kTagFootswitchDown, 1.0);
  (up ? mState.upHeld : mState.downHeld) = true;
  mState.repeatCounter = kRepeatCounterStart;
  mSession.currentPreset.store(SteppedSlot(mSession.currentPreset.load(), up ? 1 : -1));
  if (!mHost.HasWindow()) return;
  ShowPresetNumber(mHost, mSession);
  EditorView& view = mHost.View();
  view.SetControlTextColour(kTagPresetNumber, kUnmodifiedColour);
  view.SetControlHidden(kTagPresetNumber, false);
  mPreset.modified.store(false);
}

void MainPageOperations::ReleaseStep(bool up) {
  mHost.View().SetControlValue(up ? kTagFootswitchUp : kTagFootswitchDown, 0.0);
  (up ? mState.upHeld : mState.downHeld) = false;
  if (mSession.connected.load() && !mState.blinkModeA.load() && !mState.blinkModeB.load()) {
    mHost.Send(build::PresetSelect(Slot(mSession.currentPreset.load())));
  }
}

void MainPageOperations::PressArm(ArmedAction action) {
  mHost.View().SetControlValue(ArmTag(action), 1.0);
}

void MainPageOperations::ReleaseArm(ArmedAction action) {
  mHost.View().SetControlValue(ArmTag(action), 0.0);
  std::atomic<bool>& mode = action == ArmedAction::kSave ? mState.blinkModeA : mState.blinkModeB;
  if (!mode.load()) {
    mode.store(true);
    return;
  }
  mHost.View().SetControlHidden(kTagPresetNumber, false);
  if (!mSession.connected.load()) {
    mode.store(false);
    return;
  }
  const std::uint8_t slot = Slot(mSession.currentPreset.load());
  mState.blinkCycles.store(0);
  if (action == ArmedAction::kSave) {
    // The pedal answers with the stored preset's dump, which then replaces
    // the slot's cache file.
    mSession.savePending.store(true);
    mHost.Send(build::ParameterSet(kDeviceParamStorePreset, slot));
    mState.blinkStopArmed.store(true);
  } else {
    mHost.Send(build::PresetSelect(slot));
    mode.store(false);
  }
}

void MainPageOperations::PressFilter() {
  // A press while the switch is still down (its release was lost) only
  // lets it up.
  if (mState.filterSwitchDown) {
    ReleaseFilter();
    return;
  }
  const bool on = !mState.autoFilterOn.load();
  mState.autoFilterOn.store(on);
  mState.filterSwitchDown = true;
  mHost.View().SetControlValue(kTagFootswitchFilter, 1.0);
  mHost.SetParamToPosition(kParamAutoFilerLevel, on ? 1.0 : 0.0);
  mHost.QueueForControls(kParamAutoFilerLevel);
}

void MainPageOperations::ReleaseFilter() {
  mState.filterSwitchDown = false;
  mHost.View().SetControlValue(kTagFootswitchFilter, 0.0);
}

void MainPageOperations::NameEntered(std::string name) {
  mHost.SetPresetName(name);
  if (mSession.MayStorePreset()) {
    mHost.StorePresetInto(mSession.loadedPreset.load());
  } else if (mSession.connected.load()) {
    // The pedal's preset is still to come and would replace the name.
    mPendingName = std::move(name);
  }
}

void MainPageOperations::StorePendingName() {
  if (!mPendingName || !mSession.MayStorePreset()) return;
  mHost.SetPresetName(*mPendingName);
  if (mHost.HasWindow()) mHost.View().SetControlText(kTagPresetName, *mPendingName);
  mPendingName.reset();
  mHost.StorePresetInto(mSession.loadedPreset.load());
}

}  // namespace kr7
