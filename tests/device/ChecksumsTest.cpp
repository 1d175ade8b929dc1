#include <gtest/gtest.h>

#include "device/Checksums.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

TEST(BlockChecksum, SumsToFourteenBits) {
  Bytes contents(kBlockContentsSize);
  for (std::size_t i = 0; i < contents.size(); ++i)
    contents[i] = static_cast<std::uint8_t>(i & 0x7F);
  // Twice 0 + 1 + ... + 127 = 16256 = 0x3F80.
  EXPECT_EQ(BlockChecksum(contents), 0x3F80);
  EXPECT_EQ(High7(0x3F80), 0x7F);
  EXPECT_EQ(Low7(0x3F80), 0x00);
  EXPECT_EQ(BlockChecksum(Bytes(kBlockContentsSize, 0)), 0);
}

TEST(BlockChecksum, SumAbove14BitsKeepsTheLowBits) {
  // 256 × 0x7F = 32512 = 0x7F00; low 14 bits 0x3F00.
  EXPECT_EQ(BlockChecksum(Bytes(kBlockContentsSize, 0x7F)), 0x3F00);
}

TEST(BlockChecksum, WriteAndCheckOnABlock) {
  Bytes block(kBlockMessageSize, 0);
  block[kOffsetBlockContents] = 0x01;
  block[kOffsetBlockContents + 1] = 0x7F;
  ASSERT_TRUE(WriteBlockChecksum(block));
  EXPECT_EQ(block[kOffsetBlockChecksumHigh], 0x01);  // 128 >> 7
  EXPECT_EQ(block[kOffsetBlockChecksumLow], 0x00);   // 128 & 0x7F
  EXPECT_TRUE(BlockChecksumOk(block));
  block[kOffsetBlockChecksumLow] = 0x01;
  EXPECT_FALSE(BlockChecksumOk(block));
}

TEST(BlockChecksum, OtherLengthsAreNeverValidNorWritten) {
  Bytes shortBlock(kBlockMessageSize - 1, 0);
  EXPECT_FALSE(BlockChecksumOk(shortBlock));
  EXPECT_FALSE(WriteBlockChecksum(shortBlock));
  EXPECT_FALSE(BlockChecksumOk({}));
}

TEST(StreamChecksum, KeepsSixteenBitsAndReducesToFourteen) {
  // 600 × 0x7F = 76200: past 65535, so the kept sum wraps to 10664 = 0x29A8.
  constexpr std::size_t kCount = 600;
  StreamChecksum sum;
  sum.Add(Bytes(kCount, 0x7F));
  EXPECT_EQ(sum.Sum16(), 10664);
  EXPECT_EQ(sum.Value(), 10664);
  EXPECT_EQ(sum.High(), 0x53);  // 10664 >> 7 = 83
  EXPECT_EQ(sum.Low(), 0x28);   // 10664 & 0x7F = 40
}

TEST(StreamChecksum, FourteenBitReductionOfAnUnwrappedSum) {
  // 200 × 0x64 = 20000 = 0x4E20; low 14 bits 0x0E20 = 3616.
  StreamChecksum sum;
  for (int i = 0; i < 200; ++i) sum.Add(std::uint8_t{0x64});
  EXPECT_EQ(sum.Sum16(), 20000);
  EXPECT_EQ(sum.Value(), 3616);
  EXPECT_EQ(sum.High(), 0x1C);  // 3616 >> 7 = 28
  EXPECT_EQ(sum.Low(), 0x20);   // 3616 & 0x7F = 32
  sum.Reset();
  EXPECT_EQ(sum.Sum16(), 0);
}

TEST(StreamChecksum, OfAWholeString) {
  const Bytes packed = {0x01, 0x02, 0x7F};
  EXPECT_EQ(StreamChecksumOf(packed), 0x82);
  EXPECT_EQ(StreamChecksumOf({}), 0);
}

}  // namespace
}  // namespace kr7
