#include "device/Packing.h"

#include <algorithm>

namespace kr7 {

namespace {

constexpr std::uint32_t kByteMask = 0xFF;
constexpr char kNonAsciiReplacement = '?';

}  // namespace

Bytes Pack(ByteSpan bytes) {
  Bytes out;
  out.reserve(PackedSize(bytes.size()));
  std::uint32_t bits = 0;
  unsigned bitCount = 0;
  for (std::uint8_t b : bytes) {
    bits = (bits << kBitsPerByte) | b;
    bitCount += kBitsPerByte;
    while (bitCount >= kBitsPerDataByte) {
      bitCount -= kBitsPerDataByte;
      out.push_back(static_cast<std::uint8_t>((bits >> bitCount) & kDataByteMask));
    }
    bits &= (1u << bitCount) - 1u;
  }
  // The final group is always emitted, zero-filled: this is what makes a
  // multiple of seven input bytes end in an extra 0x00.
  out.push_back(static_cast<std::uint8_t>((bits << (kBitsPerDataByte - bitCount)) & kDataByteMask));
  return out;
}

Bytes Unpack(ByteSpan packed) {
  StreamUnpacker unpacker(UnpackedSize(packed.size()));
  unpacker.Feed(packed);
  unpacker.Flush();
  const ByteSpan result = unpacker.Output();
  return Bytes(result.begin(), result.end());
}

StreamUnpacker::StreamUnpacker(std::size_t capacity) : mBuffer(capacity, 0) {}

void StreamUnpacker::Reset() {
  mSize = 0;
  mBits = 0;
  mBitCount = 0;
  mPackedConsumed = 0;
  mOverflowed = false;
}

bool StreamUnpacker::Feed(ByteSpan packed) {
  bool fitted = true;
  for (std::uint8_t d : packed) {
    mBits = (mBits << kBitsPerDataByte) | (d & kDataByteMask);
    mBitCount += kBitsPerDataByte;
    ++mPackedConsumed;
    if (mBitCount >= kBitsPerByte) {
      mBitCount -= kBitsPerByte;
      const auto byte = static_cast<std::uint8_t>((mBits >> mBitCount) & kByteMask);
      if (mSize < mBuffer.size()) {
        mBuffer[mSize++] = byte;
      } else {
        mOverflowed = true;
        fitted = false;
      }
    }
    mBits &= (1u << mBitCount) - 1u;
  }
  return fitted;
}

void StreamUnpacker::Flush() {
  mBits = 0;
  mBitCount = 0;
}

bool Write14(MutableByteSpan out, std::uint32_t value) {
  if (out.size() < kField14Size) return false;
  out[0] = High7(value);
  out[1] = Low7(value);
  return true;
}

std::uint32_t Read14(ByteSpan in) {
  if (in.size() < kField14Size) return 0;
  return Combine14(in[0], in[1]);
}

bool Write21(MutableByteSpan out, std::uint32_t value) {
  if (out.size() < kField21Size) return false;
  out[0] = static_cast<std::uint8_t>((value >> (2 * kBitsPerDataByte)) & kDataByteMask);
  out[1] = static_cast<std::uint8_t>((value >> kBitsPerDataByte) & kDataByteMask);
  out[2] = static_cast<std::uint8_t>(value & kDataByteMask);
  return true;
}

std::uint32_t Read21(ByteSpan in) {
  if (in.size() < kField21Size) return 0;
  return (static_cast<std::uint32_t>(in[0] & kDataByteMask) << (2 * kBitsPerDataByte)) |
         Combine14(in[1], in[2]);
}

bool WriteText(MutableByteSpan out, std::string_view text) {
  if (out.size() < kTextFieldSize) return false;
  const std::size_t n = std::min(text.size(), kTextFieldSize);
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    // A byte above 0x7F inside SysEx would be read as a status byte and cut
    // the message short on the wire.
    out[i] = c > kDataByteMask ? static_cast<std::uint8_t>(kNonAsciiReplacement) : c;
  }
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(n),
            out.begin() + static_cast<std::ptrdiff_t>(kTextFieldSize), kTextPad);
  return true;
}

std::string ReadText(ByteSpan field) {
  const ByteSpan bounded = field.first(std::min(field.size(), kTextFieldSize));
  const auto end = std::find(bounded.begin(), bounded.end(), std::uint8_t{0});
  return std::string(bounded.begin(), end);
}

std::string_view TrimTrailingSpaces(std::string_view text) {
  const std::size_t last = text.find_last_not_of(static_cast<char>(kTextPad));
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace kr7
