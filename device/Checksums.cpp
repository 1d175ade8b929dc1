#include "device/Checksums.h"

#include "device/Messages.h"

namespace kr7 {

std::uint16_t BlockChecksum(ByteSpan contents) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : contents) sum += b;
  return static_cast<std::uint16_t>(sum & kChecksum14Mask);
}

namespace {

ByteSpan BlockContentsOf(ByteSpan message) {
  return message.subspan(kOffsetBlockContents, kBlockContentsSize);
}

}  // namespace

bool BlockChecksumOk(ByteSpan message) {
  if (message.size() != kBlockMessageSize) return false;
  const std::uint16_t sum = BlockChecksum(BlockContentsOf(message));
  return message[kOffsetBlockChecksumHigh] == High7(sum) &&
         message[kOffsetBlockChecksumLow] == Low7(sum);
}

bool WriteBlockChecksum(MutableByteSpan message) {
  if (message.size() != kBlockMessageSize) return false;
  const std::uint16_t sum = BlockChecksum(BlockContentsOf(message));
  message[kOffsetBlockChecksumHigh] = High7(sum);
  message[kOffsetBlockChecksumLow] = Low7(sum);
  return true;
}

std::uint16_t StreamChecksumOf(ByteSpan packed) {
  StreamChecksum sum;
  sum.Add(packed);
  return sum.Value();
}

}  // namespace kr7
