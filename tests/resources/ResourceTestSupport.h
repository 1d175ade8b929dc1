#pragma once
// Shared helpers of the embedded-resource tests.

#include <cstdint>
#include <span>
#include <string_view>

#include <gtest/gtest.h>

#include "resources/Resources.h"

namespace kr7::test {

// The embedded file, or an empty span after recording a test failure.
inline std::span<const std::uint8_t> Embedded(std::string_view name) {
  const auto found = FindResource(name);
  EXPECT_TRUE(found.has_value()) << name;
  return found.value_or(std::span<const std::uint8_t>{});
}

inline std::uint32_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

inline std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

inline std::string_view Chars(std::span<const std::uint8_t> b, std::size_t at, std::size_t n) {
  return {reinterpret_cast<const char*>(b.data() + at), n};
}

}  // namespace kr7::test
