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
#include "editor/BlockSelection.h"
#include "model/ControlTags.h"
#include "model/PresetCache.h"

namespace kr7 {

class PresetDecoder {
 public:
  PresetDecoder(EditorState& editor, SessionState& session, PresetCache& cache, SessionHost& host,
                LiveEditHost& live, BlockSelection& blocks)
      : mEditor(editor),
        mSession(session),
        mCache(cache),
        mHost(host),
        mLive(live),
        mBlocks(blocks) {}

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
  LiveEditHost& mLive;
  BlockSelection& mBlocks;
};

}  // namespace kr7
