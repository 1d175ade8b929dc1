#pragma once
// A bounded hand-over from any number of producer threads to one consumer,
// without locks and without allocation after construction: the MIDI monitor
// is fed by the audio thread and by the UI thread (both send), and neither may
// wait for the other.
//
// Each slot carries a sequence number (the classic bounded-queue scheme of
// D. Vyukov): a producer claims a slot by advancing the shared write index
// with compare-and-swap, fills it, and publishes it by storing the slot's
// sequence with release; the consumer reads the sequence with acquire before
// the contents. A push onto a full ring fails and the item is dropped.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kr7 {

template <class T, std::size_t Capacity>
class MpscRing {
  static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0,
                "the capacity must be a power of two");

 public:
  MpscRing() {
    for (std::size_t i = 0; i < Capacity; ++i) mCells[i].sequence.store(i);
  }

  // Any thread. fill(T&) writes the item in place; false when the ring is full.
  template <class Fill>
  bool Push(Fill&& fill) {
    std::size_t position = mWrite.load(std::memory_order_relaxed);
    Cell* cell = nullptr;
    for (;;) {
      cell = &mCells[position & kMask];
      const std::size_t sequence = cell->sequence.load(std::memory_order_acquire);
      const auto lag = static_cast<std::intptr_t>(sequence) - static_cast<std::intptr_t>(position);
      if (lag == 0) {
        if (mWrite.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) break;
      } else if (lag < 0) {
        return false;
      } else {
        position = mWrite.load(std::memory_order_relaxed);
      }
    }
    fill(cell->value);
    cell->sequence.store(position + 1, std::memory_order_release);
    return true;
  }

  // The consumer thread only. Hands the oldest item to use(const T&); false
  // when nothing is waiting.
  template <class Use>
  bool Pop(Use&& use) {
    Cell& cell = mCells[mRead & kMask];
    if (cell.sequence.load(std::memory_order_acquire) != mRead + 1) return false;
    use(static_cast<const T&>(cell.value));
    cell.sequence.store(mRead + Capacity, std::memory_order_release);
    ++mRead;
    return true;
  }

 private:
  static constexpr std::size_t kMask = Capacity - 1;
  static constexpr std::size_t kCacheLine = 64;
  struct Cell {
    std::atomic<std::size_t> sequence;
    T value;
  };

  alignas(kCacheLine) std::atomic<std::size_t> mWrite{0};
  alignas(kCacheLine) std::size_t mRead = 0;  // consumer only
  alignas(kCacheLine) std::array<Cell, Capacity> mCells;
};

}  // namespace kr7
