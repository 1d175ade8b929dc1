#include "device/ports/AudioDeviceChoice.h"

#include <algorithm>

namespace kr7 {

std::optional<AudioDeviceChoice> ChooseAudioDevice(const std::vector<std::string>& available,
                                                   const std::string& defaultName,
                                                   const std::string& configured) {
  const auto listed = [&available](const std::string& name) {
    return !name.empty() && std::find(available.begin(), available.end(), name) != available.end();
  };
  if (listed(configured)) {
    return AudioDeviceChoice{configured, false};
  }
  if (listed(defaultName)) {
    return AudioDeviceChoice{defaultName, true};
  }
  return std::nullopt;
}

}  // namespace kr7
