// Two threads hammer the rings as the MIDI input, audio and UI threads do.
// Run under ThreadSanitizer this proves the hand-over is race-free; in any
// build it proves that nothing is duplicated, reordered or torn.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "device/MessagePump.h"  // SysExItem, the largest item the pump moves
#include "device/SpscRing.h"

namespace kr7 {
namespace {

constexpr int kItemCount = 200000;

TEST(SpscRingThreadTest, ConsumerSeesEveryPushedItemOnceAndInOrder) {
  SpscRing<int, 8> ring;
  std::thread producer([&ring] {
    for (int i = 0; i < kItemCount; ++i) {
      while (!ring.Push(i)) {
        std::this_thread::yield();
      }
    }
  });
  int expected = 0;
  int item = 0;
  while (expected < kItemCount) {
    if (ring.Pop(item)) {
      ASSERT_EQ(item, expected);
      ++expected;
    } else {
      std::this_thread::yield();
    }
  }
  producer.join();
  EXPECT_TRUE(ring.Empty());
}

// Fills a whole SysEx item with one byte value, so a slot read while it is
// being written would show up as a mix of two values.
constexpr int kSysExRounds = 20000;

TEST(SpscRingThreadTest, LargeItemsArriveWhole) {
  SpscRing<SysExItem, kSysExQueueCapacity> ring;
  std::thread producer([&ring] {
    SysExItem item;
    for (int round = 0; round < kSysExRounds; ++round) {
      item.size = static_cast<int>(kMaxSysExSize);
      item.data.fill(static_cast<std::uint8_t>(round));
      item.offset = round;
      while (!ring.Push(item)) {
        std::this_thread::yield();
      }
    }
  });
  SysExItem item;
  int expected = 0;
  while (expected < kSysExRounds) {
    if (!ring.Pop(item)) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(item.offset, expected);
    for (std::uint8_t byte : item.data) {
      ASSERT_EQ(byte, static_cast<std::uint8_t>(expected));
    }
    ++expected;
  }
  producer.join();
}

}  // namespace
}  // namespace kr7
