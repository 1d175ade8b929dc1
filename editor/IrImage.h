#pragma once
// The pedal's impulse-response image: the 2436-byte block that is a cache
// file of the IR store, an embedded block of a preset file, and, packed into
// seven-bit data, the body of an impulse-response transfer.
//
// Layout (little-endian):
//   0..1     kind: 1 when written by the editor (never checked on reading)
//   2..3     gain: trunc(g * 32768) of the loudness gain g in (0, 1];
//            1.0 is stored as 0x8000
//   4..35    name: 32 8-bit characters padded with spaces, no terminator
//   36..2435 1200 signed 16-bit samples, sample = value / 32768
//
// Pure functions; any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "device/Packing.h"
#include "device/SessionHooks.h"  // kIrImageSize, shared with the session
#include "editor/WavReader.h"

namespace kr7 {

static_assert(kIrImageSize == 2436);
inline constexpr std::size_t kIrKindOffset = 0;
inline constexpr std::size_t kIrGainOffset = 2;
inline constexpr std::size_t kIrNameOffset = 4;
inline constexpr std::size_t kIrNameSize = 32;
inline constexpr std::size_t kIrSamplesOffset = 36;
inline constexpr int kIrSampleCount = 1200;
inline constexpr std::uint16_t kIrKindEditor = 1;
inline constexpr double kIrSampleScale = 32768.0;
// 2436 bytes are a multiple of seven bits' worth, so packing adds one 0x00.
inline constexpr std::size_t kIrPackedSize = PackedSize(kIrImageSize);
static_assert(kIrPackedSize == 2785);

using IrImage = std::array<std::uint8_t, kIrImageSize>;

// The loudness gain of the first 1200 samples: 1.2 / (energy * sqrt 2),
// at most 1 (an all-zero or non-finite response gets 1).
double IrLoudnessGain(const IrDisplayBuffer& buffer);

// Builds the image: kind 1, the gain of the buffer, the first 32 bytes of
// name (padded with spaces) and the first 1200 samples of the buffer.
// Samples at or beyond +-1.0 are limited to the 16-bit range.
IrImage BuildIrImage(const IrDisplayBuffer& buffer, std::string_view name);

// A 32-character name field: text cut at 32 characters, padded with spaces.
std::string PadIrName(std::string_view text);

// The name rule of the IR store: trailing spaces are removed by scanning
// positions 31 down to 1 and cutting after the first non-space found; when
// positions 1..31 are all spaces the 32 characters are kept as they are. A
// 0x00 ends the name (it came from a fixed field without terminator).
std::string TrimIrName(std::string_view field);

// The name field (bytes 4..35) of an image or of a longer file prefix; empty
// when fewer than 36 bytes are given.
std::string_view IrImageNameField(std::span<const std::uint8_t> image);

// The stored gain as a signed 16-bit value (preset files read it that way).
std::int16_t IrImageGain(std::span<const std::uint8_t, kIrImageSize> image);

// Writes the 1200 samples of an image into entries 0..1199 of the buffer as
// value / 32768; the other entries are left as they are.
void LoadIrImageSamples(std::span<const std::uint8_t, kIrImageSize> image,
                        IrDisplayBuffer& buffer);

// An image packed for transfer, with the stream checksum over the packed bytes.
struct PackedIr {
  Bytes data;  // kIrPackedSize bytes, the last one 0x00
  std::uint8_t checksumHigh = 0;
  std::uint8_t checksumLow = 0;
};

PackedIr PackIrImage(const IrImage& image);

}  // namespace kr7
