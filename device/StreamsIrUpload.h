#pragma once
// The impulse-response upload transport: a packed image (2785 bytes for one
// impulse response) goes to a user slot as IrDumpBegin, then — after the
// pedal's IrReadyAck — one IrDumpData per device tick without replies, and
// IrDumpEnd with the rest and the stream checksum. The pedal answers the end
// with IrStoredAck, which the session handles.
//
// Threads: Start and Step on the UI thread; OnIrReady on the audio thread.
// An IrReadyAck is taken only while the transfer waits for it (after
// IrDumpBegin), so a stray one never releases a stale buffer; an
// IrStoredAck only while the end waits for it.

#include <atomic>

#include "device/Packing.h"
#include "device/StreamsPackedTransfer.h"
#include "device/StreamsHost.h"

namespace kr7 {


class IrUploadStream {
 public:
  // busy: set from Start until the upload ends (stored, refused, silent);
  // without one the stream keeps its own.
  IrUploadStream() : mBusy(mOwnBusy) {}
  explicit IrUploadStream(std::atomic<bool>& busy) : mBusy(busy) {}

  // Fills the transfer buffer and makes the next eligible tick send
  // IrDumpBegin. Does not start (returns false) while another upload is
  // busy, when not connected, or for an empty or oversized image or a slot
  // outside 0..16383.
  bool Start(int slot, ByteSpan packed, bool connected);
  // The device tick's upload step (only while connected). A reply awaited
  // for more than kStreamReplyTicks ends the upload with "Communication
  // error!": returns true then.
  bool Step(const StreamHost& host);
  // Audio thread.
  void OnIrReady();
  // The pedal stored the image or refused it (IrStoredAck, ErrorAck), or
  // RECONNECT ends the upload. Either thread.
  void End();

  // Audio thread, on IrStoredAck: true when the upload sent its end and
  // waited for this reply; it then no longer waits.
  bool TakeStoredAck() { return mAwaitingStored.exchange(false); }

  bool Ready() const { return mReady.load(); }
  // Between IrDumpBegin and IrDumpEnd.
  bool InProgress() const { return mInProgress.load(); }

 private:
  PackedTransfer mTransfer;  // UI thread only
  int mSlot = 0;             // UI thread only
  std::atomic<bool> mReady{false};
  std::atomic<bool> mAwaitingReady{false};
  std::atomic<bool> mInProgress{false};
  std::atomic<bool> mAwaitingStored{false};
  std::atomic<bool> mOwnBusy{false};
  std::atomic<bool>& mBusy;
  int mWaitedTicks = 0;  // UI thread only
};

}  // namespace kr7
