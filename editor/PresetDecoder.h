#pragma once
// The presets the pedal reports, as the editor shows them: the preset active
// on the pedal (a PresetDump outside fetch mode) - slot and list highlight,
// then, when the payload's checksum holds, the 65 preset parameters, the
// device values, the name and the user impulse-response names and the preset
// number display - the stored preset of the save procedure, and the preset
// list over the preset cache.
//
// ApplyActivePreset, StoreSavedPreset and ShowPresetListEntry run on the
// audio thread inside the receive handler; every control step goes through
// the window link, which hands it to the UI thread. LoadCache,
// ClearCacheFromMenu and ClearCachesAndRebuild run on the UI thread.

#include <atomic>

#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "editor/BlockSelection.h"
#include "editor/EditorState.h"
#include "editor/LiveEdit.h"
#include "model/ControlTags.h"
#include "model/PresetCache.h"

namespace kr7 {

class PresetDecoder final : public PresetSink, public CacheReset {
 public:
  PresetDecoder(EditorState& editor, SessionState& session, PresetCache& cache,
                ParameterAccess& params, WindowLink& window, IrSink& irs, LiveEditHost& live,
                BlockSelection& blocks)
      : mEditor(editor),
        mSession(session),
        mCache(cache),
        mParams(params),
        mWindow(window),
        mIrs(irs),
        mLive(live),
        mBlocks(blocks) {}

  // Reads the preset cache (directory order, then by slot) so the checksum
  // table describes the files before the pedal is asked.
  void LoadCache();
  // Reads the list again so that its numbers follow "PATCH OFFSET", when
  // that changed since the list was last read (either thread; the reading is
  // done on the UI thread). Unlike
  // LoadCache a full folder does not end fetch mode: a running fetch would
  // stop without asking for the settings and the active preset.
  void RenumberList();
  // Reads the list again whatever changed (UI thread), after the cache files
  // still waiting to be written.
  void ReloadList();
  // "Clear Cache Data": the cached presets and impulse responses go, the
  // lists are read again and the user is told. The factory WAV files are not
  // cache and stay, so the impulse-response names fall back to them and to
  // the built-in and "Empty Slot" texts.
  void ClearCacheFromMenu();

  // PresetSink. When the checksum did not hold, only the slot, the highlight
  // and "Scroll" changed.
  bool ApplyActivePreset(const PresetDump& dump) override;
  void StoreSavedPreset(const PresetDump& dump) override;
  void ShowPresetListEntry(int slot) override { mEditor.MarkPresetRowDirty(slot); }
  void MarkUnreadPreset(int slot) override { mEditor.SetPresetRowColour(slot, kUnreadPresetRowColour); }

  // CacheReset
  void ClearCachesAndRebuild() override;

 private:
  // Directory order, then by slot: the directory order alone misplaces
  // names when a file is missing and changes nothing when the first is.
  PresetCache::DirectoryLoad ReadList();
  void ClearFiles();
  void Highlight(int slot);
  void ShowIrName(int tag, int modeParam, int position, const std::string& userName);

  EditorState& mEditor;
  SessionState& mSession;
  PresetCache& mCache;
  ParameterAccess& mParams;
  WindowLink& mWindow;
  IrSink& mIrs;
  LiveEditHost& mLive;
  BlockSelection& mBlocks;
  // "PATCH OFFSET" the list was last numbered with.
  std::atomic<int> mListedOffset{0};
};

}  // namespace kr7
