#include "editor/WavReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/FileIO.h"
#include "tests/editor/WavBytes.h"
#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

using test::Bytes;
using test::Samples;
using test::WavBytes;
using test::WavFormat;

// A value no reader would produce, to show which entries were written.
constexpr double kUntouched = 7.0;

IrDisplayBuffer Filled() {
  IrDisplayBuffer b;
  b.fill(kUntouched);
  return b;
}

std::vector<std::int64_t> Ramp(int count, std::int64_t step) {
  std::vector<std::int64_t> codes;
  for (int i = 0; i < count; ++i) codes.push_back(i * step);
  return codes;
}

TEST(WavReader, Rate48000With5597FramesGives5142Samples) {
  constexpr int kFrames = 5597;
  constexpr std::int64_t kStep = 1000;
  constexpr double kScale24 = 8388607.49999;
  WavFormat f;
  f.sampleRate = 48000;
  f.bitsPerSample = 24;
  const Bytes wav = WavBytes().Format(f).Data(Samples(Ramp(kFrames, kStep), 3)).Build();
  IrDisplayBuffer buffer = Filled();
  WavInfo info;
  ASSERT_EQ(ReadWav(wav, buffer, &info), WavStatus::kOk);
  EXPECT_EQ(info.frames, kFrames);
  EXPECT_EQ(info.convertedLength, 5142u);
  EXPECT_EQ(info.outputSamples, kIrDisplaySize);
  // A ramp stays a ramp under linear interpolation: output j sits at the
  // accumulated position t = j * 48000 / 44100.
  const double ratio = 48000.0 / 44100.0;
  for (int j : {0, 1, 2, 1000, 4095}) {
    EXPECT_NEAR(buffer[j], j * ratio * kStep / kScale24, 1e-9) << "sample " << j;
  }
}

TEST(WavReader, SameRate16BitIsCopiedWithZerosAfter) {
  constexpr int kFrames = 2000;
  std::vector<std::int64_t> codes;
  for (int i = 0; i < kFrames; ++i) codes.push_back((i * 37) % 65536 - 32768);
  IrDisplayBuffer buffer = Filled();
  WavInfo info;
  ASSERT_EQ(ReadWav(test::Mono16(codes), buffer, &info), WavStatus::kOk);
  EXPECT_EQ(info.outputSamples, kFrames);
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(buffer[i], codes[i] / 32768.0) << i;
  for (int i = kFrames; i < kIrDisplaySize; ++i) ASSERT_EQ(buffer[i], 0.0) << i;
}

TEST(WavReader, StereoContributesTheLeftChannel) {
  WavFormat f;
  f.channels = 2;
  // Frames (left, right): (1000, -1000), (2000, -2000), (3000, -3000).
  const Bytes wav =
      WavBytes().Format(f).Data(Samples({1000, -1000, 2000, -2000, 3000, -3000}, 2)).Build();
  IrDisplayBuffer buffer = Filled();
  ASSERT_EQ(ReadWav(wav, buffer), WavStatus::kOk);
  EXPECT_EQ(buffer[0], 1000 / 32768.0);
  EXPECT_EQ(buffer[1], 2000 / 32768.0);
  EXPECT_EQ(buffer[2], 3000 / 32768.0);
  EXPECT_EQ(buffer[3], 0.0);
}

TEST(WavReader, EightBitIsUnsignedOver127) {
  WavFormat f;
  f.bitsPerSample = 8;
  const Bytes wav = WavBytes().Format(f).Data(Samples({128, 0, 127, 255}, 1)).Build();
  IrDisplayBuffer buffer = Filled();
  ASSERT_EQ(ReadWav(wav, buffer), WavStatus::kOk);
  EXPECT_NEAR(buffer[0], 0.0078740157, 1e-9);  // 128 is not silence
  EXPECT_EQ(buffer[1], -1.0);
  EXPECT_EQ(buffer[2], 0.0);
  EXPECT_NEAR(buffer[3], 1.0078740157, 1e-9);
}

TEST(WavReader, TwentyFourBitTopHalfIsNegative) {
  WavFormat f;
  f.bitsPerSample = 24;
  const Bytes wav = WavBytes().Format(f).Data(Samples({0x7FFFFF, 0x800000, 0xFFFFFF, 1}, 3)).Build();
  IrDisplayBuffer buffer = Filled();
  ASSERT_EQ(ReadWav(wav, buffer), WavStatus::kOk);
  EXPECT_NEAR(buffer[0], 0.99999994, 1e-8);
  EXPECT_NEAR(buffer[1], -0.99999994, 1e-8);
  // 0xFFFFFF / 8388607.49999 - 2: the pedal's rule puts code -1 at about
  // +2.4e-12, one step above where a symmetric rule would.
  EXPECT_NEAR(buffer[2], 2.4e-12, 1e-13);
  EXPECT_NEAR(buffer[3], 1.19e-7, 1e-9);
}

