#pragma once
// Applies the preset that is active on the pedal (a PresetDump outside fetch
// mode) to the editor: slot and list highlight, then - when the payload's
// checksum holds - the 65 preset parameters, the device values, the name and
// the user impulse-response names, and the preset number display.
//
// Runs on the audio thread inside the receive handler; every control step
// goes through the host's view, which defers it to the UI thread.

#include <span>

#include "app/core/EditorState.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "model/ControlTags.h"
#include "model/PresetCache.h"

namespace kr7 {

inline constexpr igraphics::Colour kUnmodifiedColour{255, 255, 255, 255};
// The preset list shows 19 rows, so the window can start at row 0..109.
inline constexpr int kLastFirstVisibleRow = 109;

class PresetDecoder {
 public:
  PresetDecoder(EditorState& editor, SessionState& session, PresetCache& cache, SessionHost& host)
      : mEditor(editor), mSession(session), mCache(cache), mHost(host) {}

  // dump is a complete 267-byte PresetDump. Returns whether its checksum
  // held; when it did not, only the slot, the highlight and "Scroll" changed.
  bool Apply(std::span<const std::uint8_t> dump);

 private:
  void Highlight(int slot);
  void ShowIrName(int tag, int modeParam, int position, const std::string& userName);

  EditorState& mEditor;
  SessionState& mSession;
  PresetCache& mCache;
  SessionHost& mHost;
};

}  // namespace kr7
