#include "app/core/KR7Control.h"

#include "app/core/SettingsBlock.h"
#include "device/Messages.h"
#include "model/ControlTags.h"
#include "model/PresetPayload.h"
#include "model/UserTexts.h"

namespace kr7 {

namespace {

bool IsParam(int index) { return index >= 0 && index < kNumParams; }

}  // namespace

KR7Control::KR7Control(DataFolder folder)
    : mFolder(folder),
      mCache(folder),
      mDecoder(mEditor, mSession, mCache, *this),
      mIrs(folder, mSession, mEditor, *this),
      mIrStore(mIrs),
      mPresetFiles(mSession, mEditor, mParams, *this, mIrs),
      mSessionLogic(mSession, *this, mCache, mIrStore),
      mStreams(mSession, *this, folder.Base()),
      mMidi(mSession, mEditor.programMap, *this) {
  mSessionLogic.SetStreamHooks(&mStreams);
  mIrs.SetUploader([this](int slot, ByteSpan packed) { return mStreams.StartIrUpload(slot, packed); });
  LoadPresetCache();
  mPump.SetSysExReceiver(this);
}

KR7Control::~KR7Control() { mPump.SetSysExReceiver(nullptr); }

PresetCache::DirectoryLoad KR7Control::ReadPresetList() {
  const int patchOffset = ParamInt(kParamPatchOffset);
  mListedOffset.store(patchOffset);
  const PresetCache::DirectoryLoad load = mCache.LoadInDirectoryOrder(patchOffset);
  // The directory order alone misplaces names when a file is missing, and
  // changes nothing when the first one is: the rebuild by slot puts every
  // entry right.
  mCache.RebuildBySlot(patchOffset);
  mEditor.MarkAllRowsDirty();
  return load;
}

void KR7Control::LoadPresetCache() {
  if (ReadPresetList().filesCounted >= PresetCache::kNumSlots) mSession.fetching.store(false);
}

// Every settings block sets "PATCH OFFSET", so the files are read again
// only when the number changed. Unlike at start-up a full folder does not
// end fetch mode here: a running fetch would stop with the applying flag
// still held.
void KR7Control::ReloadPresetList() {
  const int patchOffset = ParamInt(kParamPatchOffset);
  if (mListedOffset.exchange(patchOffset) != patchOffset) ReadPresetList();
}

void KR7Control::CloseGlobalSettings() {
  mSessionLogic.CloseGlobalSettings();
  mView.SetGroupHidden(kGroupGlobalSettings, true);
  ReadPresetList();
}

// ---- parameters -------------------------------------------------------------------

int KR7Control::ParamInt(int index) const {
  const iplug::IParam* param = mParams.GetParam(index);
  return param ? param->Int() : 0;
}

void KR7Control::SetParameterFromPosition(int index, double position) {
  iplug::IParam* param = mParams.GetParam(index);
  if (!param) return;
  param->SetNormalized(position);
  OnParamChange(index);
}

void KR7Control::SetParameterFromRaw(int index, int raw) {
  const iplug::IParam* param = mParams.GetParam(index);
  if (!param) return;
  SetParameterFromPosition(index, param->RawToNormalized(raw));
}

void KR7Control::SetParamFromRaw(int index, int raw) {
  SetParameterFromRaw(index, raw);
  if (IsParam(index)) QueueForControls(index, mParams.GetParam(index)->Value());
}

void KR7Control::SetParamFromPosition(int index, double position) {
  SetParameterFromPosition(index, position);
  if (IsParam(index)) QueueForControls(index, mParams.GetParam(index)->Value());
}

void KR7Control::QueueForControls(int index, double value) {
  if (!mView.HasView()) return;
  if (mView.OnUiThread()) {
    mView.SendParameterValueFromDelegate(index, value);
  } else {
    mPump.QueueParameterChange(index, value);
  }
}

void KR7Control::OnParamChange(int index) {
  if (!IsParam(index)) return;
  if (index <= kLastPresetParam) SendLiveEdit(index);
  if (mMidi.OnParamChange(index)) return;
  const int m = ParamInt(index);
  // Entries that run with or without a window. The user-IR number of each
  // source follows its two parameters; the session asks for missing IRs by
  // these numbers.
  switch (index) {
    case kParamUserIrA:
      mSession.irSlotA.store(ParamInt(kParamUserIrAMsb) * 128 + m);
      break;
    case kParamUserIrB:
      mSession.irSlotB.store(ParamInt(kParamUserIrBMsb) * 128 + m);
      break;
    // The response graph follows the "IR" knob, and a source's mode when the
    // knob stands where that source is heard (beyond position 6).
    case kParamIr:
      mIrs.RefreshDisplay();
      break;
    case kParamIrModeA:
    case kParamIrModeB:
      if (ParamInt(kParamIr) / 127.0 * 8.0 > 6.0) mIrs.RefreshDisplay();
      break;
    default:
      break;
  }
}

void KR7Control::SendLiveEdit(int index) {
  if (!mSession.connected.load()) return;
  const int m = ParamInt(index);
  std::atomic<int>& edit = mEditor.editValues[static_cast<std::size_t>(index)];
  // The user-IR selection is re-sent even unchanged: the pedal completes a
  // two-part selection only on the second half arriving.
  const bool alwaysSent = index >= kParamUserIrAMsb && index <= kParamUserIrB;
  if (edit.exchange(m) == m && !alwaysSent) return;
  if (mSession.applying.load()) return;
  SendSysEx(build::ParameterSet(static_cast<std::uint8_t>(DeviceParameterNumber(index)),
                                static_cast<std::uint8_t>(m)));
}

// ---- messages ------------------------------------------------------------------------

bool KR7Control::SendSysEx(std::span<const std::uint8_t> message) {
  // Recorded before it goes, so a reply never shows up ahead of its request.
  if (mMonitor.Enabled()) mMonitor.Record(MonitorDirection::Out, message, {});
  SysExSender* sender = mSender.load();
  return sender != nullptr && sender->SendSysEx(message);
}

Bytes KR7Control::BuildPresetStore() const {
  PresetValues values{};
  for (int i = 0; i < kNumPresetParams; ++i) {
    values[static_cast<std::size_t>(i)] = mEditor.editValues[static_cast<std::size_t>(i)].load();
  }
  const PresetPayload payload = EncodePresetPayload(values, mEditor.PresetName(),
                                                    mEditor.UserIrNameA(), mEditor.UserIrNameB());
  return build::PresetStore(static_cast<std::uint8_t>(mSession.currentPreset.load()), payload);
}

Bytes KR7Control::BuildSettingsBlock() const {
  return kr7::BuildSettingsBlock(mParams, mSession.currentPreset.load());
}

// ---- session host --------------------------------------------------------------------

bool KR7Control::ApplyActivePreset(std::span<const std::uint8_t> dump) {
  return mDecoder.Apply(dump);
}

void KR7Control::ApplySettingsBlock(std::span<const std::uint8_t> block) {
  mSession.applying.store(true);
  ReadSettingsBlock(block, [this](int index, int raw) { SetParamFromRaw(index, raw); });
  mSession.applying.store(false);
}

void KR7Control::ApplyControllerMap(std::span<const std::uint8_t> block) {
  mMidi.ApplyControllerMap(block);
}

void KR7Control::ApplyProgramMap(std::span<const std::uint8_t> block) {
  mMidi.ApplyProgramMap(block);
}

void KR7Control::SetUserIrListEntry(int row, std::string text) {
  mEditor.SetUserIrRow(row, std::move(text));
}

void KR7Control::StoreSavedPreset(std::span<const std::uint8_t> dump) {
  if (dump.size() != kBlockMessageSize) return;
  mCache.StoreSaved(mSession.currentPreset.load(), dump.subspan(kOffsetBlockContents, kPresetPayloadSize),
                    {dump[kOffsetBlockChecksumHigh], dump[kOffsetBlockChecksumLow]});
}

void KR7Control::StoreReceivedIr(int slot, std::span<const std::uint8_t> image) {
  mIrs.StoreReceivedIr(slot, image);
}

void KR7Control::RefreshIrList() { mIrs.RefreshIrList(); }

void KR7Control::ClearCachesAndRebuild() {
  mCache.Clear();
  mCache.RebuildBySlot(ParamInt(kParamPatchOffset));
  mEditor.MarkAllRowsDirty();
  RefreshIrList();
}

void KR7Control::ContinuePresetFileImport() { mPresetFiles.ContinueAfterAck(); }

// ---- hooks ---------------------------------------------------------------------------

void KR7Control::OnSysEx(std::span<const std::uint8_t> message) {
  if (mMonitor.Enabled()) {
    mMonitor.Record(MonitorDirection::In, message,
                    {mSession.connected.load(), mStreams.FirmwareRunning()});
  }
  mSessionLogic.OnMessage(message);
}

void KR7Control::OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> message) {
  OnSysEx(message);
}

