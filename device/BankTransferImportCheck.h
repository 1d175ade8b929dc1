#pragma once
// The all-presets file ("r3b"): the raw bytes of an export, no header.
//
//   128 × PresetDump (267 bytes: F0 00 51 21 03 41 fmt slot payload[256]
//         checksum[2] F7) for slots 0..127 in order, as the pedal sent them;
//   then, per user impulse response in use (slot below 256, ascending):
//         IrDumpBegin (269 bytes: slot[2] N[3] packed[256]),
//         IrDumpData × k (264 bytes: packed[256]),
//         IrDumpEnd (n + 10 bytes: packed[n], stream checksum[2]),
//         with 256 + 256·k + n = N and 1 <= n <= 256.
//   At most 1 048 576 bytes.
//
// Whatever an import sends goes to the pedal's memory, so a file is checked
// whole before anything is sent: only a file of exactly this shape, whose
// block and stream checksums hold, is taken (the import recomputes the
// stream checksums, so a spoiled IR would otherwise pass the pedal's check).

#include <cstddef>
#include <optional>

#include "device/Packing.h"

namespace kr7 {

inline constexpr std::size_t kBankFileLimit = 1048576;
inline constexpr int kBankPresetCount = 128;
// User impulse-response slots an export can hold.
inline constexpr int kBankUserIrSlots = 256;

// The number of messages in a well-formed all-presets file; nullopt for
// anything else (including a file above kBankFileLimit).
std::optional<int> CheckImportFile(ByteSpan file);

}  // namespace kr7
