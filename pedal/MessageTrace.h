#pragma once
// The MIDI monitor of --trace: one line per message crossing the pedal's
// ports, in either direction, with the message's name and its bytes.
//
//   IN   PresetRequest        9  F0 00 51 21 03 40 0C 05 F7
//   OUT  PresetDump         267  F0 00 51 21 03 41 0C 05 01 00 56 49 ... 1D 44 F7
//   DROP IrStoredAck          7  F0 00 51 21 03 61 F7        (a fault ate it)

#include <cstdio>
#include <mutex>
#include <string>

#include "device/Packing.h"
#include "pedal/VirtualPedal.h"

namespace kr7::pedal {

// Bytes shown before and after the ellipsis of a long message.
inline constexpr std::size_t kTraceHeadBytes = 12;
inline constexpr std::size_t kTraceTailBytes = 3;

std::string FormatTraceLine(TraceDirection direction, ByteSpan message);

// Writes trace lines to a stream; whole lines, safe from several threads.
class MessageTrace {
 public:
  explicit MessageTrace(std::FILE* out) : mOut(out) {}
  void Write(TraceDirection direction, ByteSpan message);

 private:
  std::FILE* mOut;
  std::mutex mMutex;
};

}  // namespace kr7::pedal
