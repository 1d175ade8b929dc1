#pragma once
// A bounded hand-over between exactly one producer thread and one consumer
// thread, without locks and without allocation, so the MIDI input thread and
// the audio thread can use it.
//
// The ring owns Capacity + 1 slots and keeps one free, so "full" and "empty"
// are told apart by the two indices alone. A push onto a full ring fails and
// the new item is dropped: the items already waiting are older and the
// consumer is expected to catch up on its next step.
//
// Each index is written by one side only (head by the producer, tail by the
// consumer) and published with release; the other side reads it with acquire,
// which orders the slot's contents before the index that hands it over.

#include <array>
#include <atomic>
#include <cstddef>

namespace kr7 {

template <class T, std::size_t Capacity>
class SpscRing {
  static_assert(Capacity > 0, "a ring needs room for at least one item");

 public:
  static constexpr std::size_t kCapacity = Capacity;

  // Producer thread only. Returns false, leaving the ring unchanged, when full.
  bool Push(const T& item) {
    const std::size_t head = mHead.load(std::memory_order_relaxed);
    const std::size_t next = Advance(head);
    if (next == mTail.load(std::memory_order_acquire)) {
      return false;
    }
    mSlots[head] = item;
    mHead.store(next, std::memory_order_release);
    return true;
  }

  // Consumer thread only. Returns false, leaving `item` untouched, when empty.
  bool Pop(T& item) {
    const std::size_t tail = mTail.load(std::memory_order_relaxed);
    if (tail == mHead.load(std::memory_order_acquire)) {
      return false;
    }
    item = mSlots[tail];
    mTail.store(Advance(tail), std::memory_order_release);
    return true;
  }

  // Either thread; only a snapshot, since the other side keeps moving.
  bool Empty() const {
    return mHead.load(std::memory_order_acquire) == mTail.load(std::memory_order_acquire);
  }

 private:
  static constexpr std::size_t kSlots = Capacity + 1;
  // Keeps the two indices on separate cache lines so the two threads do not
  // bounce one line between them on every push and pop.
  static constexpr std::size_t kCacheLine = 64;

  static constexpr std::size_t Advance(std::size_t index) {
    return index + 1 == kSlots ? 0 : index + 1;
  }

  alignas(kCacheLine) std::atomic<std::size_t> mHead{0};  // next slot to fill
  alignas(kCacheLine) std::atomic<std::size_t> mTail{0};  // next slot to read
  alignas(kCacheLine) std::array<T, kSlots> mSlots{};
};

}  // namespace kr7
