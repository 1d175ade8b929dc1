// The eight factory cabinets: mono PCM RIFF files with the expected rates,
// depths and lengths, each a distinct cabinet-like response.

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "editor/WavReader.h"
#include "tests/resources/ResourceTestSupport.h"

namespace kr7 {
namespace {

struct CabinetSpec {
  std::uint32_t sampleRate;
  std::uint16_t bits;
  std::uint32_t frames;
};

const std::array<CabinetSpec, kNumFactoryCabinets> kCabinets = {{
    {44100, 16, 2000},
    {44100, 16, 1769},
    {44100, 16, 1711},
    {44100, 16, 6470},
    {44100, 16, 2000},
    {44100, 16, 4354},
    {48000, 24, 5597},
    {44100, 24, 1928},
}};

struct Chunk {
  std::string id;
  std::size_t offset;  // of its data
  std::uint32_t size;
};

// Walks the chunks after "WAVE", honouring pad bytes; stops at the end or at
// a chunk that would run past it (recorded as a failure).
std::vector<Chunk> Chunks(std::span<const std::uint8_t> wav) {
  std::vector<Chunk> chunks;
  std::size_t at = 12;
  while (at + 8 <= wav.size()) {
    const Chunk c{std::string(test::Chars(wav, at, 4)), at + 8, test::Le32(wav, at + 4)};
    EXPECT_LE(c.offset + c.size, wav.size()) << c.id;
    if (c.offset + c.size > wav.size()) {
      break;
    }
    chunks.push_back(c);
    at = c.offset + c.size + (c.size & 1);
  }
  EXPECT_EQ(at, wav.size());
  return chunks;
}

std::vector<double> Samples(std::span<const std::uint8_t> wav, const Chunk& data, int bits) {
  std::vector<double> out;
  const std::size_t width = static_cast<std::size_t>(bits / 8);
  for (std::size_t i = 0; i + width <= data.size; i += width) {
    const std::size_t p = data.offset + i;
    if (bits == 16) {
      out.push_back(static_cast<std::int16_t>(test::Le16(wav, p)) / 32768.0);
    } else {
      std::int32_t v = wav[p] | (wav[p + 1] << 8) | (wav[p + 2] << 16);
      if (v & 0x800000) {
        v -= 0x1000000;
      }
      out.push_back(v / 8388608.0);
    }
  }
  return out;
}

TEST(CabinetResources, HaveTheListedFormatsAndFrameCounts) {
  int withTrailingChunk = 0;
  for (int k = 0; k < kNumFactoryCabinets; ++k) {
    const auto& expected = kCabinets[static_cast<std::size_t>(k)];
    SCOPED_TRACE(kFactoryCabinetFileNames[static_cast<std::size_t>(k)]);
    const auto wav = FindResource(kResourceIdFirstCabinet + k).value_or(std::span<const std::uint8_t>{});
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(test::Chars(wav, 0, 4), "RIFF");
    EXPECT_EQ(test::Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(test::Chars(wav, 8, 4), "WAVE");
    const auto chunks = Chunks(wav);
    ASSERT_GE(chunks.size(), 2u);
    ASSERT_EQ(chunks[0].id, "fmt ");
    ASSERT_EQ(chunks[0].size, 16u);
    const std::size_t f = chunks[0].offset;
    EXPECT_EQ(test::Le16(wav, f), 1u);       // PCM
    EXPECT_EQ(test::Le16(wav, f + 2), 1u);   // mono
    EXPECT_EQ(test::Le32(wav, f + 4), expected.sampleRate);
    EXPECT_EQ(test::Le32(wav, f + 8), expected.sampleRate * expected.bits / 8);  // byte rate
    EXPECT_EQ(test::Le16(wav, f + 12), expected.bits / 8u);                  // block align
    EXPECT_EQ(test::Le16(wav, f + 14), expected.bits);
    ASSERT_EQ(chunks[1].id, "data");
    EXPECT_EQ(chunks[1].size / (expected.bits / 8u), expected.frames);
    withTrailingChunk += chunks.size() > 2;
  }
  EXPECT_EQ(withTrailingChunk, 2);
}

TEST(CabinetResources, AreDistinctResponsesWithinFullScale) {
  std::vector<std::vector<double>> responses;
  for (int k = 0; k < kNumFactoryCabinets; ++k) {
    SCOPED_TRACE(k);
    const auto wav = FindResource(kResourceIdFirstCabinet + k).value_or(std::span<const std::uint8_t>{});
    const auto chunks = Chunks(wav);
    ASSERT_GE(chunks.size(), 2u);
    const auto samples = Samples(wav, chunks[1], static_cast<int>(test::Le16(wav, chunks[0].offset + 14)));
    double peak = 0;
    double energyEarly = 0;
    double energyLate = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      peak = std::max(peak, std::fabs(samples[i]));
      (i < 400 ? energyEarly : energyLate) += samples[i] * samples[i];
    }
    EXPECT_GT(peak, 0.5);
    EXPECT_LT(peak, 1.0);
    // An impulse response: the energy sits at its start and decays.
    EXPECT_GT(energyEarly, energyLate);
    responses.push_back(samples);
  }
  for (std::size_t a = 0; a < responses.size(); ++a) {
    for (std::size_t b = a + 1; b < responses.size(); ++b) {
      double difference = 0;
      for (std::size_t i = 0; i < 400; ++i) {
        difference += std::fabs(responses[a][i] - responses[b][i]);
      }
      EXPECT_GT(difference, 1.0) << a << " and " << b;
    }
  }
}

// The editor's own WAV reader takes every cabinet, and converts each to the
// editor's rate with the length the rate ratio gives.
TEST(CabinetResources, DecodeWithTheEditorsWavReader) {
  for (int k = 0; k < kNumFactoryCabinets; ++k) {
    const auto wav = FindResource(kResourceIdFirstCabinet + k);
    ASSERT_TRUE(wav.has_value()) << k;
    IrDisplayBuffer buffer{};
    WavInfo info;
    ASSERT_EQ(ReadWav(*wav, buffer, &info), WavStatus::kOk) << kFactoryCabinetFileNames[k];
    EXPECT_EQ(info.channels, 1) << k;
    EXPECT_EQ(info.sampleRate, kCabinets[k].sampleRate) << k;
    EXPECT_EQ(info.bitsPerSample, kCabinets[k].bits) << k;
    EXPECT_EQ(info.frames, kCabinets[k].frames) << k;
    const auto expectedLength = static_cast<std::uint64_t>(
        std::floor(kCabinets[k].frames / (kCabinets[k].sampleRate / 44100.0)));
    EXPECT_EQ(info.convertedLength, expectedLength) << k;
  }
}

}  // namespace
}  // namespace kr7
