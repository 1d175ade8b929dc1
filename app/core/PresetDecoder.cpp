#include "app/core/PresetDecoder.h"

#include <algorithm>
#include <cstdio>

#include "device/Messages.h"
#include "model/EditorView.h"
#include "model/PresetPayload.h"

namespace kr7 {

namespace {

std::string TwoDigits(int number) {
  char text[256];
  std::snprintf(text, sizeof text, "%02d", number);
  return text;
}

}  // namespace

void PresetDecoder::Highlight(int slot) {
  const int old = mSession.highlightedSlot.exchange(slot);
  if (old == slot) return;
  mEditor.SetPresetRowColour(old, kPresetRowColour);
  mEditor.SetPresetRowColour(slot, kPresetRowHighlightColour);
  mHost.SetParamFromPosition(
      kParamScroll,
      static_cast<double>(kLastFirstVisibleRow - std::min(slot, kLastFirstVisibleRow)) /
          kLastFirstVisibleRow);
}

void PresetDecoder::ShowIrName(int tag, int modeParam, int position, const std::string& userName) {
  const bool user = mEditor.editValues[static_cast<std::size_t>(modeParam)].load() >= 1;
  mHost.View().SetControlText(
      tag, user ? std::string_view(userName) : kCabinetNames[static_cast<std::size_t>(position)]);
}

bool PresetDecoder::Apply(std::span<const std::uint8_t> dump) {
  if (dump.size() != kBlockMessageSize) return false;
  const int slot = dump[kOffsetSlot] & kDataByteMask;
  mSession.currentPreset.store(slot);
  Highlight(slot);
  if (!BlockChecksumOk(dump)) return false;

  const auto payload = dump.subspan(kOffsetBlockContents, kPresetPayloadSize);
  const DecodedPreset decoded = DecodePresetPayload(payload);
  mSession.applying.store(true);
  // Ascending, so the handler of each parameter sees the lower ones applied.
  for (int i = 0; i < kNumPresetParams; ++i) {
    const int raw = decoded.values[static_cast<std::size_t>(i)];
    mHost.SetParamFromRaw(i, raw);
    mEditor.deviceValues[static_cast<std::size_t>(i)].store(raw);
  }
  mSession.irSlotAFlag.store(false);

  EditorView& view = mHost.View();
  const int number = slot + mHost.ParamInt(kParamPatchOffset);
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
  mSession.applying.store(false);
  return true;
}

}  // namespace kr7
