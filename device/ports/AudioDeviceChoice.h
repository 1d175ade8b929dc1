#pragma once
// Which audio device a stream side uses, decided apart from the audio library
// so the rule can be checked without any sound hardware.

#include <optional>
#include <string>
#include <vector>

namespace kr7 {

struct AudioDeviceChoice {
  std::string name;
  // True when the configured device was missing and the system default was
  // taken instead; the caller then writes the new name back to the settings.
  bool replacedByDefault = false;
};

// The configured device when `available` lists it (exact, case-sensitive),
// else the system default when there is one, else nothing.
std::optional<AudioDeviceChoice> ChooseAudioDevice(const std::vector<std::string>& available,
                                                   const std::string& defaultName,
                                                   const std::string& configured);

}  // namespace kr7
