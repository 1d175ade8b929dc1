// The embedded factory bank: 128 FactoryPresetWrite messages, framed and
// checksummed as the pedal expects, with payloads the editor can apply.

#include <array>
#include <set>
#include <string>

#include "model/PresetPayload.h"
#include "tests/resources/ResourceTestSupport.h"

namespace kr7 {
namespace {

constexpr std::size_t kBankSize = 34176;
constexpr std::size_t kMessageSize = 267;
constexpr std::size_t kSlots = 128;
constexpr std::size_t kSlotByte = 7;
constexpr std::size_t kPayload = 8;       // payload bytes 8..263
constexpr std::size_t kChecksumHigh = 264;
constexpr std::size_t kChecksumLow = 265;
constexpr std::size_t kEnd = 266;
constexpr std::size_t kName = kPayload + 2;
constexpr std::size_t kValues = kPayload + 34;  // parameter i at kValues + i

std::span<const std::uint8_t> Message(std::span<const std::uint8_t> bank, std::size_t slot) {
  return bank.subspan(slot * kMessageSize, kMessageSize);
}

TEST(FactoryBank, HasTheIdAndSizeOf128Messages) {
  const auto bank = FindResource(kResourceIdFactoryBank);
  ASSERT_TRUE(bank.has_value());
  EXPECT_EQ(bank->size(), kBankSize);
  EXPECT_EQ(kSlots * kMessageSize, kBankSize);
}

TEST(FactoryBank, SlotZeroBeginsWithTheFactoryWriteHeader) {
  const auto bank = test::Embedded(kFactoryBankFileName);
  ASSERT_EQ(bank.size(), kBankSize);
  const std::array<std::uint8_t, 10> expected = {
      0xF0,              // start of SysEx
      0x00, 0x51, 0x21,  // manufacturer
      0x03,              // editor family
      0x7C,              // FactoryPresetWrite
      0x0C,              // format version 1.2 (byte 6 = 12)
      0x00,              // slot 0
      0x01, 0x00,        // payload bytes 0 and 1
  };
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(bank[i], expected[i]) << "byte " << i;
  }
}

TEST(FactoryBank, EveryEntryIsFramedAndCarriesTheRightBlockChecksum) {
  const auto bank = test::Embedded(kFactoryBankFileName);
  ASSERT_EQ(bank.size(), kBankSize);
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    SCOPED_TRACE(slot);
    const auto m = Message(bank, slot);
    EXPECT_EQ(m[0], 0xF0);
    EXPECT_EQ(m[1], 0x00);
    EXPECT_EQ(m[2], 0x51);
    EXPECT_EQ(m[3], 0x21);
    EXPECT_EQ(m[4], 0x03);
    EXPECT_EQ(m[5], 0x7C);
    EXPECT_EQ(m[6], 12);
    EXPECT_EQ(m[kSlotByte], slot);
    EXPECT_EQ(m[kPayload], 0x01);
    EXPECT_EQ(m[kPayload + 1], 0x00);
    unsigned sum = 0;
    for (std::size_t i = 0; i < kPresetPayloadSize; ++i) {
      sum += m[kPayload + i];
    }
    EXPECT_EQ(m[kChecksumHigh], (sum >> 7) & 0x7F);
    EXPECT_EQ(m[kChecksumLow], sum & 0x7F);
    EXPECT_EQ(m[kEnd], 0xF7);
    // Nothing but data bytes between F0 and F7.
    for (std::size_t i = 1; i < kEnd; ++i) {
      ASSERT_LT(m[i], 0x80) << "byte " << i;
    }
  }
}

TEST(FactoryBank, ExactlyOneStartAndEndBytePerEntry) {
  const auto bank = test::Embedded(kFactoryBankFileName);
  std::size_t starts = 0;
  std::size_t ends = 0;
  for (const auto b : bank) {
    starts += b == 0xF0;
    ends += b == 0xF7;
  }
  EXPECT_EQ(starts, kSlots);
  EXPECT_EQ(ends, kSlots);
}

