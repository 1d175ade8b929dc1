#pragma once
// The 256-byte preset payload: what a PresetDump carries, what PresetStore
// writes and what a preset cache file holds.
//
// Layout (offsets from the first payload byte):
//   0        0x01
//   1        0x00
//   2..33    preset name, 32 bytes padded with spaces; a 0x00 ends it early
//   34..98   values of preset parameters 0..64, byte 34 + i for parameter i
//   99..191  0x00
//   192..223 user impulse-response name of cabinet position 7 ("IR Mode" 40)
//   224..255 the same for position 8 ("IR Mode" 41)
// The impulse-response name fields are spaces when their "IR Mode" is 0.
// Payloads from the pedal or the factory bank may pad them with 0x00, which
// readers take as the end of the name.
//
// These functions are pure: they neither touch parameters nor the view, so
// any thread may call them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/Parameters.h"

namespace kr7 {

inline constexpr std::size_t kPresetPayloadSize = 256;
inline constexpr std::size_t kPayloadMarkerOffset = 0;
inline constexpr std::uint8_t kPayloadMarker = 0x01;
inline constexpr std::size_t kPayloadNameOffset = 2;
inline constexpr std::size_t kPayloadTextSize = 32;
inline constexpr std::size_t kPayloadValuesOffset = 34;
inline constexpr std::size_t kPayloadIrNameAOffset = 192;
inline constexpr std::size_t kPayloadIrNameBOffset = 224;

using PresetPayload = std::array<std::uint8_t, kPresetPayloadSize>;
// Integer values of preset parameters 0..64, as the edit and device values
// hold them.
using PresetValues = std::array<int, kNumPresetParams>;

struct DecodedPreset {
  std::string name;     // bytes 2..33 up to the first 0x00, at most 32 characters
  PresetValues values;  // the raw bytes 34..98
  std::string irNameA;  // bytes 192..223, ended by 0x00, trailing spaces removed
  std::string irNameB;  // bytes 224..255, likewise
};

// Reads the fields of a payload. A payload shorter than 256 bytes reads as if
// padded with zero bytes, so a short buffer can never be overrun.
DecodedPreset DecodePresetPayload(std::span<const std::uint8_t> payload);

// A fixed-width text field: up to the first 0x00 and at most width bytes.
std::string ReadTextField(std::span<const std::uint8_t> field);
// The same with trailing spaces removed.
std::string ReadTrimmedTextField(std::span<const std::uint8_t> field);

// Builds the payload that PresetStore carries. Names longer than 32 bytes are
// cut, shorter ones padded with spaces; the impulse-response name of a source
// is written only when its "IR Mode" edit value (40 for A, 41 for B) is above
// 0, otherwise the field holds 32 spaces. Each value is stored as its low
// eight bits.
PresetPayload EncodePresetPayload(const PresetValues& editValues, std::string_view name,
                                  std::string_view irNameA, std::string_view irNameB);

// Writes text into a 32-byte field: spaces first, then at most 32 bytes of
// text; a byte above 0x7F becomes '?' so the payload stays valid MIDI data.
void WriteTextField(std::span<std::uint8_t> field, std::string_view text);

}  // namespace kr7
