#include "device/StreamsPackedTransfer.h"

#include <algorithm>

#include "device/Checksums.h"

namespace kr7 {

bool PackedTransfer::Load(ByteSpan packed) {
  if (packed.empty() || packed.size() > kCapacity) return false;
  mData.assign(packed.begin(), packed.end());
  mPosition = 0;
  mStarted = false;
  mChecksum = StreamChecksumOf(mData);
  return true;
}

void PackedTransfer::Clear() {
  mData.clear();
  mPosition = 0;
  mStarted = false;
  mChecksum = 0;
}

double PackedTransfer::Ratio() const {
  return mData.empty() ? 0.0 : static_cast<double>(mPosition) / static_cast<double>(mData.size());
}

ByteSpan PackedTransfer::Take(std::size_t chunk) {
  const std::size_t n = std::min(chunk, Remaining());
  const ByteSpan out = ByteSpan(mData).subspan(mPosition, n);
  mPosition += n;
  mStarted = true;
  return out;
}

}  // namespace kr7
