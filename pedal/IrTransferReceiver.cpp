#include "pedal/IrTransferReceiver.h"

#include <algorithm>

namespace kr7::pedal {

IrTransferReceiver::IrTransferReceiver() : mUnpacker(kIrImageSize + 1) {}

bool IrTransferReceiver::Begin(int slot, std::uint32_t totalLength, ByteSpan firstPacked) {
  mRunning = false;
  if (!IrEntryForSlot(slot) || totalLength != kIrPackedSize) {
    return false;
  }
  mUnpacker.Reset();
  mChecksum.Reset();
  mTotal = totalLength;
  mSlot = slot;
  mRunning = true;
  return Feed(firstPacked.first(std::min<std::size_t>(firstPacked.size(), mTotal)));
}

bool IrTransferReceiver::Data(ByteSpan packed) { return mRunning && Feed(packed); }

std::optional<IrImage> IrTransferReceiver::End(ByteSpan lastPacked, std::uint16_t streamChecksum) {
  if (!mRunning || !Feed(lastPacked)) {
    return std::nullopt;
  }
  mRunning = false;
  mUnpacker.Flush();
  if (mUnpacker.PackedConsumed() != mTotal || mChecksum.Value() != streamChecksum ||
      mUnpacker.Size() < kIrImageSize) {
    return std::nullopt;
  }
  IrImage image{};
  std::copy_n(mUnpacker.Output().begin(), kIrImageSize, image.begin());
  return image;
}

bool IrTransferReceiver::Feed(ByteSpan packed) {
  if (mUnpacker.PackedConsumed() + packed.size() > mTotal) {
    mRunning = false;
    return false;
  }
  mChecksum.Add(packed);
  mUnpacker.Feed(packed);
  return true;
}

}  // namespace kr7::pedal
