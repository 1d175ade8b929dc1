#include "device/StreamsIrUpload.h"

#include <string>

#include "device/Messages.h"
#include "device/Session.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"

namespace kr7 {

bool IrUploadStream::Start(int slot, ByteSpan packed, bool connected) {
  if (mBusy.load() || !connected || slot < 0 ||
      static_cast<std::uint32_t>(slot) > kMax14BitValue) {
    return false;
  }
  if (!mTransfer.Load(packed)) return false;
  mSlot = slot;
  mWaitedTicks = 0;
  mBusy.store(true);
  mAwaitingReady.store(false);
  mInProgress.store(false);
  mReady.store(true);
  return true;
}

bool IrUploadStream::Step(const StreamHost& host) {
  EditorView& view = host.View();
  if (!mReady.load()) {
    if (!mBusy.load() || ++mWaitedTicks <= kStreamReplyTicks) return false;
    // Neither IrReadyAck nor IrStoredAck came: a transfer left waiting would
    // refuse every later one.
    End();
    ResetProgress(view, kPresetProgress);
    SetProgressVisible(view, kPresetProgress, false);
    host.SetPendingMessage(std::string(kCommunicationErrorText));
    return true;
  }
  mWaitedTicks = 0;
  if (!mTransfer.Started()) {
    const auto total = static_cast<std::uint32_t>(mTransfer.Total());
    const ByteSpan first = mTransfer.Take(kIrChunkSize);
    mReady.store(false);
    mInProgress.store(true);
    // Before sending: the reply may be handled before Send returns.
    mAwaitingReady.store(true);
    host.Send(build::IrDumpBegin(static_cast<std::uint16_t>(mSlot), total, first));
    ShowProgress(view, kPresetProgress, mTransfer.Ratio());
    SetProgressVisible(view, kPresetProgress, true);
    return false;
  }
  if (mTransfer.Remaining() > kIrChunkSize) {
    host.Send(build::IrDumpData(mTransfer.Take(kIrChunkSize)));
    ShowProgress(view, kPresetProgress, mTransfer.Ratio());
    return false;
  }
  mReady.store(false);
  mInProgress.store(false);
  // Before sending: the reply may be handled before Send returns.
  mAwaitingStored.store(true);
  host.Send(build::IrDumpEnd(mTransfer.Take(kIrChunkSize), mTransfer.Checksum()));
  ResetProgress(view, kPresetProgress);
  SetProgressVisible(view, kPresetProgress, false);
  return false;
}

void IrUploadStream::OnIrReady() {
  if (mAwaitingReady.exchange(false)) mReady.store(true);
}

void IrUploadStream::End() {
  mAwaitingStored.store(false);
  mReady.store(false);
  mAwaitingReady.store(false);
  mInProgress.store(false);
  mBusy.store(false);
}

}  // namespace kr7
