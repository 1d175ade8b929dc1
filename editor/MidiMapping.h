#pragma once
// The pedal's global data as the editor edits it: the global settings
// (parameters 80..90), the controller map (91..98), the program map with its
// two selectors (99, 100) and the configuration of the two jacks (101..138).
//
// Settings changes go to the pedal at once as a settings block; the two maps
// go on leaving their pages. Every block the editor sends carries its whole
// copy of that data, so a block goes out only after the pedal's matching
// block arrived since the session connected: before that the copy holds
// defaults that would overwrite the pedal's settings and maps. Such a send is
// dropped and the user told once per attempt.
//
// Threading: OnParamChange runs on the thread that set the parameter (the
// audio thread for values from the pedal); the page actions on the UI
// thread. Control work goes through the window link, which hands it to the
// UI thread.

#include <atomic>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/Packing.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "editor/EditorState.h"
#include "model/Parameters.h"

namespace kr7 {

class PresetDecoder;

class MidiMapping {
 public:
  // table: the parameters a settings block carries; params: setting them
  // with their handler; presets: the preset list to renumber; localEdit:
  // live editing's flag, which jack descriptions follow.
  MidiMapping(SessionState& session, EditorState& editor, const ParameterTable& table,
              ParameterAccess& params, SysExSender& sender, WindowLink& window,
              PresetDecoder& presets, const std::atomic<bool>& localEdit);
  MidiMapping(const MidiMapping&) = delete;
  MidiMapping& operator=(const MidiMapping&) = delete;

  // Parameter-change entries of indices 80..138; other indices do nothing.
  void OnParamChange(int index);

  // Page actions (UI thread). SETUP opens a map page and asks the pedal for
  // the map; BACK returns to the settings page and sends the map, changed
  // or not.
  void OpenControllerMapPage();
  void OpenProgramMapPage();
  void CloseControllerMapPage();
  void CloseProgramMapPage();

  // The blocks BACK sends: 91..98, and the 128 program-map entries.
  Bytes ControllerMapBlock() const;
  Bytes ProgramMapBlock() const;

 private:
  // Sends block unless the pedal's block of that type has not arrived since
  // connecting.
  void SendWholeBlock(std::uint8_t type, const Bytes& block);
  void OnGlobalSetting(int index);
  void OnJackMode(int jack);
  void OnJackFunctionParam(int function, int index);
  void OnSwitchFunctionMode(int function);
  void Describe(int function);
  void EnableParamControls(int index, bool enabled);
  void SwitchPages(std::string_view hide, std::string_view show);
  void RequestMap(std::uint8_t type);

  SessionState& mSession;
  EditorState& mEditor;
  const ParameterTable& mTable;
  ParameterAccess& mParams;
  SysExSender& mSender;
  WindowLink& mWindow;
  PresetDecoder& mPresets;
  const std::atomic<bool>& mLocalEdit;
};

}  // namespace kr7
