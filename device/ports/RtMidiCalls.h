#pragma once
// Calls into RtMidi shared by the editor's port pair and the pedal search's
// probe. The library raises its errors as exceptions; these are the edge
// where they stop.

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/ports/MidiPorts.h"

namespace kr7::rtmidi {

inline std::optional<RtMidi::Api> LibraryApi(MidiBackend backend) {
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  const RtMidi::Api api = backend == MidiBackend::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
  if (std::find(compiled.begin(), compiled.end(), api) == compiled.end()) {
    return std::nullopt;
  }
  return api;
}

// Returns the object, or nullptr when the back end cannot be used.
template <class Port>
std::unique_ptr<Port> TryCreate(RtMidi::Api api, const char* clientName) {
  try {
    return std::make_unique<Port>(api, clientName);
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

inline unsigned PortCount(RtMidi& object) {
  try {
    return object.getPortCount();
  } catch (const RtMidiError&) {
    return 0;
  }
}

template <class Port>
std::unique_ptr<Port> CreateFirstUsable(std::span<const MidiBackend> order,
                                        const char* clientName) {
  std::unique_ptr<Port> firstCreated;
  for (MidiBackend backend : order) {
    const auto api = LibraryApi(backend);
    if (!api) {
      continue;
    }
    auto object = TryCreate<Port>(*api, clientName);
    if (!object) {
      continue;
    }
    if (PortCount(*object) > 0) {
      return object;
    }
    if (!firstCreated) {
      firstCreated = std::move(object);
    }
  }
  return firstCreated;
}

inline std::vector<std::string> ListNames(RtMidi* object) {
  std::vector<std::string> names{std::string(kMidiPortOff)};
  if (object == nullptr) {
    return names;
  }
  const unsigned count = PortCount(*object);
  for (unsigned i = 0; i < count; ++i) {
    try {
      names.push_back(object->getPortName(i));
    } catch (const RtMidiError&) {
      // A port that vanished while listing would shift every later index;
      // an empty entry keeps the list aligned and can never be matched.
      names.emplace_back();
    }
  }
  return names;
}

// The library's index of a port name in a listing made by ListNames; none for
// "off" and unknown names.
inline std::optional<unsigned> LibraryIndex(const std::vector<std::string>& names,
                                            const std::string& name) {
  if (name.empty() || name == kMidiPortOff) {
    return std::nullopt;
  }
  // Entry 0 is "off"; library port i is entry i + 1.
  const auto found = std::find(names.begin() + 1, names.end(), name);
  if (found == names.end()) {
    return std::nullopt;
  }
  return static_cast<unsigned>(found - names.begin() - 1);
}

// Closes the object's port and, with an index, opens that library port.
inline bool Reopen(RtMidi* object, std::optional<unsigned> index, const char* portName) {
  if (object == nullptr) {
    return !index.has_value();
  }
  try {
    object->closePort();
    if (!index) {
      return true;
    }
    object->openPort(*index, portName);
    return object->isPortOpen();
  } catch (const RtMidiError&) {
    return false;
  }
}

}  // namespace kr7::rtmidi