TEST(WavReader, ThirtyTwoBitPcmAndFloat) {
  WavFormat pcm;
  pcm.bitsPerSample = 32;
  const Bytes pcmWav =
      WavBytes().Format(pcm).Data(Samples({0x40000000, -0x40000000, INT32_MIN}, 4)).Build();
  IrDisplayBuffer buffer = Filled();
  ASSERT_EQ(ReadWav(pcmWav, buffer), WavStatus::kOk);
  EXPECT_NEAR(buffer[0], 0.5, 1e-9);
  EXPECT_NEAR(buffer[1], -0.5, 1e-9);
  EXPECT_NEAR(buffer[2], -1.0, 1e-9);

  WavFormat fl = pcm;
  fl.audioFormat = test::kWavFloat;
  const Bytes floatWav =
      WavBytes()
          .Format(fl)
          .Data(test::FloatSamples({0.25f, -1.5f, std::numeric_limits<float>::quiet_NaN(),
                                    std::numeric_limits<float>::infinity()}))
          .Build();
  ASSERT_EQ(ReadWav(floatWav, buffer), WavStatus::kOk);
  EXPECT_EQ(buffer[0], 0.25);
  EXPECT_EQ(buffer[1], -1.5);  // kept as it is; the image conversion limits it
  EXPECT_EQ(buffer[2], 0.0);   // non-finite samples would poison gain and graph
  EXPECT_EQ(buffer[3], 0.0);
}

TEST(WavReader, SkipsChunksWithTheirPadByte) {
  WavFormat f;
  // An odd "LIST" chunk before "fmt ", a format with a 2-byte extension, an
  // odd "fact" chunk between format and data, and chunks after the data.
  const Bytes wav = WavBytes()
                        .Chunk("LIST", {1, 2, 3})
                        .Format(f, 2)
                        .Chunk("fact", {9, 9, 9, 9, 9})
                        .Data(Samples({100, 200}, 2))
                        .Chunk("cue ", {1, 2, 3, 4})
                        .Chunk("smpl", {5})
                        .Build();
  IrDisplayBuffer buffer = Filled();
  WavInfo info;
  ASSERT_EQ(ReadWav(wav, buffer, &info), WavStatus::kOk);
  EXPECT_EQ(info.frames, 2u);
  EXPECT_EQ(buffer[0], 100 / 32768.0);
  EXPECT_EQ(buffer[1], 200 / 32768.0);
  EXPECT_EQ(buffer[2], 0.0);
}

TEST(WavReader, LastInterpolatedSampleUsesTheLastFrame) {
  // 22050 Hz: r = 0.5, two frames give four outputs at t = 0, 0.5, 1, 1.5;
  // the last needs frame 2, which does not exist.
  const Bytes wav = test::Mono16({0, 16384}, 22050);
  IrDisplayBuffer buffer = Filled();
  WavInfo info;
  ASSERT_EQ(ReadWav(wav, buffer, &info), WavStatus::kOk);
  EXPECT_EQ(info.outputSamples, 4);
  EXPECT_EQ(buffer[0], 0.0);
  EXPECT_EQ(buffer[1], 0.25);
  EXPECT_EQ(buffer[2], 0.5);
  EXPECT_EQ(buffer[3], 0.5);  // not 0.25, as a zero frame would give
  EXPECT_EQ(buffer[4], 0.0);
}

TEST(WavReader, DataLongerThanTheFileIsReadAsFarAsItGoes) {
  WavFormat f;
  Bytes body = Samples({1000, 2000, 3000}, 2);
  const Bytes wav = WavBytes().Format(f).Chunk("data", body, 1000000).Build();
  IrDisplayBuffer buffer = Filled();
  WavInfo info;
  ASSERT_EQ(ReadWav(wav, buffer, &info), WavStatus::kOk);
  EXPECT_EQ(info.frames, 3u);
  EXPECT_EQ(info.outputSamples, 3);
  EXPECT_EQ(buffer[2], 3000 / 32768.0);
  EXPECT_EQ(buffer[3], 0.0);
}

struct Rejected {
  const char* what;
  Bytes wav;
  WavStatus status;
};

