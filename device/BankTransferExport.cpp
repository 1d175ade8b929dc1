#include "device/BankTransferExport.h"

#include <cstdio>

#include "device/BankTransferImport.h"
#include "device/BankTransferImportCheck.h"
#include "device/Session.h"
#include "device/SessionState.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"
#include "model/FileIO.h"
#include "model/Parameters.h"
#include "model/PresetPayload.h"

namespace kr7 {

namespace {

// Message byte of preset parameter p in a PresetDump.
constexpr std::size_t DumpByte(int param) {
  return kOffsetBlockContents + kPayloadValuesOffset + static_cast<std::size_t>(param);
}

std::string Format(std::string_view format, int value) {
  char text[256];
  std::snprintf(text, sizeof text, std::string(format).c_str(), value);
  return text;
}

struct IrSource {
  std::size_t mode;
  std::size_t msb;
  std::size_t lsb;
};
constexpr std::array<IrSource, 2> kIrSources = {{
    {DumpByte(kParamIrModeA), DumpByte(kParamUserIrAMsb), DumpByte(kParamUserIrA)},
    {DumpByte(kParamIrModeB), DumpByte(kParamUserIrBMsb), DumpByte(kParamUserIrB)},
}};

}  // namespace

BankExport::BankExport(SessionState& session, StreamHost host, std::string dataFolder)
    : mSession(session), mHost(host), mDataFolder(std::move(dataFolder)) {}

void BankExport::Start() {
  if (Active()) return;
  if (!mSession.connected.load()) {
    mHost.View().ShowMessage(kNotConnectedText, false);
    return;
  }
  FileRequest request;
  request.save = true;
  request.extension = std::string(kBankFileExtension);
  const std::string remembered = mHost.RememberedPath();
  request.initialName = remembered.empty() ? std::string(kBankFileDefaultName) : remembered;
  request.initialFolder = mDataFolder;
  const std::optional<std::string> path = mHost.View().AskForFile(request);
  if (!path || path->empty()) return;
  mHost.RememberPath(*path);
  StartTo(*path);
}

void BankExport::StartTo(const std::string& path, Completion done) {
  if (Active()) return;
  mPath = path;
  mDone = std::move(done);
  mBuffer.clear();
  // All of it now, so that the receive handler never grows the buffer.
  mBuffer.reserve(kBankFileLimit);
  mPresetCounter = 0;
  mIrScan = 0;
  mIrStarted = false;
  mOverflow = false;
  mIrUsed.fill(false);
  mAwaiting.store(Awaiting::Nothing);
  mRetryNow.store(false);
  mBegun.store(false);
  mReady.store(true);
  mActive.store(true);
}

bool BankExport::Step(bool connected) {
  if (!Active()) return false;
  if (!connected) {
    Abort();
    return true;
  }
  if (!mReady.load()) {
    if (mRetryNow.exchange(false)) {
      RepeatRequest(true);
    } else if (++mWaitedTicks > kPresetReplyTicks) {
      RepeatRequest(false);
    }
    return true;
  }
  mWaitedTicks = 0;
  mRepeats = 0;
  mMark = mBuffer.size();
  mDropsAtRequest.store(mSession.droppedIncoming.load());
  if (mPresetCounter < kBankPresetCount) {
    const int slot = mPresetCounter++;
    mReady.store(false);
    // Set before sending: the dump may be handled before Send returns. The
    // session's reply watch hides the overlay if it never comes.
    mSession.awaitingTicks.store(0);
    mSession.awaitingPreset.store(true);
    mAwaiting.store(Awaiting::Preset);
    mBegun.store(true);
    mHost.Send(build::PresetRequest(static_cast<std::uint8_t>(slot)));
    return true;
  }
  if (mIrScan < kBankUserIrSlots) {
    while (mIrScan < kBankUserIrSlots && !mIrUsed[static_cast<std::size_t>(mIrScan)]) ++mIrScan;
    // None left: nothing is sent this tick; the file is written at the next.
    if (mIrScan == kBankUserIrSlots) return true;
    const int slot = mIrScan++;
    mIrUsed[static_cast<std::size_t>(slot)] = false;
    mRequestedIr = slot;
    mIrStarted = false;
    mReady.store(false);
    mAwaiting.store(Awaiting::Ir);
    mHost.Send(build::IrRequest(static_cast<std::uint16_t>(slot)));
    return true;
  }
  Finish();
  return true;
}

void BankExport::Abort() {
  if (!Active()) return;
  mReady.store(false);
  mAwaiting.store(Awaiting::Nothing);
  mActive.store(false);
  End(false);
}

void BankExport::Fail(const std::string& text) {
  // An export that started with a completion reports through it alone.
  const bool quiet = static_cast<bool>(mDone);
  Abort();
  SetProgressVisible(mHost.View(), kPresetProgress, false);
  if (!quiet) mHost.SetPendingMessage(text);
}

void BankExport::RepeatRequest(bool broken) {
  mWaitedTicks = 0;
  Bytes request;
  {
    // The receive handler may be adding a late answer right now.
    std::lock_guard lock(mBufferMutex);
    if (mReady.load()) return;  // it came after all
    const bool ir = mAwaiting.load() == Awaiting::Ir;
    if (mRepeats == kExportRepeats) {
      Fail(!broken ? std::string(kCommunicationErrorText)
           : ir    ? Format(kExportIrUnreadFormat, mRequestedIr + 1)
                   : Format(kExportPresetUnreadFormat, mPresetCounter - 1));
      return;
    }
    ++mRepeats;
    // What arrived of the unanswered request goes; it comes again whole.
    mBuffer.resize(mMark);
    mIrStarted = false;
    mDropsAtRequest.store(mSession.droppedIncoming.load());
    request = ir ? build::IrRequest(static_cast<std::uint16_t>(mRequestedIr))
                  : build::PresetRequest(static_cast<std::uint8_t>(mPresetCounter - 1));
  }
  mSession.awaitingTicks.store(0);
  mHost.Send(request);
}

void BankExport::Finish() {
  // The file must import again, or it is not written at all.
  if (mOverflow || !CheckImportFile(mBuffer)) {
    Fail(std::string(kExportCheckFailedText));
    return;
  }
  mReady.store(false);
  mActive.store(false);
  EditorView& view = mHost.View();
  SetProgressVisible(view, kPresetProgress, false);
  const bool written = WriteFileAtomically(mPath, mBuffer.data(), mBuffer.size());
  mBuffer = Bytes();
  // A file that could not be written is not reported as a success.
  if (written && !mDone) view.ShowMessage(kFinishedText, false);
  End(written);
}

void BankExport::End(bool written) {
  Completion done = std::move(mDone);
  mDone = nullptr;
  if (done) done(written);
}

bool BankExport::DropSeen() const {
  return mSession.droppedIncoming.load() != mDropsAtRequest.load();
}

void BankExport::Broken() {
  // Nothing of it stays (RepeatRequest cuts the buffer back) and the
  // awaited request stays open for the answer to the repeat.
  mRetryNow.store(true);
}

bool BankExport::OnMessage(ByteSpan message, const PedalMessage& recognised) {
  if (!Active()) return false;
  std::lock_guard lock(mBufferMutex);
  if (const auto* dump = std::get_if<PresetDump>(&recognised)) {
    OnPresetDump(message, *dump);
    return true;
  }
  if (const auto* part = std::get_if<IrDumpPart>(&recognised)) {
    OnIrPart(message, *part);
    return true;
  }
  return false;
}

void BankExport::Append(ByteSpan message) {
  if (mBuffer.size() + message.size() > kBankFileLimit) {
    mOverflow = true;
    return;
  }
  mBuffer.insert(mBuffer.end(), message.begin(), message.end());
}

void BankExport::MarkUsedIrs(ByteSpan dump) {
  for (const IrSource& source : kIrSources) {
    if (dump[source.mode] == 0) continue;
    const auto slot = static_cast<int>(Combine14(dump[source.msb], dump[source.lsb]));
    if (slot < kBankUserIrSlots) mIrUsed[static_cast<std::size_t>(slot)] = true;
  }
}

void BankExport::OnPresetDump(ByteSpan message, const PresetDump& dump) {
  // Only the slot just requested: presets stepped to on the pedal meanwhile
  // would put a second dump of some slot into the file.
  if (mAwaiting.load() != Awaiting::Preset || dump.slot != mPresetCounter - 1) return;
  Awaiting preset = Awaiting::Preset;
  if (!dump.checksumOk || DropSeen()) {
    Broken();
    return;
  }
  if (!mAwaiting.compare_exchange_strong(preset, Awaiting::Nothing)) return;
  mSession.awaitingPreset.store(false);
  MarkUsedIrs(message);
  Append(message);
  mAnswers.fetch_add(1);
  EditorView& view = mHost.View();
  ShowProgress(view, kPresetProgress, static_cast<double>(mPresetCounter) / kBankPresetCount);
  SetProgressVisible(view, kPresetProgress, true);
  mReady.store(true);
}

void BankExport::OnIrPart(ByteSpan message, const IrDumpPart& part) {
  if (mAwaiting.load() != Awaiting::Ir) return;
  switch (part.kind) {
    case IrPartKind::Begin:
      if (part.slot != mRequestedIr) return;
      mIrStarted = true;
      mIrExpected = part.totalLength;
      mIrPacked = part.packed.size();
      mIrSum.Reset();
      mIrSum.Add(part.packed);
      Append(message);
      return;
    case IrPartKind::Data:
      if (!mIrStarted) return;
      mIrPacked += part.packed.size();
      mIrSum.Add(part.packed);
      Append(message);
      return;
    case IrPartKind::End:
      break;
  }
  if (!mIrStarted) return;
  mIrStarted = false;
  mIrPacked += part.packed.size();
  mIrSum.Add(part.packed);
  if (mIrPacked != mIrExpected || mIrSum.Value() != part.streamChecksum || DropSeen()) {
    Broken();
    return;
  }
  Append(message);
  mAnswers.fetch_add(1);
  mAwaiting.store(Awaiting::Nothing);
  EditorView& view = mHost.View();
  ShowProgress(view, kPresetProgress, static_cast<double>(mIrScan) / kBankUserIrSlots);
  SetProgressVisible(view, kPresetProgress, true);
  mReady.store(true);
}

}  // namespace kr7
