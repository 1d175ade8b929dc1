#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <random>

#include "device/Packing.h"

namespace kr7 {
namespace {

constexpr std::uint32_t kRoundTripSeed = 0x4B523701;
constexpr std::size_t kRoundTripMaxLength = 300;
constexpr std::size_t kIrImageSize = 2436;
constexpr std::size_t kIrPackedSize = 2785;
constexpr std::size_t kReceiveBufferSize = 4096;

Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(byte(rng));
  return out;
}

TEST(Packing, SizesFollowTheFloorFormulas) {
  EXPECT_EQ(PackedSize(0), 1u);
  EXPECT_EQ(PackedSize(7), 9u);
  EXPECT_EQ(PackedSize(8), 10u);
  EXPECT_EQ(PackedSize(kIrImageSize), kIrPackedSize);
  EXPECT_EQ(UnpackedSize(9), 7u);
  EXPECT_EQ(UnpackedSize(10), 8u);
  EXPECT_EQ(UnpackedSize(kIrPackedSize), kIrImageSize);
}

TEST(Packing, OneByteSplitsAcrossTwoGroups) {
  const Bytes in = {0xFF};
  const Bytes expected = {
      0x7F,  // bits 7..1 of 0xFF
      0x40,  // bit 0, then six zero bits
  };
  EXPECT_EQ(Pack(in), expected);
}

TEST(Packing, BitsRunMostSignificantFirstAcrossBytes) {
  const Bytes in = {0x80, 0x01};
  const Bytes expected = {
      0x40,  // 1000000: top seven bits of 0x80
      0x00,  // 0 (last bit of 0x80), 000000 (top six of 0x01)
      0x20,  // 1 (last bit of 0x01), then zero fill
  };
  EXPECT_EQ(Pack(in), expected);
}

TEST(Packing, SevenBytesGiveNineEndingInZero) {
  const Bytes in(7, 0xFF);
  const Bytes expected = {
      0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,  // 56 one-bits in eight groups
      0x00,                                            // the always-emitted last group
  };
  EXPECT_EQ(Pack(in), expected);
}

TEST(Packing, EightBytesGiveTen) {
  const Bytes in(8, 0xFF);
  const Bytes expected = {
      0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F,  // 63 one-bits
      0x40,                                                  // the 64th bit, zero fill
  };
  EXPECT_EQ(Pack(in), expected);
}

TEST(Packing, EmptyInputPacksToOneZero) {
  EXPECT_EQ(Pack({}), Bytes{0x00});
  EXPECT_TRUE(Unpack({}).empty());
}

TEST(Packing, UnpackIgnoresTheHighBitOfDataBytes) {
  const Bytes clean = {0x7F, 0x40};
  const Bytes dirty = {0xFF, 0xC0};
  EXPECT_EQ(Unpack(dirty), Unpack(clean));
  EXPECT_EQ(Unpack(clean), Bytes{0xFF});
}

TEST(Packing, RoundTripsEveryLengthUpTo300) {
  std::cout << "round-trip seed " << kRoundTripSeed << "\n";
  std::mt19937 rng(kRoundTripSeed);
  for (std::size_t n = 0; n <= kRoundTripMaxLength; ++n) {
    const Bytes in = RandomBytes(rng, n);
    const Bytes packed = Pack(in);
    ASSERT_EQ(packed.size(), PackedSize(n)) << "length " << n;
    for (std::uint8_t d : packed) ASSERT_LE(d, kDataByteMask) << "length " << n;
    EXPECT_EQ(Unpack(packed), in) << "length " << n;
  }
}

TEST(StreamUnpacker, ChunkedFeedEqualsWholeUnpack) {
  std::mt19937 rng(kRoundTripSeed + 1);
  const Bytes image = RandomBytes(rng, kIrImageSize);
  const Bytes packed = Pack(image);
  StreamUnpacker unpacker(kReceiveBufferSize);
  // Uneven chunk sizes put chunk borders at every bit phase.
  std::uniform_int_distribution<std::size_t> chunk(1, 300);
  for (std::size_t pos = 0; pos < packed.size();) {
    const std::size_t n = std::min(chunk(rng), packed.size() - pos);
    EXPECT_TRUE(unpacker.Feed(ByteSpan(packed).subspan(pos, n)));
    pos += n;
  }
  unpacker.Flush();
  EXPECT_EQ(unpacker.PackedConsumed(), kIrPackedSize);
  EXPECT_FALSE(unpacker.Overflowed());
  ASSERT_EQ(unpacker.Size(), kIrImageSize);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), unpacker.Output().begin()));
}

