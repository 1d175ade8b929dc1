#pragma once
// The editor's single place of reaction to a parameter change, whatever its
// source (a control, the pedal, a preset file, another entry of this
// handler). Runs after the new value is stored:
//   1. for a preset parameter (0..64): the value on the two-digit display,
//      the edit value and the live edit to the pedal (ParameterSet);
//   2. the preset-modified evaluation and the tint of the display;
//   3. the entry of the index: value texts, graph inputs, block selection,
//      the lists' selectors (entries 80..138 belong to the MIDI-mapping
//      unit, reached through the mapping dispatch);
//   4. while a local edit is marked, parameters below 38 mark the preset
//      modified.
// Control steps are skipped without a window; sending, other parameters and
// editor state follow in both cases unless an entry says otherwise.
//
// Threads: whichever thread set the parameter (the audio thread while a dump
// is applied); selector events come from the UI thread.

#include <functional>
#include <optional>

#include "device/SessionState.h"
#include "editor/BlockSelection.h"
#include "editor/LiveEdit.h"

namespace kr7 {

class ParameterChangeHandler {
 public:
  ParameterChangeHandler(LiveEditHost& host, LiveEditState& state, SessionState& session,
                         PresetRecord preset, BlockSelection& blocks)
      : mHost(host), mState(state), mSession(session), mPreset(preset), mBlocks(blocks) {}

  // Entries 80..138 (global settings, MIDI maps, jacks), run in the place of
  // the dispatch before the final step.
  void SetMappingDispatch(std::function<void(int index)> dispatch) {
    mMappingDispatch = std::move(dispatch);
  }

  // index 0..138 (others are ignored). event: the selector event that made
  // the change, for the list selectors (71, 72, 78, 79), which act only on
  // one; the UI thread passes it with the change.
  void OnParamChange(int index, std::optional<SelectorEvent> event = std::nullopt);

 private:
  void CommonStep(int index, int m);
  void EvaluateModified();
  void Dispatch(int index, int m, const std::optional<SelectorEvent>& event);
  void FinalStep(int index);

  void SetText(int tag, std::string_view text);
  void SetPresetDisplay(std::string_view text);
  void OnGate(int m);
  void OnDynamics(int m);
  void OnIr(int m);
  void OnIrMode(bool sourceB, int m);
  void OnUserIrNumber(bool sourceB, int m);
  void OnScroll(int m);
  void OnPresetListSelector(int m, const SelectorEvent& event);
  void OnIrListSelector(int m, const SelectorEvent& event);
  void OnCustomIrBank(int m);
  void OnBrowserSelector(int m, int firstRow, const SelectorEvent& event);
  void SetParamAndQueue(int index, double position);

  LiveEditHost& mHost;
  LiveEditState& mState;
  SessionState& mSession;
  PresetRecord mPreset;
  BlockSelection& mBlocks;
  std::function<void(int)> mMappingDispatch;
};

}  // namespace kr7
