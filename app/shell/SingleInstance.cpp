#include "app/shell/SingleInstance.h"

namespace kr7 {
namespace {

// "present\n" alone, or followed by the path to open up to the end of the
// stream (a path may hold any byte but NUL).
constexpr std::string_view kPresentRequest = "present\n";

}  // namespace

std::string InstanceRequest(std::string_view openPath) {
  std::string request(kPresentRequest);
  request += openPath;
  return request;
}

std::optional<std::string> ParseInstanceRequest(std::string_view request) {
  if (request.size() > kMaxInstanceRequest || !request.starts_with(kPresentRequest) ||
      request.find('\0') != std::string_view::npos)
    return std::nullopt;
  return std::string(request.substr(kPresentRequest.size()));
}

}  // namespace kr7
