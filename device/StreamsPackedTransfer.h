#pragma once
// The transfer buffer of a packed stream (impulse-response upload, firmware):
// the 7-bit data bytes, how many went out, and the stream checksum that ends
// the transfer.
//
// The first message of a transfer carries a whole chunk, zero-padded when the
// transfer is shorter; Take never counts padding as sent, so a transfer of at
// most one chunk ends with a last message that carries no data, only the
// checksum, and no message ever carries bytes beyond the transfer.
// UI thread only.

#include <cstddef>
#include <cstdint>

#include "device/Packing.h"

namespace kr7 {

class PackedTransfer {
 public:
  // The largest transfer: a firmware image of 65 535 bytes packs to 74 898
  // data bytes, more than 64 KiB, so the buffer is sized by the packing.
  static constexpr std::size_t kCapacity = PackedSize(65535);

  // Copies the packed bytes, position 0, and computes the stream checksum.
  // Refuses (false, previous contents kept) an empty or oversized transfer.
  bool Load(ByteSpan packed);
  void Clear();

  std::size_t Total() const { return mData.size(); }
  std::size_t Position() const { return mPosition; }
  std::size_t Remaining() const { return mData.size() - mPosition; }
  bool Started() const { return mPosition > 0 || mStarted; }
  std::uint16_t Checksum() const { return mChecksum; }
  // position / total; 0 for an empty transfer.
  double Ratio() const;

  // The next min(chunk, remaining) bytes; the position moves past them.
  ByteSpan Take(std::size_t chunk);

 private:
  Bytes mData;
  std::size_t mPosition = 0;
  bool mStarted = false;  // a first message went out (even an empty one)
  std::uint16_t mChecksum = 0;
};

}  // namespace kr7
