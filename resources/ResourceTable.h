#pragma once
// The generated table of embedded files; only Resources.cpp and the
// generated blob source see it.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kr7::detail {

struct ResourceEntry {
  std::string_view fileName;
  int id;  // 0 when the file is found by name only
  const std::uint8_t* begin;
  const std::uint8_t* end;
};

extern const ResourceEntry kResourceTable[];
extern const std::size_t kResourceTableSize;

}  // namespace kr7::detail
