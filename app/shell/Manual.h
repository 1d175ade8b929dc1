#pragma once
// The owner's manual: written once from the embedded copy into the data
// folder, then opened from there by the desktop's PDF viewer. A manual already
// on disk is never replaced.

#include <cstdint>
#include <span>
#include <string>

#include "resources/Resources.h"

namespace kr7 {

// Paths handed around by the editor fit 260 characters with the terminator;
// a longer manual path is refused rather than cut.
inline constexpr std::size_t kMaxPathLength = 260;

struct ManualFile {
  enum class Status { kReady, kWritten, kPathTooLong, kWriteFailed };
  Status status;
  std::string path;
};

// Makes sure "<dataFolder>/Dorlan_Valvora_OM1.pdf" exists, writing `embedded`
// when it does not. The copy is written beside the target and renamed into
// place, so a failing write (or no embedded copy) leaves no file behind and
// the next request tries again.
ManualFile PrepareManual(const std::string& dataFolder, std::span<const std::uint8_t> embedded);

}  // namespace kr7