TEST(StreamUnpacker, RefusesToWritePastItsCapacity) {
  // N = 4683 packed bytes unpack to 4097 bytes: one more than the buffer.
  constexpr std::size_t kTooLong = 4683;
  ASSERT_EQ(UnpackedSize(kTooLong), kReceiveBufferSize + 1);
  const Bytes packed(kTooLong, 0x55);
  StreamUnpacker unpacker(kReceiveBufferSize);
  EXPECT_FALSE(unpacker.Feed(packed));
  EXPECT_TRUE(unpacker.Overflowed());
  EXPECT_EQ(unpacker.Size(), kReceiveBufferSize);
}

TEST(StreamUnpacker, ResetStartsAFreshTransfer) {
  StreamUnpacker unpacker(kReceiveBufferSize);
  const Bytes odd = {0x7F, 0x7F, 0x7F};  // 21 bits: two bytes out, five bits pending
  unpacker.Feed(odd);
  EXPECT_EQ(unpacker.Size(), 2u);
  unpacker.Reset();
  EXPECT_EQ(unpacker.Size(), 0u);
  EXPECT_EQ(unpacker.PackedConsumed(), 0u);
  const Bytes packed = Pack(Bytes{0x12, 0x34});
  unpacker.Feed(packed);
  unpacker.Flush();
  EXPECT_EQ(Bytes(unpacker.Output().begin(), unpacker.Output().end()), (Bytes{0x12, 0x34}));
}

TEST(Fields, FourteenBitHighFirst) {
  Bytes out(kField14Size);
  ASSERT_TRUE(Write14(out, 300));
  EXPECT_EQ(out, (Bytes{0x02, 0x2C}));  // 300 = 2 · 128 + 44
  EXPECT_EQ(Read14(out), 300u);
  EXPECT_EQ(Combine14(0x7F, 0x7F), kMax14BitValue);
}

TEST(Fields, TwentyOneBitMostSignificantFirst) {
  Bytes out(kField21Size);
  ASSERT_TRUE(Write21(out, 549));
  EXPECT_EQ(out, (Bytes{0x00, 0x04, 0x25}));  // 549 = 4 · 128 + 37
  EXPECT_EQ(Read21(out), 549u);
  ASSERT_TRUE(Write21(out, kMax21BitValue));
  EXPECT_EQ(out, (Bytes{0x7F, 0x7F, 0x7F}));
}

TEST(Fields, ShortBuffersAreNotTouched) {
  Bytes one = {0x55};
  EXPECT_FALSE(Write14(one, 300));
  EXPECT_FALSE(Write21(one, 300));
  EXPECT_EQ(one, Bytes{0x55});
  EXPECT_EQ(Read14(one), 0u);
  EXPECT_EQ(Read21(Bytes{0x01, 0x02}), 0u);
}

TEST(Text, WritePadsWithSpaces) {
  Bytes field(kTextFieldSize, 0);
  ASSERT_TRUE(WriteText(field, "CLEAN"));
  Bytes expected(kTextFieldSize, kTextPad);
  const Bytes clean = {'C', 'L', 'E', 'A', 'N'};
  std::copy(clean.begin(), clean.end(), expected.begin());
  EXPECT_EQ(field, expected);
}

TEST(Text, WriteCutsAt32AndKeepsDataBytes) {
  Bytes field(kTextFieldSize + 1, 0x11);  // one guard byte after the field
  const std::string forty(40, 'X');
  ASSERT_TRUE(WriteText(field, forty));
  EXPECT_EQ(field[kTextFieldSize - 1], 'X');
  EXPECT_EQ(field[kTextFieldSize], 0x11);
  ASSERT_TRUE(WriteText(field, "\xC3\xA9"));  // UTF-8 "é": two bytes above 0x7F
  EXPECT_EQ(field[0], '?');
  EXPECT_EQ(field[1], '?');
  EXPECT_EQ(field[2], kTextPad);
  Bytes tooShort(kTextFieldSize - 1, 0);
  EXPECT_FALSE(WriteText(tooShort, "A"));
}

TEST(Text, ReadStopsAtZeroAndAt32) {
  Bytes field(kTextFieldSize + 8, 'A');
  EXPECT_EQ(ReadText(field), std::string(kTextFieldSize, 'A'));
  field[3] = 0x00;
  EXPECT_EQ(ReadText(field), "AAA");
  EXPECT_EQ(ReadText(ByteSpan(field).first(2)), "AA");
}

TEST(Text, TrimRemovesOnlyTrailingSpaces) {
  EXPECT_EQ(TrimTrailingSpaces("  MY IR   "), "  MY IR");
  EXPECT_EQ(TrimTrailingSpaces("    "), "");
  EXPECT_EQ(TrimTrailingSpaces(""), "");
}

}  // namespace
}  // namespace kr7
