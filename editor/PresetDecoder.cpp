#include "editor/PresetDecoder.h"

#include <algorithm>

#include "device/Messages.h"
#include "device/Session.h"
#include "editor/ValueTexts.h"
#include "model/EditorView.h"
#include "model/PresetPayload.h"
#include "model/UserTexts.h"

namespace kr7 {

PresetCache::DirectoryLoad PresetDecoder::ReadList() {
  const int patchOffset = mParams.ParamInt(kParamPatchOffset);
  mListedOffset.store(patchOffset);
  const PresetCache::DirectoryLoad load = mCache.LoadInDirectoryOrder(patchOffset);
  mCache.RebuildBySlot(patchOffset);
  mEditor.MarkAllRowsDirty();
  return load;
}

void PresetDecoder::LoadCache() {
  if (ReadList().filesCounted >= PresetCache::kNumSlots) mSession.fetching.store(false);
}

// Every settings block sets "PATCH OFFSET"; the files are read again only
// when the number changed. The read waits behind the cache files still to be
// written, or it would take their slots for empty and their checksums for zero.
void PresetDecoder::RenumberList() {
  const int patchOffset = mParams.ParamInt(kParamPatchOffset);
  if (mListedOffset.exchange(patchOffset) == patchOffset) return;
  ReloadList();
}

void PresetDecoder::ReloadList() {
  mWindow.RunOnUiThread(UiTask([](void* owner, const UiTask&) { static_cast<PresetDecoder*>(owner)->ReadList(); },
                               this));
}

void PresetDecoder::ClearFiles() {
  // After the cache files still waiting to be written, which go too.
  mWindow.RunOnUiThread(UiTask([](void* owner, const UiTask&) { static_cast<PresetCache*>(owner)->Clear(); },
                               &mCache));
}

void PresetDecoder::ClearCacheFromMenu() {
  ClearFiles();
  LoadCache();
  mIrs.ReloadIrNames();
  mWindow.View().ShowMessage(kFinishedText, false);
}

void PresetDecoder::ClearCachesAndRebuild() {
  ClearFiles();
  mCache.RebuildBySlot(mParams.ParamInt(kParamPatchOffset));
  mEditor.MarkAllRowsDirty();
  mIrs.RefreshIrList();
}

void PresetDecoder::StoreSavedPreset(const PresetDump& dump) {
  // The dump's own slot: a held footswitch may have stepped the shown one.
  const int slot = dump.slot & kDataByteMask;
  if (mCache.RecordSaved(slot, dump.payload, dump.checksum)) {
    WriteCacheFileOnUiThread(mWindow, mCache, slot, dump.payload);
  }
}

void PresetDecoder::Highlight(int slot) {
  const int old = mSession.highlightedSlot.exchange(slot);
  if (old == slot) return;
  mEditor.SetPresetRowColour(old, kPresetRowColour);
  mEditor.SetPresetRowColour(slot, kPresetRowHighlightColour);
  mParams.SetParamFromPosition(
      kParamScroll,
      static_cast<double>(kLastFirstVisibleRow - std::min(slot, kLastFirstVisibleRow)) /
          kLastFirstVisibleRow);
}

void PresetDecoder::ShowIrName(int tag, int modeParam, int position, const std::string& userName) {
  const bool user = mEditor.editValues[static_cast<std::size_t>(modeParam)].load() >= 1;
  mWindow.View().SetControlText(
      tag, user ? std::string_view(userName) : kCabinetNames[static_cast<std::size_t>(position)]);
}

bool PresetDecoder::ApplyActivePreset(const PresetDump& dump) {
  const int slot = dump.slot & kDataByteMask;
  mSession.currentPreset.store(slot);
  Highlight(slot);
  if (!dump.checksumOk) return false;

  const DecodedPreset decoded = DecodePresetPayload(dump.payload);
  const ApplyingScope applying;
  // Ascending, so the handler of each parameter sees the lower ones applied.
  for (int i = 0; i < kNumPresetParams; ++i) {
    const int raw = decoded.values[static_cast<std::size_t>(i)];
    mParams.SetParamFromRaw(i, raw);
    mEditor.deviceValues[static_cast<std::size_t>(i)].store(raw);
  }
  mSession.irSlotAFlag.store(false);
  mSession.loadedPreset.store(slot);
  mBlocks.RecogniseAfterDump();

  EditorView& view = mWindow.View();
  const int number = slot + mParams.ParamInt(kParamPatchOffset);
  mEditor.presetModified.store(false);
  view.SetControlTextColour(kTagPresetNumber, kUnmodifiedColour);
  view.SetControlText(kTagPresetNumber, TwoDigits(number));

  mEditor.SetPresetName(decoded.name);
  view.SetControlText(kTagPresetName, decoded.name);
  mCache.SetListText(slot, PresetCache::FormatListText(number, decoded.name));
  mEditor.MarkPresetRowDirty(slot);

  if (mEditor.editValues[kParamIrModeA].load() >= 1) mEditor.SetUserIrNameA(decoded.irNameA);
  if (mEditor.editValues[kParamIrModeB].load() >= 1) mEditor.SetUserIrNameB(decoded.irNameB);
  ShowIrName(kTagIrRowA, kParamIrModeA, kCabinetPositionA, decoded.irNameA);
  ShowIrName(kTagIrRowB, kParamIrModeB, kCabinetPositionB, decoded.irNameB);
  // The sources' numbers are applied only after "IR" was, so the display
  // follows them here.
  if (mEditor.editValues[kParamIrModeA].load() >= 1 ||
      mEditor.editValues[kParamIrModeB].load() >= 1) {
    mLive.RefreshIrDisplay();
  }
  return true;
}

}  // namespace kr7
