#include "device/StreamsIrUpload.h"

#include "device/Messages.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"

namespace kr7 {

bool IrUploadStream::Start(int slot, ByteSpan packed, bool connected) {
  if (!connected || slot < 0 || static_cast<std::uint32_t>(slot) > kMax14BitValue) return false;
  if (!mTransfer.Load(packed)) return false;
  mSlot = slot;
  mAwaitingReady.store(false);
  mInProgress.store(false);
  mReady.store(true);
  return true;
}

void IrUploadStream::Step(const StreamHost& host) {
  if (!mReady.load()) return;
  EditorView& view = host.View();
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
    return;
  }
  if (mTransfer.Remaining() > kIrChunkSize) {
    host.Send(build::IrDumpData(mTransfer.Take(kIrChunkSize)));
    ShowProgress(view, kPresetProgress, mTransfer.Ratio());
    return;
  }
  mReady.store(false);
  mInProgress.store(false);
  host.Send(build::IrDumpEnd(mTransfer.Take(kIrChunkSize), mTransfer.Checksum()));
  ResetProgress(view, kPresetProgress);
  SetProgressVisible(view, kPresetProgress, false);
}

void IrUploadStream::OnIrReady() {
  if (mAwaitingReady.exchange(false)) mReady.store(true);
}

}  // namespace kr7