std::vector<Rejected> RejectedFiles() {
  WavFormat f;
  WavFormat noChannels = f;
  noChannels.channels = 0;
  noChannels.blockAlign = 2;
  WavFormat zeroAlign = f;
  zeroAlign.blockAlign = 0;
  zeroAlign.bitsPerSample = 16;
  WavFormat twelveBits = f;
  twelveBits.bitsPerSample = 12;
  twelveBits.blockAlign = 2;
  WavFormat zeroRate = f;
  zeroRate.sampleRate = 0;
  WavFormat shortAlign = f;
  shortAlign.channels = 2;
  shortAlign.blockAlign = 2;
  const Bytes data = Samples({1, 2}, 2);

  Bytes zeroAlignWav = WavBytes().Format(zeroAlign).Data(data).Build();
  // Block align sits at byte 12 + 8 + 12 of the file: force it to 0.
  constexpr std::size_t kBlockAlignOffset = 12 + 8 + 12;
  zeroAlignWav[kBlockAlignOffset] = 0;
  zeroAlignWav[kBlockAlignOffset + 1] = 0;

  Bytes notRiff = test::Mono16({1});
  notRiff[0] = 'X';
  Bytes notWave = test::Mono16({1});
  notWave[8] = 'X';
  const Bytes full = test::Mono16({1, 2});
  // RIFF header (12) + "fmt " chunk (8 + 16) = 36: where "data" would start.
  const Bytes endsBeforeData(full.begin(), full.begin() + 36);
  const Bytes endsInFormat(full.begin(), full.begin() + 30);
  const Bytes onlyHeader(full.begin(), full.begin() + 12);

  return {
      {"not RIFF", notRiff, WavStatus::kNotRiffWave},
      {"not WAVE", notWave, WavStatus::kNotRiffWave},
      {"empty", {}, WavStatus::kNotRiffWave},
      {"ends before fmt", onlyHeader, WavStatus::kNoFormat},
      {"ends inside fmt", endsInFormat, WavStatus::kNoFormat},
      {"ends before data", endsBeforeData, WavStatus::kNoData},
      {"only other chunks", WavBytes().Chunk("LIST", {1, 2}).Build(), WavStatus::kNoFormat},
      {"fmt too short", WavBytes().Chunk("fmt ", {1, 0, 1, 0}).Data(data).Build(),
       WavStatus::kNoFormat},
      {"0 channels", WavBytes().Format(noChannels).Data(data).Build(), WavStatus::kBadFormat},
      {"block align 0", zeroAlignWav, WavStatus::kBadFormat},
      {"block align below a frame", WavBytes().Format(shortAlign).Data(data).Build(),
       WavStatus::kBadFormat},
      {"rate 0", WavBytes().Format(zeroRate).Data(data).Build(), WavStatus::kBadFormat},
      {"12 bits", WavBytes().Format(twelveBits).Data(data).Build(),
       WavStatus::kUnsupportedSampleSize},
      {"chunk size past the end", WavBytes().Chunk("LIST", {1}, 0xFFFFFFF0u).Build(),
       WavStatus::kNoFormat},
  };
}

TEST(WavReader, UnusableFilesLeaveTheBufferUnchanged) {
  for (const Rejected& r : RejectedFiles()) {
    IrDisplayBuffer buffer = Filled();
    EXPECT_EQ(ReadWav(r.wav, buffer), r.status) << r.what;
    for (double v : buffer) ASSERT_EQ(v, kUntouched) << r.what;
  }
}

TEST(WavReader, ReadsFilesThroughTheFileReader) {
  test::TempFolder folder;
  const std::string path = folder / "cab.wav";
  const Bytes wav = test::Mono16({16384, -16384});
  ASSERT_TRUE(WriteFileAtomically(path, wav.data(), wav.size()));
  IrDisplayBuffer buffer = Filled();
  ASSERT_EQ(ReadWavFile(path, buffer), WavStatus::kOk);
  EXPECT_EQ(buffer[0], 0.5);
  EXPECT_EQ(buffer[1], -0.5);

  IrDisplayBuffer untouched = Filled();
  EXPECT_EQ(ReadWavFile(folder / "missing.wav", untouched), WavStatus::kCannotOpen);
  EXPECT_EQ(untouched[0], kUntouched);
}

TEST(WavReader, LargeFilesReadTheSameFromDiskAndMemory) {
  test::TempFolder folder;
  WavFormat f;
  f.sampleRate = 48000;
  f.bitsPerSample = 24;
  f.channels = 2;
  // 2 x 3 x 5597 bytes of data: several read blocks.
  const Bytes wav = WavBytes().Format(f).Data(Samples(Ramp(2 * 5597, 997), 3)).Build();
  const std::string path = folder / "big.wav";
  ASSERT_TRUE(WriteFileAtomically(path, wav.data(), wav.size()));
  IrDisplayBuffer fromMemory{};
  IrDisplayBuffer fromDisk{};
  ASSERT_EQ(ReadWav(wav, fromMemory), WavStatus::kOk);
  ASSERT_EQ(ReadWavFile(path, fromDisk), WavStatus::kOk);
  EXPECT_EQ(fromMemory, fromDisk);
  EXPECT_NE(fromDisk[kIrDisplaySize - 1], 0.0);
}

}  // namespace
}  // namespace kr7
