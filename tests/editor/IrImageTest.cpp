#include "editor/IrImage.h"

#include <gtest/gtest.h>

#include <cmath>

#include "device/Checksums.h"
#include "editor/IrImport.h"

namespace kr7 {
namespace {

std::uint16_t Le16At(const IrImage& image, std::size_t offset) {
  return static_cast<std::uint16_t>(image[offset] | (image[offset + 1] << 8));
}

std::size_t SampleOffset(int i) { return kIrSamplesOffset + 2 * static_cast<std::size_t>(i); }

TEST(IrImage, EnergyOneHalfGivesFullGain) {
  IrDisplayBuffer buffer{};
  buffer[0] = std::sqrt(0.5);  // energy 0.5: e = 0.7071, g = 1.2 / 1.0 = 1.2 -> 1
  const IrImage image = BuildIrImage(buffer, "x");
  EXPECT_EQ(image[kIrGainOffset], 0x00);      // gain low byte
  EXPECT_EQ(image[kIrGainOffset + 1], 0x80);  // gain high byte: 1.0 is 0x8000
}

TEST(IrImage, LouderResponsesGetLessGain) {
  IrDisplayBuffer buffer{};
  buffer[0] = 1.0;  // e = 1: g = 1.2 / sqrt 2 = 0.848528...
  EXPECT_NEAR(IrLoudnessGain(buffer), 0.8485281374, 1e-9);
  EXPECT_EQ(Le16At(BuildIrImage(buffer, ""), kIrGainOffset), 27804);  // trunc(0.848528 * 32768)
  // Samples past 1200 do not count.
  IrDisplayBuffer tail{};
  tail[kIrSampleCount] = 100.0;
  EXPECT_EQ(IrLoudnessGain(tail), 1.0);
}

TEST(IrImage, SilenceGetsGainOne) {
  const IrDisplayBuffer silence{};
  EXPECT_EQ(IrLoudnessGain(silence), 1.0);
}

TEST(IrImage, LayoutKindNameAndSamples) {
  IrDisplayBuffer buffer{};
  buffer[0] = 0.5;
  buffer[1] = -0.25;
  buffer[kIrSampleCount - 1] = 1.0 / 32768.0;
  buffer[kIrSampleCount] = 0.75;  // beyond the image
  const IrImage image = BuildIrImage(buffer, "Cab");
  EXPECT_EQ(image[0], 0x01);  // kind, low byte
  EXPECT_EQ(image[1], 0x00);  // kind, high byte
  EXPECT_EQ(std::string(IrImageNameField(image)), "Cab" + std::string(29, ' '));
  EXPECT_EQ(image[SampleOffset(0)], 0x00);      // 16384 low
  EXPECT_EQ(image[SampleOffset(0) + 1], 0x40);  // 16384 high
  EXPECT_EQ(image[SampleOffset(1)], 0x00);      // -8192 low
  EXPECT_EQ(image[SampleOffset(1) + 1], 0xE0);  // -8192 high
  EXPECT_EQ(Le16At(image, SampleOffset(kIrSampleCount - 1)), 1);
  EXPECT_EQ(image.size(), kIrImageSize);
}

TEST(IrImage, SamplesAtOrBeyondFullScaleAreLimited) {
  IrDisplayBuffer buffer{};
  buffer[0] = 1.0;
  buffer[1] = 3.5;
  buffer[2] = -1.0;
  buffer[3] = -7.0;
  buffer[4] = std::nan("");
  const IrImage image = BuildIrImage(buffer, "");
  EXPECT_EQ(static_cast<std::int16_t>(Le16At(image, SampleOffset(0))), 32767);
  EXPECT_EQ(static_cast<std::int16_t>(Le16At(image, SampleOffset(1))), 32767);
  EXPECT_EQ(static_cast<std::int16_t>(Le16At(image, SampleOffset(2))), -32768);
  EXPECT_EQ(static_cast<std::int16_t>(Le16At(image, SampleOffset(3))), -32768);
  EXPECT_EQ(static_cast<std::int16_t>(Le16At(image, SampleOffset(4))), 0);
}

TEST(IrImage, PacksTo2785BytesEndingInZero) {
  IrDisplayBuffer buffer{};
  for (int i = 0; i < kIrSampleCount; ++i) buffer[i] = std::sin(i * 0.1) * 0.9;
  const IrImage image = BuildIrImage(buffer, "Pack");
  const PackedIr packed = PackIrImage(image);
  ASSERT_EQ(packed.data.size(), 2785u);
  EXPECT_EQ(packed.data.back(), 0x00);
  for (std::uint8_t b : packed.data) ASSERT_LT(b, 0x80);
  const std::uint16_t sum = StreamChecksumOf(packed.data);
  EXPECT_EQ(packed.checksumHigh, High7(sum));
  EXPECT_EQ(packed.checksumLow, Low7(sum));
  EXPECT_EQ(Unpack(packed.data), Bytes(image.begin(), image.end()));
}

TEST(IrImage, UploadIsBeginNineDataAndEnd) {
  IrUpload upload;
  upload.slot = 17;
  upload.packed = PackIrImage(BuildIrImage(IrDisplayBuffer{}, "u"));
  const std::vector<Bytes> messages = IrUploadMessages(upload);
  ASSERT_EQ(messages.size(), 11u);
  EXPECT_EQ(messages.front().size(), 269u);  // IrDumpBegin: bytes 0..255
  EXPECT_EQ(messages.front()[5], 0x60);
  EXPECT_EQ(messages.front()[7], 0x00);  // slot high
  EXPECT_EQ(messages.front()[8], 17);    // slot low
  EXPECT_EQ(messages[1].size(), 264u);   // IrDumpData
  EXPECT_EQ(messages.back().size(), 225u + 10u);  // IrDumpEnd: 2785 - 10 * 256 bytes
  EXPECT_EQ(messages.back()[messages.back().size() - 3], upload.packed.checksumHigh);
  EXPECT_EQ(messages.back()[messages.back().size() - 2], upload.packed.checksumLow);
}

TEST(IrName, TrailingSpacesGoButThirtyTwoSpacesStay) {
  EXPECT_EQ(TrimIrName("Cab" + std::string(29, ' ')), "Cab");
  EXPECT_EQ(TrimIrName(std::string(32, ' ')), std::string(32, ' '));
  EXPECT_EQ(TrimIrName(std::string(32, 'A')), std::string(32, 'A'));
  EXPECT_EQ(TrimIrName(std::string("Ab\0junk", 7) + std::string(25, ' ')), "Ab");
  // Position 0 is never looked at: one character and spaces keep all 32.
  EXPECT_EQ(TrimIrName("A" + std::string(31, ' ')), "A" + std::string(31, ' '));
}

TEST(IrName, FromFileNameCutAtTheLastSeparator) {
  const std::string padded = "My Cab 4x12" + std::string(21, ' ');
  EXPECT_EQ(IrNameFromPath("My Cab 4x12.wav"), padded);
  EXPECT_EQ(IrNameFromPath("C:\\x\\My Cab 4x12.wav"), padded);
  EXPECT_EQ(IrNameFromPath("/home/me/irs/My Cab 4x12.wav"), padded);
  EXPECT_EQ(IrNameFromPath("/a\\b/My Cab 4x12.WAV"), padded);
  EXPECT_EQ(IrNameFromPath("/home/me/.wav"), std::string(32, ' '));
  EXPECT_EQ(IrNameFromPath("/home/me/a.w"), std::string(32, ' '));
  EXPECT_EQ(IrNameFromPath("/x/" + std::string(40, 'n') + ".wav"), std::string(32, 'n'));
}

TEST(IrName, PadCutsAndFills) {
  EXPECT_EQ(PadIrName(""), std::string(32, ' '));
  EXPECT_EQ(PadIrName(std::string(33, 'z')), std::string(32, 'z'));
}

}  // namespace
}  // namespace kr7
