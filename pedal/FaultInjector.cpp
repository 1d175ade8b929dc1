#include "pedal/FaultInjector.h"

#include <algorithm>

#include "device/Messages.h"

namespace kr7::pedal {

namespace {

// Flips the lowest bit, which keeps the byte a valid MIDI data byte.
constexpr std::uint8_t kCorruptionMask = 0x01;

bool HasEditorHeader(ByteSpan message) {
  return message.size() > kOffsetCommand && message[0] == kSysExStart &&
         std::equal(kManufacturerId.begin(), kManufacturerId.end(),
                    message.begin() + kOffsetManufacturer) &&
         message[kOffsetFamily] == kFamilyEditor;
}

}  // namespace

void FaultInjector::DropNextReplies(int n) { mDrops = std::max(n, 0); }

void FaultInjector::CorruptNextChecksum() { mCorruptChecksum = true; }

void FaultInjector::FailNextWrites(int k) { mWriteFailures = std::max(k, 0); }

void FaultInjector::Clear() {
  mDrops = 0;
  mCorruptChecksum = false;
  mWriteFailures = 0;
}

bool FaultInjector::Apply(Bytes& message) {
  if (mDrops > 0) {
    --mDrops;
    return false;
  }
  if (mCorruptChecksum) {
    if (const std::size_t offset = ChecksumLowOffset(message); offset != 0) {
      message[offset] ^= kCorruptionMask;
      mCorruptChecksum = false;
    }
  }
  return true;
}

bool FaultInjector::TakeWriteFailure() {
  if (mWriteFailures <= 0) {
    return false;
  }
  --mWriteFailures;
  return true;
}

std::size_t ChecksumLowOffset(ByteSpan message) {
  if (!HasEditorHeader(message)) {
    return 0;
  }
  if (message.size() == kBlockMessageSize) {
    return kOffsetBlockChecksumLow;
  }
  const bool isIrDumpEnd = message[kOffsetCommand] == kCmdIrDumpEnd &&
                           message.size() >= kIrDumpEndOverhead &&
                           message.size() <= kIrDumpEndMaxSize;
  return isIrDumpEnd ? message.size() - (kTrailerChecksumFromEnd - 1) : 0;
}

}  // namespace kr7::pedal
