#include "pedal/VirtualPedal.h"

#include <algorithm>
#include <utility>

#include "pedal/PedalBlocks.h"

namespace kr7::pedal {

namespace {

constexpr int kLastControllerParam = kParamControllerMap0 + kNumControllerValues - 1;
constexpr std::uint8_t kFactoryResetAll = 0;
constexpr std::uint8_t kFactoryResetPresets = 1;
constexpr std::uint8_t kFactoryResetSettings = 2;

std::size_t At(int value) { return static_cast<std::size_t>(value); }

// A slot byte above 0x7F is no MIDI data byte, but nothing upstream stops one
// from arriving; it must never index the 128 slots.
bool ValidSlot(int slot) { return slot >= 0 && slot < kNumSlots; }

}  // namespace

VirtualPedal::VirtualPedal(PedalState initial) : mState(std::move(initial)) {}

void VirtualPedal::SetReplySink(ReplySink sink) {
  std::lock_guard lock(mMutex);
  mSink = std::move(sink);
}

void VirtualPedal::SetReplySink(SysExSender* sender) {
  if (sender == nullptr) {
    SetReplySink(ReplySink{});
    return;
  }
  SetReplySink([sender](ByteSpan message) { sender->SendSysEx(message); });
}

void VirtualPedal::SetTraceSink(TraceSink sink) {
  std::lock_guard lock(mMutex);
  mTrace = std::move(sink);
}

void VirtualPedal::SetStateChangedHook(StateChangedHook hook) {
  std::lock_guard lock(mMutex);
  mChangedHook = std::move(hook);
}

template <class Body>
void VirtualPedal::Transact(Body&& body) {
  Replies out;
  ReplySink sink;
  TraceSink trace;
  {
    std::lock_guard lock(mMutex);
    body(out);
    if (mPendingChanges != 0 && mChangedHook) {
      mChangedHook(mState, mPendingChanges);
    }
    mPendingChanges = 0;
    sink = mSink;
    trace = mTrace;
  }
  for (const Outgoing& reply : out) {
    if (trace) {
      trace(reply.dropped ? TraceDirection::DroppedByFault : TraceDirection::ToEditor, reply.bytes);
    }
    if (!reply.dropped && sink) {
      sink(reply.bytes);
    }
  }
}

void VirtualPedal::Reply(Replies& out, Bytes message) {
  const bool send = mFaults.Apply(message);
  out.push_back({std::move(message), !send});
}

void VirtualPedal::Receive(ByteSpan message) {
  Transact([&](Replies& out) {
    if (mTrace) {
      mTrace(TraceDirection::FromEditor, message);
    }
    std::visit([&](const auto& typed) { Handle(out, typed); }, RecogniseFromEditor(message));
  });
}

// --- Presets ------------------------------------------------------------------

void VirtualPedal::ReplyWithDump(Replies& out, int slot) {
  // The active slot plays the edit buffer; every other slot its stored preset.
  const PresetPayload& payload =
      slot == mState.activeSlot ? mState.editBuffer : mState.presets[At(slot)];
  Reply(out, build::PresetDump(static_cast<std::uint8_t>(slot), payload));
}

void VirtualPedal::LoadActiveSlot(int slot) {
  mState.activeSlot = slot;
  mState.editBuffer = mState.presets[At(slot)];
  Changed(kChangeGlobals);
}

void VirtualPedal::Handle(Replies& /*out*/, const Dropped& /*message*/) { ++mIgnored; }

void VirtualPedal::Handle(Replies& out, const PresetStore& message) {
  if (!message.checksumOk || !ValidSlot(message.slot)) {
    Reply(out, build::ShortReply(kReplyError));
    return;
  }
  PresetPayload& slot = mState.presets[message.slot];
  std::copy(message.payload.begin(), message.payload.end(), slot.begin());
  if (message.slot == mState.activeSlot) {
    mState.editBuffer = slot;
  }
  Changed(kChangePresets);
}

void VirtualPedal::Handle(Replies& out, const PresetSelect& message) {
  if (!ValidSlot(message.slot)) {
    ++mIgnored;
    return;
  }
  LoadActiveSlot(message.slot);
  ReplyWithDump(out, message.slot);
}

void VirtualPedal::Handle(Replies& out, const PresetRequest& message) {
  if (!ValidSlot(message.slot)) {
    ++mIgnored;
    return;
  }
  Reply(out, build::PresetDump(message.slot, mState.presets[message.slot]));
}

void VirtualPedal::Handle(Replies& out, const ParameterSet& message) {
  if (message.deviceNumber == kDeviceParamStorePreset) {
    const int slot = message.value;
    if (!ValidSlot(slot)) {
      ++mIgnored;
      return;
    }
    mState.presets[At(slot)] = mState.editBuffer;
    mState.activeSlot = slot;
    Changed(kChangePresets | kChangeGlobals);
    ReplyWithDump(out, slot);
    return;
  }
  const std::optional<int> index = PresetIndexForDeviceNumber(message.deviceNumber);
  if (!index) {
    ++mIgnored;
    return;
  }
  SetPayloadValue(mState.editBuffer, *index, ClampToParameterRange(*index, message.value));
  // The high half of a user-IR number is taken first; the editor sends the
  // low half once the pedal confirms.
  if (*index == kParamUserIrAMsb || *index == kParamUserIrBMsb) {
    Reply(out, build::ShortReply(kReplyIrSelect));
  }
}

// --- Global blocks ------------------------------------------------------------

void VirtualPedal::Handle(Replies& out, const GlobalRequest& message) {
  switch (message.type) {
    case kGlobalIdentity:
      Reply(out, build::IdentityBlock(mState.version, mState.serial));
      break;
    case kGlobalPresetChecksums:
      Reply(out, ChecksumsBlock(mState));
      break;
    case kGlobalSettings:
      Reply(out, SettingsBlock(mState));
      break;
    case kGlobalControllerMap:
      Reply(out, ControllerMapBlock(mState));
      break;
    case kGlobalProgramMap:
      Reply(out, ProgramMapBlock(mState));
      break;
    default:
      ++mIgnored;
      break;
  }
}

void VirtualPedal::Handle(Replies& out, const GlobalBlock& message) {
  if (!message.checksumOk) {
    Reply(out, build::ShortReply(kReplyError));
    return;
  }
  if (ApplyGlobalBlock(mState, message)) {
    Changed(kChangeGlobals);
  } else {
    ++mIgnored;
  }
}

void VirtualPedal::Handle(Replies& out, const FactoryReset& message) {
  switch (message.scope) {
    case kFactoryResetAll:
      mState.presets = mState.factoryBank;
      ResetGlobalBlocks(mState);
      LoadActiveSlot(0);
      Changed(kChangePresets);
      break;
    case kFactoryResetPresets:
      mState.presets = mState.factoryBank;
      LoadActiveSlot(mState.activeSlot);
      Changed(kChangePresets);
      break;
    case kFactoryResetSettings:
      ResetGlobalBlocks(mState);
      Changed(kChangeGlobals);
      break;
    default:
      Reply(out, build::ShortReply(kReplyError));
      return;
  }
  Reply(out, build::ShortReply(kReplyDone));
}

void VirtualPedal::Handle(Replies& /*out*/, const BulkBegin& /*message*/) { mInBulk = true; }

void VirtualPedal::Handle(Replies& /*out*/, const BulkEnd& /*message*/) { mInBulk = false; }

void VirtualPedal::Handle(Replies& /*out*/, const EditorClosed& /*message*/) { mInBulk = false; }

// --- Impulse responses -----------------------------------------------------------

void VirtualPedal::Handle(Replies& out, const IrNamesRequest& message) {
  if (message.page >= kIrNamesPageCount) {
    ++mIgnored;
    return;
  }
  Reply(out, IrNamesPage(mState, message.page));
}

void VirtualPedal::Handle(Replies& out, const IrRequest& message) {
  const std::optional<int> entry = IrEntryForSlot(message.slot);
  // An empty slot has nothing to send; an empty image would reach the
  // editor's store as if it were a response.
  if (!entry || !mState.irs[At(*entry)]) {
    ++mIgnored;
    return;
  }
  for (Bytes& part : build::SplitIrTransfer(message.slot, Pack(*mState.irs[At(*entry)]))) {
    Reply(out, std::move(part));
  }
}

void VirtualPedal::StoreIr(int slot, const IrImage& image) {
  mState.irs[At(*IrEntryForSlot(slot))] = image;
  Changed(kChangeIrs);
}

void VirtualPedal::Handle(Replies& out, const IrDumpPart& message) {
  if (message.imported) {
    HandleImportPart(out, message);
  } else {
    HandleUploadPart(out, message);
  }
}

void VirtualPedal::HandleUploadPart(Replies& out, const IrDumpPart& message) {
  switch (message.kind) {
    case IrPartKind::Begin:
      Reply(out, build::ShortReply(mUpload.Begin(message.slot, message.totalLength, message.packed)
                                       ? kReplyIrReady
                                       : kReplyError));
      break;
    case IrPartKind::Data:
      // The editor sends the data parts one per tick without waiting; a
      // reply here would release its upload step a second time.
      mUpload.Data(message.packed);
      break;
    case IrPartKind::End: {
      const bool running = mUpload.Running();
      const std::optional<IrImage> image = mUpload.End(message.packed, message.streamChecksum);
      if (image) {
        StoreIr(mUpload.Slot(), *image);
        Reply(out, build::ShortReply(kReplyIrStored));
      } else if (running) {
        Reply(out, build::ShortReply(kReplyError));
      } else {
        ++mIgnored;
      }
      break;
    }
  }
}

void VirtualPedal::HandleImportPart(Replies& out, const IrDumpPart& message) {
  switch (message.kind) {
    case IrPartKind::Begin:
      if (mFaults.TakeWriteFailure()) {
        Reply(out, build::ShortReply(kImportWriteFail));
        return;
      }
      mImportFailed = !mImport.Begin(message.slot, message.totalLength, message.packed);
      Reply(out, build::ShortReply(mImportFailed ? kImportWriteFail : kImportWriteOk));
      break;
    case IrPartKind::Data:
      // Not answered: the editor sends the next part at its next tick.
      if (!mImport.Data(message.packed)) {
        mImportFailed = true;
      }
      break;
    case IrPartKind::End: {
      if (mFaults.TakeWriteFailure()) {
        Reply(out, build::ShortReply(kImportWriteFail));
        return;
      }
      const std::optional<IrImage> image = mImport.End(message.packed, message.streamChecksum);
      if (image && !mImportFailed) {
        StoreIr(mImport.Slot(), *image);
        Reply(out, build::ShortReply(kImportWriteOk));
      } else {
        Reply(out, build::ShortReply(kImportWriteFail));
      }
      mImportFailed = false;
      break;
    }
  }
}

// --- Streams ------------------------------------------------------------------

void VirtualPedal::Handle(Replies& out, const FactoryPresetWrite& message) {
  if (mFaults.TakeWriteFailure() || !message.checksumOk || !ValidSlot(message.slot)) {
    Reply(out, build::ShortReply(kFactoryWriteFail));
    return;
  }
  PresetPayload& entry = mState.factoryBank[message.slot];
  std::copy(message.payload.begin(), message.payload.end(), entry.begin());
  Changed(kChangeFactoryBank);
  Reply(out, build::ShortReply(kFactoryWriteOk));
}

void VirtualPedal::Handle(Replies& out, const ImportPresetWrite& message) {
  if (mFaults.TakeWriteFailure() || !message.checksumOk || !ValidSlot(message.slot)) {
    Reply(out, build::ShortReply(kImportWriteFail));
    return;
  }
  PresetPayload& slot = mState.presets[message.slot];
  std::copy(message.payload.begin(), message.payload.end(), slot.begin());
  if (message.slot == mState.activeSlot) {
    mState.editBuffer = slot;
  }
  Changed(kChangePresets);
  Reply(out, build::ShortReply(kImportWriteOk));
}

// --- Firmware loader ------------------------------------------------------------

void VirtualPedal::ReplyFirmwareVerdict(Replies& out, FirmwareReceiver::Verdict verdict) {
  switch (verdict) {
    case FirmwareReceiver::Verdict::Done:
      // An image says nothing the pedal could read as its version, so an
      // accepted one counts as the next version: the one visible trace of
      // an update on a pedal that has no firmware to run.
      mState.firmware = mFirmware.Image();
      mState.version = std::min<std::uint8_t>(mState.version + 1, kDataByteMask);
      Changed(kChangeFirmware | kChangeGlobals);
      Reply(out, build::LoaderReply(kCmdFirmwareDone));
      break;
    case FirmwareReceiver::Verdict::Failed:
      Reply(out, build::LoaderReply(kCmdFirmwareFailed));
      break;
    case FirmwareReceiver::Verdict::None:
      ++mIgnored;
      break;
    case FirmwareReceiver::Verdict::Pending:
      break;
  }
}

void VirtualPedal::Handle(Replies& out, const FirmwareStart& /*message*/) {
  mFirmware.Start();
  Reply(out, build::LoaderReply(kCmdFirmwareReady));
}

void VirtualPedal::Handle(Replies& out, const FirmwareFirst& message) {
  ReplyFirmwareVerdict(out, mFirmware.First(message.totalLength, message.packed));
}

void VirtualPedal::Handle(Replies& out, const FirmwareData& message) {
  ReplyFirmwareVerdict(out, mFirmware.Data(message));
}

// --- The pedal's own actions ------------------------------------------------------

bool VirtualPedal::TurnKnob(int index, int value) {
  const bool preset = index >= kFirstPresetParam && index <= kLastPresetParam;
  const bool global = index >= kFirstGlobalParam && index < kFirstGlobalParam + kNumGlobalSettings;
  const bool controller = index >= kParamControllerMap0 && index <= kLastControllerParam;
  if (!preset && !global && !controller) {
    return false;
  }
  Transact([&](Replies& out) {
    const std::uint8_t raw = ClampToParameterRange(index, value);
    if (preset) {
      SetPayloadValue(mState.editBuffer, index, raw);
    } else if (global) {
      mState.globals[At(index - kFirstGlobalParam)] = raw;
      Changed(kChangeGlobals);
    } else {
      mState.controllerMap[At(index - kParamControllerMap0)] = raw;
      Changed(kChangeGlobals);
    }
    Reply(out, build::ParameterReport(static_cast<std::uint8_t>(index), raw));
  });
  return true;
}

bool VirtualPedal::StepToPreset(int slot) {
  if (slot < 0 || slot >= kNumSlots) {
    return false;
  }
  Transact([&](Replies& out) {
    LoadActiveSlot(slot);
    ReplyWithDump(out, slot);
  });
  return true;
}

void VirtualPedal::StepBy(int delta) {
  const int slot = ((ActiveSlot() + delta) % kNumSlots + kNumSlots) % kNumSlots;
  StepToPreset(slot);
}

// --- Faults and inspection ------------------------------------------------------------

void VirtualPedal::DropNextReplies(int n) {
  std::lock_guard lock(mMutex);
  mFaults.DropNextReplies(n);
}

void VirtualPedal::CorruptNextChecksum() {
  std::lock_guard lock(mMutex);
  mFaults.CorruptNextChecksum();
}

void VirtualPedal::FailNextWrites(int k) {
  std::lock_guard lock(mMutex);
  mFaults.FailNextWrites(k);
}

void VirtualPedal::SetVersion(std::uint8_t versionTimesTen) {
  Transact([&](Replies&) {
    mState.version = versionTimesTen & kDataByteMask;
    Changed(kChangeGlobals);
  });
}

void VirtualPedal::SendHostile(HostileKind kind) {
  Transact([&](Replies& out) {
    for (Bytes& message : BuildHostile(kind, mState)) {
      out.push_back({std::move(message), false});
    }
  });
}

FaultCounts VirtualPedal::PendingFaults() const {
  std::lock_guard lock(mMutex);
  return mFaults.Pending();
}

PedalState VirtualPedal::Snapshot() const {
  std::lock_guard lock(mMutex);
  return mState;
}

int VirtualPedal::ActiveSlot() const {
  std::lock_guard lock(mMutex);
  return mState.activeSlot;
}

bool VirtualPedal::InBulk() const {
  std::lock_guard lock(mMutex);
  return mInBulk;
}

int VirtualPedal::IgnoredCount() const {
  std::lock_guard lock(mMutex);
  return mIgnored;
}

void VirtualPedal::ReplaceState(PedalState state) {
  Transact([&](Replies&) {
    mState = std::move(state);
    mUpload = IrTransferReceiver();
    mImport = IrTransferReceiver();
    mFirmware = FirmwareReceiver();
    Changed(kChangePresets | kChangeFactoryBank | kChangeGlobals | kChangeIrs | kChangeFirmware);
  });
}

}  // namespace kr7::pedal
