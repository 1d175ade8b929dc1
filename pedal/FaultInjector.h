#pragma once
// Faults the virtual pedal can be told to make, so the editor's tests can
// watch it cope with a pedal that misbehaves: replies that never come, a
// checksum that does not hold, write refusals in a stream, and (through
// VirtualPedal) another version or hostile messages.
//
// Each fault counts down as it is used. Not thread-safe: VirtualPedal keeps
// it under its own lock.

#include <cstdint>

#include "device/Packing.h"

namespace kr7::pedal {

struct FaultCounts {
  int drops = 0;
  bool corruptChecksum = false;
  int writeFailures = 0;
};

class FaultInjector {
 public:
  // The next n replies are not sent (n <= 0 clears the count).
  void DropNextReplies(int n);
  // The next reply that carries a block or stream checksum goes out with a
  // wrong one.
  void CorruptNextChecksum();
  // The next k messages of a write stream (factory writes and imports) are
  // answered with WriteFailAck and not applied.
  void FailNextWrites(int k);
  void Clear();

  // Runs one outgoing reply through the faults. Returns false when it must
  // be dropped; otherwise the message may have been altered in place.
  bool Apply(Bytes& message);
  // True (and counts one down) when the stream message now handled must be
  // refused.
  bool TakeWriteFailure();

  FaultCounts Pending() const { return {mDrops, mCorruptChecksum, mWriteFailures}; }

 private:
  int mDrops = 0;
  bool mCorruptChecksum = false;
  int mWriteFailures = 0;
};

// Whether a pedal message carries a checksum, and where its low byte is:
// a 267-byte block (byte 265) or an IrDumpEnd (the byte before F7).
// Returns the offset, or 0 when there is none.
std::size_t ChecksumLowOffset(ByteSpan message);

}  // namespace kr7::pedal
