#pragma once
// Number and text encodings of the pedal's System Exclusive messages: every
// field byte is a MIDI data byte (0..127), so wider values are split into
// seven-bit groups and 8-bit images are re-cut into seven-bit data bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kr7 {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;
using MutableByteSpan = std::span<std::uint8_t>;

inline constexpr std::uint8_t kDataByteMask = 0x7F;
inline constexpr unsigned kBitsPerDataByte = 7;
inline constexpr unsigned kBitsPerByte = 8;
inline constexpr std::size_t kField14Size = 2;
inline constexpr std::size_t kField21Size = 3;
inline constexpr std::uint32_t kMax14BitValue = 0x3FFF;
inline constexpr std::uint32_t kMax21BitValue = 0x1FFFFF;
inline constexpr std::size_t kTextFieldSize = 32;
inline constexpr std::uint8_t kTextPad = 0x20;

// ---- 7-bit packing -------------------------------------------------------

// floor((8·L + 7) / 7): the packer always emits one group more than the bits
// strictly need, which is why a multiple of seven input bytes ends in 0x00.
constexpr std::size_t PackedSize(std::size_t unpackedSize) {
  return (kBitsPerByte * unpackedSize + kBitsPerDataByte) / kBitsPerDataByte;
}
// floor(7·N / 8): leftover bits at the end of a packed string are dropped.
constexpr std::size_t UnpackedSize(std::size_t packedSize) {
  return (kBitsPerDataByte * packedSize) / kBitsPerByte;
}

// Reads the input as one bit string, most significant bit first, and cuts it
// into seven-bit data bytes; bits past the end are zero.
Bytes Pack(ByteSpan bytes);
// Reverse of Pack: only the low seven bits of each data byte are used (a stray
// high bit is ignored rather than corrupting the neighbouring group).
Bytes Unpack(ByteSpan packed);

// Unpacks a packed string that arrives in pieces (one message at a time) into
// a buffer of fixed capacity. Bytes that would go past the capacity are not
// written; Overflowed() then reports it, so a transfer announcing more than
// the buffer holds is refused instead of overrunning it.
// Not thread-safe; one instance per transfer, driven by one thread.
class StreamUnpacker {
 public:
  explicit StreamUnpacker(std::size_t capacity);

  // Forgets all output and pending bits (start of a new transfer).
  void Reset();
  // Appends the bits of these data bytes; whole bytes become output at once.
  // Returns false when output had to be discarded for lack of capacity.
  bool Feed(ByteSpan packed);
  // Ends the transfer: pending bits (fewer than eight) are dropped, exactly as
  // Unpack drops them. Feeding after Flush starts on a fresh bit boundary.
  void Flush();

  ByteSpan Output() const { return {mBuffer.data(), mSize}; }
  std::size_t Size() const { return mSize; }
  std::size_t Capacity() const { return mBuffer.size(); }
  bool Overflowed() const { return mOverflowed; }
  // Packed data bytes fed since the last Reset.
  std::size_t PackedConsumed() const { return mPackedConsumed; }

 private:
  Bytes mBuffer;
  std::size_t mSize = 0;
  std::uint32_t mBits = 0;
  unsigned mBitCount = 0;
  std::size_t mPackedConsumed = 0;
  bool mOverflowed = false;
};

// ---- 14-bit and 21-bit fields --------------------------------------------

// Writes value as two data bytes, high seven bits first. Bits above 14 are
// dropped. `out` must hold at least two bytes; otherwise nothing is written
// and false is returned.
bool Write14(MutableByteSpan out, std::uint32_t value);
// Reads two data bytes (high first); returns 0 when `in` is shorter than two.
std::uint32_t Read14(ByteSpan in);
constexpr std::uint8_t High7(std::uint32_t value14) {
  return static_cast<std::uint8_t>((value14 >> kBitsPerDataByte) & kDataByteMask);
}
constexpr std::uint8_t Low7(std::uint32_t value14) {
  return static_cast<std::uint8_t>(value14 & kDataByteMask);
}
constexpr std::uint32_t Combine14(std::uint8_t high, std::uint8_t low) {
  return (static_cast<std::uint32_t>(high & kDataByteMask) << kBitsPerDataByte) |
         (low & kDataByteMask);
}

// Three data bytes, most significant first; same bounds contract as Write14.
bool Write21(MutableByteSpan out, std::uint32_t value);
std::uint32_t Read21(ByteSpan in);

// ---- 32-byte text fields ---------------------------------------------------

// Copies up to 32 characters of text into out[0..31] and pads with spaces.
// Characters outside 0..127 are replaced by '?' so the field stays valid MIDI
// data. `out` must hold 32 bytes; otherwise nothing is written, false returned.
bool WriteText(MutableByteSpan out, std::string_view text);
// Reads at most 32 bytes, stopping at the first 0x00. Trailing spaces are kept.
std::string ReadText(ByteSpan field);
// Removes trailing spaces (the field's padding) from a text read back.
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace kr7
