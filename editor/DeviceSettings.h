#pragma once
// The pedal's global blocks applied to the editor: the settings block (type
// 0) into the settings parameters, the control-change map (type 1) into its
// parameters, the program map (type 2) into the editor's table.
//
// Runs on the audio thread inside the receive handler; parameter changes go
// through the parameter access, which moves the controls.

#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "editor/EditorState.h"

namespace kr7 {

class DeviceSettings final : public SettingsSink {
 public:
  DeviceSettings(EditorState& editor, ParameterAccess& params, WindowLink& window)
      : mEditor(editor), mParams(params), mWindow(window) {}

  void ApplySettingsBlock(const GlobalBlock& block) override;
  // Parameters 91..98 and 101..106 (the jack modes, polarities and the
  // jack-2 pedal's channel and mode); the block's bytes for 99 and 100 are
  // not the pedal's data and are skipped.
  void ApplyControllerMap(const GlobalBlock& block) override;
  // With a window open, "RXA3 Program" then shows the entry of the current
  // "Controller Program".
  void ApplyProgramMap(const GlobalBlock& block) override;

 private:
  EditorState& mEditor;
  ParameterAccess& mParams;
  WindowLink& mWindow;
};

}  // namespace kr7
