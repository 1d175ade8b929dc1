// Any bytes as the request a later start sends to the running editor: either
// refused, or a path without NUL bytes that the request really carried.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/shell/SingleInstance.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view request(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> path = kr7::ParseInstanceRequest(request);
  if (!path) return 0;
  if (path->find('\0') != std::string::npos || !request.ends_with(*path) ||
      path->size() >= request.size())
    std::abort();
  return 0;
}
