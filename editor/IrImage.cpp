#include "editor/IrImage.h"

#include <algorithm>
#include <cmath>

#include "device/Checksums.h"

namespace kr7 {

namespace {

constexpr double kTargetLoudness = 1.2;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kMinSample = -32768.0;
constexpr double kMaxSample = 32767.0;
constexpr char kSpace = ' ';

void PutLe16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value & 0xFF);
  p[1] = static_cast<std::uint8_t>(value >> 8);
}

std::int16_t GetLe16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::int16_t ToSample(double value) {
  if (std::isnan(value)) return 0;
  const double scaled = std::trunc(value * kIrSampleScale);
  return static_cast<std::int16_t>(std::clamp(scaled, kMinSample, kMaxSample));
}

}  // namespace

double IrLoudnessGain(const IrDisplayBuffer& buffer) {
  double energy = 0.0;
  for (int i = 0; i < kIrSampleCount; ++i) energy += buffer[i] * buffer[i];
  const double gain = kTargetLoudness / (std::sqrt(energy) * kSqrt2);
  // Also catches 0/0 style results: anything not below 1 counts as 1.
  return gain < 1.0 ? gain : 1.0;
}

IrImage BuildIrImage(const IrDisplayBuffer& buffer, std::string_view name) {
  IrImage image{};
  PutLe16(image.data() + kIrKindOffset, kIrKindEditor);
  const double gain = IrLoudnessGain(buffer);
  // 1.0 becomes 32768, which the 16-bit field holds as 0x8000.
  PutLe16(image.data() + kIrGainOffset, static_cast<std::uint16_t>(std::trunc(gain * kIrSampleScale)));
  const std::string field = PadIrName(name);
  std::copy(field.begin(), field.end(), image.begin() + kIrNameOffset);
  for (int i = 0; i < kIrSampleCount; ++i) {
    PutLe16(image.data() + kIrSamplesOffset + 2 * i, static_cast<std::uint16_t>(ToSample(buffer[i])));
  }
  return image;
}

std::string PadIrName(std::string_view text) {
  std::string field(kIrNameSize, kSpace);
  field.replace(0, std::min(text.size(), kIrNameSize), text.substr(0, kIrNameSize));
  return field;
}

std::string TrimIrName(std::string_view field) {
  field = field.substr(0, std::min(field.size(), kIrNameSize));
  const std::size_t nul = field.find('\0');
  std::string name(field.substr(0, nul));
  for (std::size_t pos = kIrNameSize - 1; pos >= 1; --pos) {
    if (pos < name.size() && name[pos] != kSpace) {
      name.resize(pos + 1);
      break;
    }
  }
  return name;
}

std::string_view IrImageNameField(std::span<const std::uint8_t> image) {
  if (image.size() < kIrNameOffset + kIrNameSize) return {};
  return {reinterpret_cast<const char*>(image.data() + kIrNameOffset), kIrNameSize};
}

std::int16_t IrImageGain(std::span<const std::uint8_t, kIrImageSize> image) {
  return GetLe16(image.data() + kIrGainOffset);
}

void LoadIrImageSamples(std::span<const std::uint8_t, kIrImageSize> image,
                        IrDisplayBuffer& buffer) {
  for (int i = 0; i < kIrSampleCount; ++i) {
    buffer[i] = GetLe16(image.data() + kIrSamplesOffset + 2 * i) / kIrSampleScale;
  }
}

PackedIr PackIrImage(const IrImage& image) {
  PackedIr packed;
  packed.data = Pack(image);
  StreamChecksum checksum;
  checksum.Add(packed.data);
  packed.checksumHigh = checksum.High();
  packed.checksumLow = checksum.Low();
  return packed;
}

}  // namespace kr7
