#include "device/Session.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>
#include <variant>

#include "model/EditorView.h"
#include "device/StreamsProgress.h"
#include "model/Parameters.h"
#include "model/UserIrNumbers.h"

namespace kr7 {

namespace {

constexpr int kMaxSlot = static_cast<int>(kPresetSlotCount) - 1;
// Settings bytes 19..21 hold parameters 33..35 (soft clipping, analog-sim
// gain, anti-aliasing); the identity handling reads them even before the
// session is connected.
constexpr int kSecondGroupFirstParam = kParamSoftClipping;

std::string Format(const char* format, double value) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string Format(const char* format, int value) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

void WriteCacheFileOnUiThread(WindowLink& window, PresetCache& cache, int slot,
                              std::span<const std::uint8_t> payload) {
  const UiTask::Run write = [](void* owner, const UiTask& task) {
    static_cast<PresetCache*>(owner)->WriteSlotFile(task.number, task.Bytes());
  };
  window.RunOnUiThread(UiTask(write, &cache, slot).WithBytes(payload));
}

Session::Session(SessionState& state, PresetCache& cache, SessionRoles roles)
    : mState(state), mCache(cache), mRoles(roles) {}

void Session::SetStreamHooks(StreamHooks* hooks) { mStreams.store(hooks ? hooks : &mNoStreams); }

void Session::RequestPreset(int slot) {
  // Set before sending: the reply may be handled before Send returns.
  mState.awaitingTicks.store(0);
  mState.requestedSlot.store(slot);
  mState.awaitingPreset.store(true);
  Send(build::PresetRequest(static_cast<std::uint8_t>(slot)));
}

// ---- device tick ---------------------------------------------------------------

void Session::Tick() {
  EditorView& view = mRoles.window.View();

  if (mState.awaitingPreset.load() && mState.awaitingTicks.fetch_add(1) + 1 > kPresetReplyTicks) {
    mState.awaitingPreset.store(false);
    // A fetch that stopped on a lost message would never end: its slot is
    // asked for again, its overlay kept up. Without the active preset
    // nothing may be stored: it is asked for again, and a pedal that never
    // sends it counts as gone.
    if (mState.fetching.load() && mState.fetchSlot.load() >= 0) {
      RetryFetchSlot();
    } else {
      view.SetGroupHidden(kGroupPresetProgress, true);
      if (mState.activePresetPending.load()) {
        if (mState.activePresetRepeats.fetch_add(1) < kBlockRequestRepeats) {
          RequestPreset(mState.requestedSlot.load());
        } else {
          Disconnect();
          ShowConnecting();
        }
      }
    }
  }
  if (mState.fetchRetry.exchange(false) && mState.fetching.load()) RetryFetchSlot();

  if (mState.doneAck.exchange(false)) {
    view.ShowMessage(kFinishedText, false);
    RequestBlock(kGlobalSettings);
  } else {
    Streams().ImportCompletionStep();
  }
  if (mState.dropRequested.exchange(false)) Disconnect();

  if (mState.irRequest.exchange(false)) {
    const int slot = mState.irSlotAFlag.load()   ? mState.irSlotA.load()
                     : mState.irSlotBFlag.load() ? mState.irSlotB.load()
                                                 : -1;
    if (IsUserIrNumber(slot)) RequestIr(slot);
  }
  if (mState.connected.load()) WatchReplies();

  const bool connected = mState.connected.load();
  // A link that drops is greeted again at once, like one just opened.
  if (connected) mState.pollCounter = 0;
  if (Streams().FirmwareStep() || Streams().FactoryStep() || Streams().ImportStep(connected) ||
      Streams().ExportStep(connected)) {
    return;
  }

  if (!connected) {
    if (!mState.polling.load()) {
      mState.pollCounter = 0;
      return;
    }
    // The first request goes out at once: a pedal that is still booting
    // answers a repeat instead.
    if (mState.pollCounter == 0) Send(build::GlobalRequest(kGlobalIdentity));
    if (++mState.pollCounter >= kPollTicks) mState.pollCounter = 0;
    return;
  }

  if (mState.awaitingBlock.load() >= 0 &&
      mState.awaitingBlockTicks.fetch_add(1) + 1 > kPresetReplyTicks) {
    RepeatOverdueBlockRequest();
    return;
  }

  if (mState.fetching.load() && mState.fetchSlot.load() == -1) {
    if (mState.bulkBeginPending.exchange(false)) {
      Send(build::BulkBegin());
    } else {
      StartFetch();
    }
    return;
  }

  Streams().IrUploadStep();
}

void Session::StartFetch() {
  const int first = mCache.LowestStaleSlot();
  if (first < 0) {
    // Nothing is stale any more (the flags changed since the comparison):
    // the fetch is complete before it began.
    FinishFetch();
    return;
  }
  mState.fetchTotal.store(mCache.StaleCount());
  mState.fetchDone.store(0);
  mState.fetchUnread.store(0);
  mState.fetchRepeats.store(0);
  mState.fetchSlot.store(first);
  RequestPreset(first);
  EditorView& view = mRoles.window.View();
  ResetProgress(view, kPresetProgress);
  SetProgressVisible(view, kPresetProgress, true);
}

void Session::RetryFetchSlot() {
  const int slot = mState.fetchSlot.load();
  if (slot < 0) return;
  if (mState.fetchRepeats.fetch_add(1) < kFetchRepeats) {
    RequestPreset(slot);
    return;
  }
  // The old cache file stays; the next connection compares it again.
  mCache.SetStale(slot, false);
  mState.fetchUnread.fetch_add(1);
  mRoles.presets.MarkUnreadPreset(slot);
  AdvanceFetch();
}

void Session::AdvanceFetch() {
  const int next = mCache.LowestStaleSlot();
  if (next < 0) {
    FinishFetch();
    return;
  }
  mState.fetchSlot.store(next);
  mState.fetchRepeats.store(0);
  const int done = mState.fetchDone.fetch_add(1) + 1;
  const int total = mState.fetchTotal.load();
  const double ratio = total > 0 ? static_cast<double>(done) / total : 0.0;
  ShowProgress(mRoles.window.View(), kPresetProgress, ratio);
  RequestPreset(next);
}

void Session::FinishFetch() {
  mState.fetching.store(false);
  EditorView& view = mRoles.window.View();
  ShowProgress(view, kPresetProgress, 1.0);
  SetProgressVisible(view, kPresetProgress, false);
  if (const int unread = mState.fetchUnread.load(); unread > 0) {
    view.SetControlText(kTagDeviceLine, Format(kUnreadPresetsFormat.data(), unread));
  }
  RequestBlock(kGlobalSettings);
}

void Session::RequestBlock(std::uint8_t type) {
  mState.blockRepeats.store(0);
  SendBlockRequest(type);
}

void Session::SendBlockRequest(int type) {
  // Set before sending: the reply may be handled before Send returns.
  mState.awaitingBlockTicks.store(0);
  mState.awaitingBlock.store(type);
  Send(build::GlobalRequest(static_cast<std::uint8_t>(type)));
}

// Without the checksums the fetch never starts, and without the settings the
// active preset is never asked for: a lost reply would leave the session
// connected and idle until RECONNECT.
void Session::RepeatOverdueBlockRequest() {
  const int type = mState.awaitingBlock.exchange(-1);
  if (type < 0) return;  // answered meanwhile
  if (mState.blockRepeats.fetch_add(1) < kBlockRequestRepeats) {
    SendBlockRequest(type);
  } else {
    Disconnect();
    ShowConnecting();
  }
}

void Session::RequestIr(int slot) {
  mState.irWait.Start(slot);
  Send(build::IrRequest(static_cast<std::uint16_t>(slot)));
}

void Session::WatchReplies() {
  Watch(mState.irWait, [](int slot) { return build::IrRequest(static_cast<std::uint16_t>(slot)); });
  Watch(mState.irNamesWait, [](int page) { return build::IrNamesRequest(static_cast<std::uint8_t>(page)); });
  for (ReplyWait* wait : {&mState.settingsWait, &mState.mapWait}) {
    Watch(*wait, [](int type) { return build::GlobalRequest(static_cast<std::uint8_t>(type)); });
  }
  WatchIrSelection();
  WatchSave();
}

void Session::Watch(ReplyWait& wait, Bytes (*request)(int)) {
  const int asked = wait.asked.load();
  if (asked < 0 || wait.ticks.fetch_add(1) + 1 <= kPresetReplyTicks) return;
  wait.ticks.store(0);
  if (wait.repeats.fetch_add(1) < kBlockRequestRepeats) {
    Send(request(asked));
  } else if (wait.Answer(asked)) {
    GiveUp();
  }
}

// The second half of a two-part user-IR selection goes out only on the
// pedal's IrSelectAck: the first half is sent again while it is missing.
void Session::WatchIrSelection() {
  int step = mState.irSelectionStep.load();
  if (step != kParamUserIrAMsb && step != kParamUserIrBMsb) {
    mSelectionTicks = 0;
    mSelectionRepeats = 0;
    return;
  }
  if (++mSelectionTicks <= kPresetReplyTicks) return;
  mSelectionTicks = 0;
  if (mSelectionRepeats++ < kBlockRequestRepeats) {
    const int slot = (step == kParamUserIrAMsb ? mState.irSlotA : mState.irSlotB).load();
    Send(build::ParameterSet(static_cast<std::uint8_t>(DeviceParameterNumber(step)),
                             static_cast<std::uint8_t>((slot >> 7) & kDataByteMask)));
  } else if (mState.irSelectionStep.compare_exchange_strong(step, 0)) {
    GiveUp();
  }
}

// A save whose dump never came would store the next dump that arrives (a
// preset stepped to on the pedal) as the saved one.
void Session::WatchSave() {
  if (!mState.savePending.load()) {
    mSaveTicks = 0;
    return;
  }
  if (++mSaveTicks > kStreamReplyTicks && mState.savePending.exchange(false)) GiveUp();
}

void Session::GiveUp() {
  mRoles.window.View().SetGroupHidden(kGroupPresetProgress, true);
  mRoles.window.SetPendingMessage(std::string(kCommunicationErrorText));
}

// ---- operations offered to the window --------------------------------------------

void Session::Reconnect() {
  mState.pollCounter = 0;
  mState.polling.store(true);
  Disconnect();
  ShowConnecting();
}

void Session::ReconnectNow() {
  Reconnect();
  Send(build::GlobalRequest(kGlobalIdentity));
  // The repeat comes kPollTicks ticks after this request.
  mState.pollCounter = 1;
}

void Session::IdleStep() { Streams().IdleStep(); }

void Session::Disconnect() {
  mState.connected.store(false);
  // A fetch abandoned here is started afresh by the next comparison, and no
  // later dump is taken for a fetched one.
  mState.ForgetConnection();
  Streams().EndTransfers();
}

void Session::ShowConnecting() {
  EditorView& view = mRoles.window.View();
  view.SetControlText(kTagDeviceLine, "");
  view.SetControlText(kTagSerialLine, "");
  view.SetControlText(kTagVersionLine, kConnectingText);
  view.SetGroupDisabled(kGroupPedal, true);
  view.SetGroupHidden(kGroupPresetProgress, true);
}

void Session::OpenGlobalSettings() {
  mState.polling.store(false);
  mRoles.window.View().SetGroupHidden(kGroupGlobalSettings, false);
  if (mState.connected.load()) mState.settingsWait.Start(kGlobalSettings);
  Send(build::GlobalRequest(kGlobalSettings));
}

void Session::CloseGlobalSettings() {
  mState.polling.store(true);
  mRoles.window.View().SetGroupHidden(kGroupGlobalSettings, true);
}

void Session::OnWindowClosing() {
  if (mState.connected.load()) Send(build::EditorClosed());
}

// ---- receive handler -------------------------------------------------------------

void Session::OnMessage(std::span<const std::uint8_t> message) {
  const RecognitionContext context{mState.connected.load(), Streams().FirmwareRunning()};
  if (mMonitor != nullptr && mMonitor->Enabled()) {
    mMonitor->Record(MonitorDirection::In, message, context);
  }
  const PedalMessage recognised = Recognise(message, context);
  std::visit(
      [&](const auto& m) {
        using T = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<T, PresetDump>) {
          OnPresetDump(m, message);
        } else if constexpr (std::is_same_v<T, GlobalBlock>) {
          if (mState.connected.load()) {
            OnConnectedBlock(m);
          } else {
            OnIdentity(m);
          }
        } else if constexpr (std::is_same_v<T, IrNames>) {
          OnIrNames(m);
        } else if constexpr (std::is_same_v<T, NameReport>) {
          // No control carries this tag; the text goes nowhere visible.
          mRoles.window.View().SetControlText(kTagNameReport, m.Text());
        } else if constexpr (std::is_same_v<T, ParameterReport>) {
          OnParameterReport(m);
        } else if constexpr (std::is_same_v<T, IrDumpPart>) {
          OnIrDump(m, message);
        } else if constexpr (std::is_same_v<T, ShortReply>) {
          OnShortReply(m, message);
        } else if constexpr (std::is_same_v<T, LoaderReply>) {
          Streams().OnStreamMessage(recognised, message);
        }
      },
      recognised);
}

void Session::OnPresetDump(const PresetDump& dump, std::span<const std::uint8_t> message) {
  if (Streams().ExportActive()) {
    Streams().OnStreamMessage(PedalMessage(dump), message);
    return;
  }
  // A slot byte outside the bank names no preset; nothing can be stored for it.
  if (dump.slot > kMaxSlot) return;
  if (mState.fetching.load()) {
    OnFetchedDump(dump);
  } else {
    OnActiveDump(dump);
  }
}

void Session::OnFetchedDump(const PresetDump& dump) {
  mState.awaitingPreset.store(false);
  if (!dump.checksumOk) {
    // Asked again by the tick, which counts the repeats.
    mState.fetchRetry.store(true);
    return;
  }
  const int slot = dump.slot;
  mState.fetchSlot.store(slot);
  // The table now, since the next request reads it; the file later.
  mCache.RecordFetched(slot, dump.payload, dump.checksum, mRoles.params.ParamInt(kParamPatchOffset));
  WriteCacheFileOnUiThread(mRoles.window, mCache, slot, dump.payload);
  mRoles.presets.ShowPresetListEntry(slot);
  AdvanceFetch();
}

void Session::OnActiveDump(const PresetDump& dump) {
  mState.awaitingPreset.store(false);
  if (!mRoles.presets.ApplyActivePreset(dump)) return;
  mState.activePresetPending.store(false);
  if (mState.savePending.exchange(false)) mRoles.presets.StoreSavedPreset(dump);
  RequestMissingUserIrs();
}

void Session::RequestMissingUserIrs() {
  const int slotA = mState.irSlotA.load();
  const int slotB = mState.irSlotB.load();
  if (mRoles.params.ParamInt(kParamIrModeA) >= 1 && IsUserIrNumber(slotA) &&
      !mRoles.irStore.HasUserIr(slotA)) {
    RequestIr(slotA);
  } else if (mRoles.params.ParamInt(kParamIrModeB) >= 1 && IsUserIrNumber(slotB) &&
             !mRoles.irStore.HasUserIr(slotB)) {
    RequestIr(slotB);
  }
}

void Session::OnIdentity(const GlobalBlock& block) {
  const int version = block.formatByte;
  EditorView& view = mRoles.window.View();
  view.SetControlText(kTagDeviceLine, kDeviceLineText);
  view.SetControlText(kTagVersionLine, Format(kVersionLineFormat.data(), version / 10.0));
  view.SetGroupDisabled(kGroupPedal, false);
  if (version / 10 == 0) {
    mRoles.window.SetPendingMessage(Format(kUpgradePedalFormat.data(), kEditorVersion));
    return;
  }
  if (!block.checksumOk) return;
  if (block.type == kGlobalIdentity) {
    // Whatever a connection lost without a Disconnect left behind.
    mState.ForgetConnection();
    mIrDumpActive = false;
    mIrRetrySlot = -1;
    mState.activePresetPending.store(true);
    mState.connected.store(true);
    const std::string serial =
        ReadText(block.contents.subspan(ContentsIndex(kIdentitySerialByte), kTextFieldSize));
    view.SetControlText(kTagSerialLine, std::string(kSerialLinePrefix).append(TrimTrailingSpaces(serial)));
    RequestBlock(kGlobalPresetChecksums);
  } else if (block.type == kGlobalSettings) {
    const ApplyingScope applying;
    for (std::size_t i = 0; i < kSettingsSecondGroupCount; ++i) {
      mRoles.params.SetParamFromRaw(kSecondGroupFirstParam + static_cast<int>(i),
                            block.At(kSettingsSecondGroupByte + i));
    }
  }
}

void Session::OnConnectedBlock(const GlobalBlock& block) {
  if (!block.checksumOk) return;
  int awaited = block.type;
  mState.awaitingBlock.compare_exchange_strong(awaited, -1);
  mState.settingsWait.Answer(block.type);
  mState.mapWait.Answer(block.type);
  switch (block.type) {
    case kGlobalSettings:
      mRoles.settings.ApplySettingsBlock(block);
      mState.MarkBlockReceived(kGlobalSettings);
      Send(build::BulkEnd());
      RequestPreset(block.At(kSettingsActiveSlotByte));
      break;
    case kGlobalControllerMap:
      mRoles.settings.ApplyControllerMap(block);
      mState.MarkBlockReceived(kGlobalControllerMap);
      break;
    case kGlobalProgramMap:
      mRoles.settings.ApplyProgramMap(block);
      mState.MarkBlockReceived(kGlobalProgramMap);
      break;
    case kGlobalPresetChecksums:
      // A late answer to a repeated request: the fetch it asks for runs.
      if (mState.fetching.load()) break;
      if (mCache.CompareWithDevice(block.contents) == 0) {
        RequestBlock(kGlobalSettings);
      } else {
        mState.fetchSlot.store(-1);
        mState.bulkBeginPending.store(true);
        mState.fetching.store(true);
      }
      break;
    default:
      break;
  }
}

void Session::OnIrNames(const IrNames& names) {
  if (!names.checksumOk) return;
  const int page = names.page;
  mState.irNamesWait.Answer(page);
  const int firstRow = (page % kIrNamesPagesPerBank) * static_cast<int>(kIrNamesPerPage);
  for (std::size_t k = 0; k < kIrNamesPerPage; ++k) {
    const int row = firstRow + static_cast<int>(k);
    std::string name = names.Name(k);
    mRoles.irs.SetUserIrListEntry(row,
                             name.empty() ? Format(kEmptySlotFormat.data(), row + 1) : std::move(name));
  }
  // The chain stops at the end of the bank, and never asks for a page the
  // pedal does not have.
  const int next = page + 1;
  if (next % kIrNamesPagesPerBank != 0 && next < static_cast<int>(kIrNamesPageCount)) {
    mState.irNamesWait.Start(next);
    Send(build::IrNamesRequest(static_cast<std::uint8_t>(next)));
  }
}

void Session::OnParameterReport(const ParameterReport& report) {
  if (report.index >= kNumParams) return;
  const ApplyingScope applying;
  mRoles.params.SetParamFromRaw(report.index, report.value);
}

void Session::OnIrDump(const IrDumpPart& part, std::span<const std::uint8_t> message) {
  if (Streams().ExportActive()) {
    Streams().OnStreamMessage(PedalMessage(part), message);
    return;
  }
  EditorView& view = mRoles.window.View();
  switch (part.kind) {
    case IrPartKind::Begin:
      mIrUnpacker.Reset();
      mIrChecksum.Reset();
      mIrDumpActive = true;
      mIrDumpSlot = part.slot;
      mIrDumpExpected = UnpackedSize(part.totalLength);
      // Refused before anything is unpacked; its End asks again.
      mIrDumpBroken = mIrDumpExpected > kIrDumpBufferSize;
      if (mIrDumpBroken) return;
      mIrUnpacker.Feed(part.packed);
      mIrChecksum.Add(part.packed);
      view.SetControlText(kTagPresetProgressText, PercentText(0.0));
      view.SetGroupHidden(kGroupPresetProgress, false);
      return;
    case IrPartKind::Data: {
      if (!mIrDumpActive || mIrDumpBroken) return;
      if (!mIrUnpacker.Feed(part.packed)) {
        mIrDumpBroken = true;
        return;
      }
      mIrChecksum.Add(part.packed);
      const double ratio = mIrDumpExpected > 0 ? static_cast<double>(mIrUnpacker.Size()) /
                                                     static_cast<double>(mIrDumpExpected)
                                               : 0.0;
      view.SetControlValue(kTagPresetProgressRing, std::min(ratio, 1.0));
      view.SetControlText(kTagPresetProgressText, Format(kIrDumpPercentFormat.data(), ratio * 100.0));
      return;
    }
    case IrPartKind::End:
      break;
  }
  if (!mIrDumpActive) return;
  mIrDumpActive = false;
  mState.irWait.Answer(mIrDumpSlot);
  const bool fits = !mIrDumpBroken && mIrUnpacker.Feed(part.packed);
  mIrUnpacker.Flush();
  mIrChecksum.Add(part.packed);
  view.SetGroupHidden(kGroupPresetProgress, true);
  // A dump that overflowed, does not make one whole image or fails its stream
  // checksum would replace a good cached file with a broken one: keep the old,
  // ask once more, and say so when the second answer is no better.
  if (fits && mIrUnpacker.Size() == kIrImageSize && mIrChecksum.Value() == part.streamChecksum) {
    mIrRetrySlot = -1;
    mRoles.irs.StoreReceivedIr(mIrDumpSlot, mIrUnpacker.Output());
    mRoles.irs.RefreshIrList();
    view.SetControlText(kTagPresetProgressText, PercentText(1.0));
  } else if (mIrRetrySlot != mIrDumpSlot) {
    mIrRetrySlot = mIrDumpSlot;
    RequestIr(mIrDumpSlot);
    return;
  } else {
    mIrRetrySlot = -1;
    mRoles.window.SetPendingMessage(std::string(kCommunicationErrorText));
  }
  const int slotB = mState.irSlotB.load();
  if (slotB != mIrDumpSlot && mRoles.params.ParamInt(kParamIrModeB) >= 1 &&
      IsUserIrNumber(slotB) && !mRoles.irStore.HasUserIr(slotB)) {
    RequestIr(slotB);
  }
}

void Session::OnShortReply(const ShortReply& reply, std::span<const std::uint8_t> message) {
  switch (reply.code) {
    case ShortReplyCode::DoneAck:
      mState.doneAck.store(true);
      break;
    case ShortReplyCode::IrSelectAck:
      OnIrSelectAck();
      break;
    case ShortReplyCode::ErrorAck:
      Streams().OnIrUploadEnded(true);
      mRoles.window.SetPendingMessage(std::string(kErrorText));
      break;
    case ShortReplyCode::IrStoredAck:
      OnIrStoredAck();
      break;
    default:
      Streams().OnStreamMessage(PedalMessage(reply), message);
      break;
  }
}

void Session::OnIrSelectAck() {
  // The step names the parameter that was sent last: the MSB (53 / 55)
  // waits for this reply, which sends the LSB (54 / 56).
  int step = kParamUserIrAMsb;
  if (mState.irSelectionStep.compare_exchange_strong(step, kParamUserIrA)) {
    mRoles.params.SetParamFromPosition(kParamUserIrA, (mState.irSlotA.load() & kDataByteMask) / 127.0);
    return;
  }
  step = kParamUserIrBMsb;
  if (mState.irSelectionStep.compare_exchange_strong(step, kParamUserIrB)) {
    mRoles.params.SetParamFromPosition(kParamUserIrB, (mState.irSlotB.load() & kDataByteMask) / 127.0);
  }
}

void Session::OnIrStoredAck() {
  // Only the upload waiting for it takes it: a late or stray one would end
  // the next upload in its data, or let a waiting preset-file import store
  // before its impulse response is in. Taken before the preset-file import
  // goes on, whose second upload starts now.
  if (!Streams().OnIrStored()) return;
  mRoles.irs.OnUploadStored();
  if (!mRoles.window.HasWindow()) return;
  if (mState.presetFileFirstWaiting.exchange(false)) {
    if (mState.presetFileSecondWaiting.load()) {
      mRoles.presetFiles.ContinueAfterAck();
      return;
    }
  } else if (!mState.presetFileSecondWaiting.exchange(false)) {
    mRoles.irs.RefreshIrList();
    return;
  }
  mRoles.irs.RefreshIrList();
  mRoles.presetFiles.StoreImportedPreset();
}

}  // namespace kr7
