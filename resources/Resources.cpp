#include "resources/Resources.h"

#include <algorithm>

#include "resources/ResourceTable.h"

namespace kr7 {
namespace {

using detail::kResourceTable;
using detail::kResourceTableSize;

std::span<const detail::ResourceEntry> Table() {
  return {kResourceTable, kResourceTableSize};
}

std::span<const std::uint8_t> Bytes(const detail::ResourceEntry& entry) {
  return {entry.begin, static_cast<std::size_t>(entry.end - entry.begin)};
}

template <typename Match>
std::optional<std::span<const std::uint8_t>> FindBy(Match match) {
  const auto table = Table();
  const auto found = std::find_if(table.begin(), table.end(), match);
  if (found == table.end()) {
    return std::nullopt;
  }
  return Bytes(*found);
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view fileName) {
  return FindBy([fileName](const detail::ResourceEntry& e) { return e.fileName == fileName; });
}

std::optional<std::span<const std::uint8_t>> FindResource(int id) {
  // Id 0 marks files found by name only; it must not match them all.
  if (id <= 0) {
    return std::nullopt;
  }
  return FindBy([id](const detail::ResourceEntry& e) { return e.id == id; });
}

std::vector<std::string_view> ResourceNames() {
  std::vector<std::string_view> names;
  names.reserve(kResourceTableSize);
  for (const auto& entry : Table()) {
    names.push_back(entry.fileName);
  }
  return names;
}

}  // namespace kr7
