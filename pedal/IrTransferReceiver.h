#pragma once
// Collects one impulse-response transfer from the editor (an upload or the
// impulse-response part of an import): a Begin that names the slot and the
// packed length, Data parts of 256 packed bytes, and an End with the rest and
// the stream checksum.
//
// The pedal takes only whole images: the announced length must be that of a
// packed 2436-byte image, the parts must bring exactly that many bytes, and
// the checksum over all of them must hold; anything else fails the transfer
// rather than storing a damaged response. Not thread-safe.

#include <optional>

#include "device/Checksums.h"
#include "device/Packing.h"
#include "pedal/PedalState.h"

namespace kr7::pedal {

// Packed length of one impulse-response image.
inline constexpr std::size_t kIrPackedSize = PackedSize(kIrImageSize);  // 2785

class IrTransferReceiver {
 public:
  IrTransferReceiver();

  // Starts a transfer, forgetting any unfinished one. False (and no
  // transfer running) for a slot the pedal does not have or a length other
  // than an image's.
  bool Begin(int slot, std::uint32_t totalLength, ByteSpan firstPacked);
  // False when no transfer runs or the part brings more than was announced;
  // the transfer has then failed.
  bool Data(ByteSpan packed);
  // Ends the transfer. The complete image when every byte arrived and the
  // checksum holds; nullopt otherwise. No transfer runs afterwards.
  std::optional<IrImage> End(ByteSpan lastPacked, std::uint16_t streamChecksum);

  bool Running() const { return mRunning; }
  int Slot() const { return mSlot; }

 private:
  bool Feed(ByteSpan packed);

  StreamUnpacker mUnpacker;
  StreamChecksum mChecksum;
  std::uint32_t mTotal = 0;
  int mSlot = 0;
  bool mRunning = false;
};

}  // namespace kr7::pedal