void KR7Control::OnDeviceTick() {
  // The second stage of a preset-file import belongs to the UI thread, so
  // the receive handler leaves it for the start of the next tick.
  mPresetFiles.Tick();
  mSessionLogic.Tick();
}

void KR7Control::OnFrameworkTimer() {
  mPump.RunUiStep(
      [this](int index, double value) { mView.SendParameterValueFromDelegate(index, value); });
  mView.Replay();
  DrawChangedRows();
  if (mView.HasView()) {
    if (auto text = mPending.Take()) mView.ShowMessage(*text, false);
  }
}

void KR7Control::DrawChangedRows() {
  for (int slot = 0; slot < kNumPresetSlots; ++slot) {
    if (mEditor.TakePresetRowDirty(slot) && mLists != nullptr) {
      mLists->SetPresetRow(slot, mCache.ListText(slot), mEditor.PresetRowColour(slot));
    }
  }
  for (int row = 0; row < kNumUserIrBrowserRows; ++row) {
    if (mEditor.TakeUserIrRowDirty(row) && mLists != nullptr) {
      mLists->SetUserIrRow(row, mEditor.UserIrRow(row));
    }
  }
}

void KR7Control::OnWindowOpen(EditorView* view, ListView* lists) {
  mView.Attach(view);
  mLists = lists;
  mEditor.MarkAllRowsDirty();
}

void KR7Control::OnWindowClose() {
  mSessionLogic.OnWindowClosing();
  mView.Detach();
  mLists = nullptr;
}

bool KR7Control::OnCommand(int command) {
  switch (command) {
    case kCommandFirmwarePage:
      if (!mView.HasView()) return false;
      break;
    case kCommandGlobalSettings:
      OpenGlobalSettings();
      return true;
    case kCommandClearCache:
      ClearCacheFromMenu();
      return true;
    case kCommandNothing:
      return true;
    default:
      break;
  }
  // The transfers own the firmware page, bank import and export and the
  // factory presets update.
  return mStreams.OnCommand(command);
}

void KR7Control::ClearCacheFromMenu() {
  mCache.Clear();
  LoadPresetCache();
  // The impulse-response names fall back to the built-in and "Empty Slot"
  // texts; the factory WAV files are not cache and stay.
  mIrs.PrepareStore({});
  mView.ShowMessage(kFinishedText, false);
}

bool KR7Control::ShowAbout() {
  if (!mView.HasView()) return false;
  mView.SetGroupHidden(kGroupAbout, false);
  return true;
}

}  // namespace kr7
