#include "model/PresetPayload.h"

#include <algorithm>

namespace kr7 {

namespace {

constexpr std::uint8_t kSpace = 0x20;
// A character that is not a MIDI data byte would end the SysEx message that
// carries the payload, so it is written as '?' instead.
constexpr std::uint8_t kHighestDataByte = 0x7F;
constexpr std::uint8_t kReplacementCharacter = '?';

std::span<const std::uint8_t> FieldOf(const PresetPayload& payload, std::size_t offset) {
  return std::span<const std::uint8_t>(payload).subspan(offset, kPayloadTextSize);
}

}  // namespace

std::string ReadTextField(std::span<const std::uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

std::string ReadTrimmedTextField(std::span<const std::uint8_t> field) {
  std::string text = ReadTextField(field);
  const auto last = text.find_last_not_of(static_cast<char>(kSpace));
  text.erase(last == std::string::npos ? 0 : last + 1);
  return text;
}

DecodedPreset DecodePresetPayload(std::span<const std::uint8_t> payload) {
  PresetPayload padded{};
  std::copy_n(payload.begin(), std::min(payload.size(), padded.size()), padded.begin());

  DecodedPreset decoded;
  decoded.name = ReadTextField(FieldOf(padded, kPayloadNameOffset));
  for (int i = 0; i < kNumPresetParams; ++i) {
    const auto index = static_cast<std::size_t>(i);
    decoded.values[index] = padded[kPayloadValuesOffset + index];
  }
  decoded.irNameA = ReadTrimmedTextField(FieldOf(padded, kPayloadIrNameAOffset));
  decoded.irNameB = ReadTrimmedTextField(FieldOf(padded, kPayloadIrNameBOffset));
  return decoded;
}

void WriteTextField(std::span<std::uint8_t> field, std::string_view text) {
  std::fill(field.begin(), field.end(), kSpace);
  const std::size_t n = std::min(field.size(), text.size());
  std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), field.begin(),
                 [](char c) {
                   const auto byte = static_cast<std::uint8_t>(c);
                   return byte > kHighestDataByte ? kReplacementCharacter : byte;
                 });
}

PresetPayload EncodePresetPayload(const PresetValues& editValues, std::string_view name,
                                  std::string_view irNameA, std::string_view irNameB) {
  PresetPayload payload{};
  std::span<std::uint8_t> bytes(payload);
  payload[kPayloadMarkerOffset] = kPayloadMarker;
  WriteTextField(bytes.subspan(kPayloadNameOffset, kPayloadTextSize), name);
  const bool userIrA = editValues[kParamIrModeA] > 0;
  const bool userIrB = editValues[kParamIrModeB] > 0;
  WriteTextField(bytes.subspan(kPayloadIrNameAOffset, kPayloadTextSize),
                 userIrA ? irNameA : std::string_view{});
  WriteTextField(bytes.subspan(kPayloadIrNameBOffset, kPayloadTextSize),
                 userIrB ? irNameB : std::string_view{});
  for (int i = 0; i < kNumPresetParams; ++i) {
    const auto index = static_cast<std::size_t>(i);
    payload[kPayloadValuesOffset + index] = static_cast<std::uint8_t>(editValues[index] & 0xFF);
  }
  return payload;
}

}  // namespace kr7
