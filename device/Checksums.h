#pragma once
// The two checksums of the pedal protocol.
//
// Block checksum: the 14-bit sum of the 256 content bytes of a 267-byte block
// message (bytes 8..263), written high seven bits then low seven bits just
// before the closing F7.
//
// Stream checksum: the sum of every packed data byte of a whole transfer
// (impulse-response or firmware), kept in 16 bits as the pedal keeps it, then
// reduced to 14 bits and written before the F7 of the transfer's last message.

#include <cstdint>

#include "device/Packing.h"

namespace kr7 {

inline constexpr std::uint16_t kChecksum14Mask = 0x3FFF;

// 14-bit sum of the given bytes (normally the 256 contents of a block).
std::uint16_t BlockChecksum(ByteSpan contents);

// True when `message` is a 267-byte block whose bytes 264, 265 match the sum
// of bytes 8..263. Any other length is reported as not matching.
bool BlockChecksumOk(ByteSpan message);

// Fills bytes 264, 265 of a 267-byte block from its bytes 8..263. Returns
// false (and writes nothing) when `message` is not 267 bytes long.
bool WriteBlockChecksum(MutableByteSpan message);

// Running stream checksum. The 16-bit wraparound is kept on purpose: it is
// the arithmetic the pedal uses, and exposing Sum16() lets tests pin it.
class StreamChecksum {
 public:
  void Reset() { mSum = 0; }
  void Add(std::uint8_t dataByte) { mSum = static_cast<std::uint16_t>(mSum + dataByte); }
  void Add(ByteSpan dataBytes) {
    for (std::uint8_t b : dataBytes) Add(b);
  }
  std::uint16_t Sum16() const { return mSum; }
  std::uint16_t Value() const { return mSum & kChecksum14Mask; }
  std::uint8_t High() const { return High7(Value()); }
  std::uint8_t Low() const { return Low7(Value()); }

 private:
  std::uint16_t mSum = 0;
};

// The 14-bit stream checksum of a complete packed string.
std::uint16_t StreamChecksumOf(ByteSpan packed);

}  // namespace kr7
