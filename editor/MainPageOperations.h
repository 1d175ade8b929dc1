#pragma once
// What the main page's pedal controls do, without the window: the page
// routes its button presses and releases here and draws the result through
// the view.
//
//   UP / DOWN      press steps the shown preset (127 <-> 0) and starts the
//                  repeat of the idle step; release selects the shown preset
//                  on the pedal (one PresetSelect) when connected and
//                  nothing is armed.
//   SAVE / SELECT  the first click arms (the display blinks; UP and DOWN
//                  then only change the shown number), the second confirms:
//                  SAVE stores the edited sound into the shown slot, SELECT
//                  selects it. Disconnected, the second click only disarms.
//   FILTER         each click toggles the auto filter exactly once.
//   name entry     stores the preset under its new name into the loaded slot,
//                  once the pedal's preset is in.
//   amp / ambience buttons: see BlockSelection::OnAmpButton.
//
// UI thread only.

#include <optional>
#include <string>

#include "device/SessionState.h"
#include "editor/BlockSelection.h"
#include "editor/LiveEdit.h"

namespace kr7 {

enum class ArmedAction { kSave, kSelect };

class MainPageOperations {
 public:
  MainPageOperations(LiveEditHost& host, LiveEditState& state, SessionState& session,
                     PresetRecord preset, BlockSelection& blocks)
      : mHost(host), mState(state), mSession(session), mPreset(preset), mBlocks(blocks) {}

  void PressUp() { PressStep(true); }
  void ReleaseUp() { ReleaseStep(true); }
  void PressDown() { PressStep(false); }
  void ReleaseDown() { ReleaseStep(false); }

  void PressArm(ArmedAction action);
  void ReleaseArm(ArmedAction action);

  void PressFilter();
  void ReleaseFilter();

  // The preset name field's entry was completed with name. Before the
  // pedal's preset arrived the name waits for it: StorePendingName (every
  // idle step) then shows it and stores it into that preset.
  void NameEntered(std::string name);
  void StorePendingName();

  void AmpButton(int k) { mBlocks.OnAmpButton(k); }
  void AmbienceButton(int k) { mBlocks.OnAmbienceButton(k); }

 private:
  void PressStep(bool up);
  void ReleaseStep(bool up);

  LiveEditHost& mHost;
  LiveEditState& mState;
  SessionState& mSession;
  PresetRecord mPreset;
  BlockSelection& mBlocks;
  std::optional<std::string> mPendingName;
};

}  // namespace kr7
