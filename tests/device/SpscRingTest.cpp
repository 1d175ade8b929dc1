#include "device/SpscRing.h"

#include <gtest/gtest.h>

namespace kr7 {
namespace {

constexpr std::size_t kSmallCapacity = 3;
using SmallRing = SpscRing<int, kSmallCapacity>;

TEST(SpscRingTest, EmptyRingPopsNothingAndLeavesTheItemAlone) {
  SmallRing ring;
  constexpr int kUntouched = -7;
  int item = kUntouched;
  EXPECT_TRUE(ring.Empty());
  EXPECT_FALSE(ring.Pop(item));
  EXPECT_EQ(item, kUntouched);
}

TEST(SpscRingTest, ItemsComeOutInTheOrderTheyWentIn) {
  SmallRing ring;
  ASSERT_TRUE(ring.Push(1));
  ASSERT_TRUE(ring.Push(2));
  ASSERT_TRUE(ring.Push(3));
  int item = 0;
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_EQ(item, 1);
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_EQ(item, 2);
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_EQ(item, 3);
  EXPECT_TRUE(ring.Empty());
}

TEST(SpscRingTest, FullRingDropsTheNewestItem) {
  SmallRing ring;
  for (int i = 0; i < static_cast<int>(kSmallCapacity); ++i) {
    ASSERT_TRUE(ring.Push(i)) << "item " << i;
  }
  constexpr int kNewest = 99;
  EXPECT_FALSE(ring.Push(kNewest));

  int item = 0;
  for (int i = 0; i < static_cast<int>(kSmallCapacity); ++i) {
    ASSERT_TRUE(ring.Pop(item));
    EXPECT_EQ(item, i);
  }
  EXPECT_FALSE(ring.Pop(item));
}

TEST(SpscRingTest, KeepsWorkingAcrossManyWrapArounds) {
  SmallRing ring;
  constexpr int kRounds = 50;
  int item = 0;
  for (int round = 0; round < kRounds; ++round) {
    ASSERT_TRUE(ring.Push(round));
    ASSERT_TRUE(ring.Push(round + 1000));
    ASSERT_TRUE(ring.Pop(item));
    EXPECT_EQ(item, round);
    ASSERT_TRUE(ring.Pop(item));
    EXPECT_EQ(item, round + 1000);
  }
  EXPECT_TRUE(ring.Empty());
}

TEST(SpscRingTest, AFreedSlotAcceptsAnItemAgain) {
  SmallRing ring;
  for (int i = 0; i < static_cast<int>(kSmallCapacity); ++i) {
    ASSERT_TRUE(ring.Push(i));
  }
  int item = 0;
  ASSERT_TRUE(ring.Pop(item));
  EXPECT_TRUE(ring.Push(42));
  EXPECT_FALSE(ring.Push(43));
}

}  // namespace
}  // namespace kr7
