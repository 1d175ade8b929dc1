#pragma once
// The parameter table with its change handling: setting a parameter from a
// control, a raw value of the pedal or a normalised position, and the
// parameter-change handler that runs after every new value (the live edit to
// the pedal, the editor's own reactions per parameter).
//
// Threads: the handler runs on the thread that set the parameter - the UI
// thread for control actions, the audio thread for values the pedal sends.
// Every control step goes through the window link, which hands audio-thread
// calls to the UI thread in the order made.

#include "device/SessionHooks.h"
#include "editor/LiveEdit.h"
#include "model/Parameters.h"

namespace kr7 {

class ParameterChangeHandler;

class ParameterChanges final : public ParameterAccess {
 public:
  ParameterChanges(ParameterTable& params, WindowLink& window);
  ParameterChanges(const ParameterChanges&) = delete;
  ParameterChanges& operator=(const ParameterChanges&) = delete;

  // Wiring (UI thread, before the audio stream starts): the handler that
  // reacts to every change (editor/ParameterChangeHandler.h).
  void SetHandler(ParameterChangeHandler* handler) { mHandler = handler; }

  // Runs the handler after parameter index got a new value. Indices outside
  // 0..138 are ignored.
  void OnParamChange(int index);
  // UI thread: a list selector (parameters 71, 72, 78, 79) moved to
  // position by an event; the handler acts on the event.
  void OnSelectorChange(int index, double position, SelectorEvent event);
  // A control moved (its own position is already shown): stores the value
  // converted from position, then runs the handler.
  void SetParameterFromPosition(int index, double position);
  // The same from a raw 7-bit value of the pedal.
  void SetParameterFromRaw(int index, int raw);

  // ParameterAccess: values from the pedal or a file, which also move the
  // controls bound to the parameter.
  int ParamInt(int index) const override;
  void SetParamFromRaw(int index, int raw) override;
  void SetParamFromPosition(int index, double position) override;

  // Moves the controls bound to index to its value, without action.
  void MoveControls(int index);

 private:
  ParameterTable& mParams;
  WindowLink& mWindow;
  ParameterChangeHandler* mHandler = nullptr;
};

}  // namespace kr7
