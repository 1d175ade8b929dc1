#pragma once
// The two checksum bytes a preset carries: the 14-bit sum of its payload in
// two 7-bit halves.

#include <cstdint>

namespace kr7 {

struct PresetChecksum {
  std::uint8_t high = 0;  // bits 7..13 of the sum
  std::uint8_t low = 0;   // bits 0..6
  bool operator==(const PresetChecksum&) const = default;
};

}  // namespace kr7
