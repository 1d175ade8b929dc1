#pragma once
// Turns the messages of an all-presets file (a capture of what the pedal sent
// during an export) into the import messages the pedal accepts: the format
// byte becomes 0x0C, dumps become their Import* commands, and each
// impulse-response transfer gets its stream checksum recomputed from the
// packed bytes actually sent, so a file edited or damaged on disk is not
// announced with a stale checksum.

#include <vector>

#include "device/Checksums.h"
#include "device/Packing.h"

namespace kr7 {

class ImportRewriter {
 public:
  // Forgets the running impulse-response sum (start of a new import).
  void Reset() { mRunning.Reset(); }

  // Rewrites one complete message in place. Every read and write stays inside
  // `message`: a message too short to have a format byte is left untouched
  // (returns false), fields of a short dump part are summed only as far as
  // the message goes (never its final F7), and an end part too short to hold
  // a checksum gets none written.
  bool Rewrite(MutableByteSpan message);

  // Running sum so far, 14-bit.
  std::uint16_t RunningChecksum() const { return mRunning.Value(); }

 private:
  StreamChecksum mRunning;
};

// Cuts a captured byte stream into its messages (each ending at its F7; a
// trailing piece without F7 is dropped) and rewrites each for import.
std::vector<Bytes> RewriteCaptureForImport(ByteSpan capture);

}  // namespace kr7