TEST(FactoryBank, NamesArePrintableUniqueAndSpacePadded) {
  const auto bank = test::Embedded(kFactoryBankFileName);
  ASSERT_EQ(bank.size(), kBankSize);
  std::set<std::string> names;
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    const auto m = Message(bank, slot);
    std::string name(test::Chars(m, kName, 32));
    for (const char c : name) {
      ASSERT_TRUE(c >= 0x20 && c < 0x7F) << slot;
    }
    EXPECT_NE(name[0], ' ') << slot;
    names.insert(name);
    // Both user impulse-response names are blank.
    EXPECT_EQ(test::Chars(m, kPayload + 192, 64), std::string(64, ' ')) << slot;
    // The unused middle of the payload stays zero.
    for (std::size_t i = 99; i < 192; ++i) {
      ASSERT_EQ(m[kPayload + i], 0) << slot;
    }
  }
  EXPECT_EQ(names.size(), kSlots);
}

TEST(FactoryBank, ParameterValuesLieInTheirRanges) {
  struct Range {
    std::size_t index;
    int minimum, maximum;
  };
  // Parameters whose range is narrower than 0..127.
  const std::array<Range, 9> narrow = {{{19, 2, 5}, {40, 0, 1}, {41, 0, 1}, {50, 0, 1}, {51, 0, 1},
                                        {52, 0, 2}, {57, 0, 4}, {60, 0, 1}, {14, 0, 127}}};
  const auto bank = test::Embedded(kFactoryBankFileName);
  ASSERT_EQ(bank.size(), kBankSize);
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    const auto m = Message(bank, slot);
    for (const auto& r : narrow) {
      const int v = m[kValues + r.index];
      EXPECT_GE(v, r.minimum) << "slot " << slot << " parameter " << r.index;
      EXPECT_LE(v, r.maximum) << "slot " << slot << " parameter " << r.index;
    }
    // Factory presets play factory cabinets only.
    EXPECT_EQ(m[kValues + 40], 0);
    EXPECT_EQ(m[kValues + 41], 0);
  }
}

TEST(FactoryBank, MostPresetsAreRecognisedAmpModels) {
  // Buzz, Punch, Buzz Q, Punch Q, Crunch Q, Punch Freq of the ten models:
  // the fields the editor compares to light an amplifier button.
  const std::array<std::array<int, 6>, 10> models = {{{29, 17, 64, 10, 64, 58},
                                                      {47, 17, 64, 127, 64, 82},
                                                      {53, 49, 64, 64, 64, 54},
                                                      {64, 64, 64, 64, 64, 54},
                                                      {45, 98, 64, 64, 64, 94},
                                                      {29, 33, 64, 64, 64, 69},
                                                      {47, 88, 64, 64, 64, 41},
                                                      {51, 48, 64, 64, 64, 54},
                                                      {45, 64, 64, 64, 64, 54},
                                                      {0, 114, 64, 47, 64, 66}}};
  const std::array<std::size_t, 6> compared = {2, 3, 44, 45, 46, 11};
  const auto bank = test::Embedded(kFactoryBankFileName);
  ASSERT_EQ(bank.size(), kBankSize);
  std::set<std::size_t> modelsUsed;
  std::size_t recognised = 0;
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    const auto m = Message(bank, slot);
    for (std::size_t k = 0; k < models.size(); ++k) {
      bool match = true;
      for (std::size_t f = 0; f < compared.size(); ++f) {
        match = match && m[kValues + compared[f]] == models[k][f];
      }
      if (match) {
        ++recognised;
        modelsUsed.insert(k);
        break;
      }
    }
  }
  EXPECT_GE(recognised, kSlots / 2);
  EXPECT_EQ(modelsUsed.size(), models.size());
}

}  // namespace
}  // namespace kr7
