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
// audio thread for values from the pedal); the Apply functions run on the
// audio thread, the page actions on the UI thread. Control work goes through
// the host's view, which defers it to the UI thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "device/Packing.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"

namespace kr7 {

inline constexpr std::size_t kProgramMapLength = 128;
// "RXA3 Program" number for each "Controller Program" number.
using ProgramMap = std::array<std::atomic<int>, kProgramMapLength>;

// What the mapping needs from the application around it, besides the link,
// the window, messages and parameters.
class MidiMappingHost : public PedalDataHost {
 public:
  // The local edit flag: set after a preset-file import or an amp-model or
  // ambience application. Jack descriptions are refreshed only while set.
  virtual bool LocalEdit() const = 0;
  // The settings block built from the current parameters.
  virtual Bytes SettingsBlock() const = 0;
  // Reloads the preset list so its numbers follow "PATCH OFFSET".
  virtual void ReloadPresetList() = 0;
};

class MidiMapping {
 public:
  MidiMapping(SessionState& session, ProgramMap& programMap, MidiMappingHost& host);
  MidiMapping(const MidiMapping&) = delete;
  MidiMapping& operator=(const MidiMapping&) = delete;

  // Parameter-change entries of indices 80..138. Returns false, doing
  // nothing, for any other index.
  bool OnParamChange(int index);

  // Blocks from the pedal (contents: message bytes 8..263).
  // Type 1 carries the controller map and the jack modes, polarities and
  // jack-2 pedal channel and mode (91..106). Its bytes for 99 and 100 are
  // skipped: they are the editor's program-map selector and its entry, and
  // setting them would write into the program map.
  void ApplyControllerMap(std::span<const std::uint8_t> contents);
  // Type 2 replaces the program map; "RXA3 Program" shows the entry of the
  // selected "Controller Program".
  void ApplyProgramMap(std::span<const std::uint8_t> contents);

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

  SessionState& mSession;
  ProgramMap& mProgramMap;
  MidiMappingHost& mHost;
};

}  // namespace kr7
