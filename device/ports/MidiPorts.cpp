#include "device/ports/MidiPorts.h"

#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "device/MessagePump.h"

namespace kr7 {
namespace {

constexpr const char* kInputClientName = "RtMidi Input Client";
constexpr const char* kOutputClientName = "RtMidi Output Client";
constexpr const char* kInputPortName = "RtMidi Input";
constexpr const char* kOutputPortName = "RtMidi Output";
constexpr unsigned kJackDriver = 1;

std::optional<RtMidi::Api> LibraryApi(MidiBackend backend) {
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  const RtMidi::Api api = backend == MidiBackend::Jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
  if (std::find(compiled.begin(), compiled.end(), api) == compiled.end()) {
    return std::nullopt;
  }
  return api;
}

// The library raises its errors as exceptions; this is the edge where they
// stop. Returns the object, or nullptr when the back end cannot be used.
template <class Port>
std::unique_ptr<Port> TryCreate(RtMidi::Api api, const char* clientName) {
  try {
    return std::make_unique<Port>(api, clientName);
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

unsigned PortCount(RtMidi& object) {
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

std::vector<std::string> ListNames(RtMidi* object) {
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

// Closes the object's port and, with an index, opens that library port.
bool Reopen(RtMidi* object, std::optional<unsigned> index, const char* portName) {
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

void InputCallback(double /*timeStamp*/, std::vector<unsigned char>* message, void* userData) {
  if (message != nullptr) {
    static_cast<MessagePump*>(userData)->OnMidiInput(*message);
  }
}

}  // namespace

std::vector<MidiBackend> MidiBackendOrder(unsigned driver) {
  std::vector<MidiBackend> order;
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  for (RtMidi::Api api : compiled) {
    if (api == RtMidi::LINUX_ALSA) {
      order.push_back(MidiBackend::Alsa);
    } else if (api == RtMidi::UNIX_JACK) {
      order.push_back(MidiBackend::Jack);
    }
  }
  if (driver == kJackDriver) {
    std::stable_partition(order.begin(), order.end(),
                          [](MidiBackend b) { return b == MidiBackend::Jack; });
  }
  return order;
}

MidiPorts::MidiPorts(MessagePump& pump, std::span<const MidiBackend> order) : mPump(pump) {
  mInput = CreateFirstUsable<RtMidiIn>(order, kInputClientName);
  mOutput = CreateFirstUsable<RtMidiOut>(order, kOutputClientName);
  if (mInput) {
    try {
      // Timing clock floods the queue for nothing; SysEx is the pedal's
      // language and active sensing is passed on as a short message.
      mInput->ignoreTypes(/*midiSysex=*/false, /*midiTime=*/true, /*midiSense=*/false);
      mInput->setCallback(&InputCallback, &mPump);
    } catch (const RtMidiError&) {
      mInput.reset();
    }
  }
  mInputNames = ListNames(mInput.get());
  mOutputNames = ListNames(mOutput.get());
}

MidiPorts::~MidiPorts() { Shutdown(); }

void MidiPorts::SetPortNameHook(PortNameHook hook) { mPortNameHook = std::move(hook); }

bool MidiPorts::HasInputObject() const { return mInput != nullptr; }

bool MidiPorts::HasOutputObject() const { return mOutput != nullptr; }

std::optional<unsigned> MidiPorts::LibraryIndex(const std::vector<std::string>& names,
                                                const std::string& name) const {
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

bool MidiPorts::Select(MidiDirection direction, const std::string& name) {
  const bool isInput = direction == MidiDirection::Input;
  RtMidi* object = isInput ? static_cast<RtMidi*>(mInput.get()) : mOutput.get();
  std::string& selected = isInput ? mSelectedInput : mSelectedOutput;
  const auto index = LibraryIndex(isInput ? mInputNames : mOutputNames, name);

  std::unique_lock lock(mOutputMutex, std::defer_lock);
  if (!isInput) {
    lock.lock();
  }
  const bool missing = name != kMidiPortOff && !index;
  selected = missing ? std::string(kMidiPortOff) : name;
  const bool opened = Reopen(object, index, isInput ? kInputPortName : kOutputPortName);
  if (lock.owns_lock()) {
    lock.unlock();
  }
  if (missing && mPortNameHook) {
    mPortNameHook(direction, selected);
  }
  return opened;
}

bool MidiPorts::SelectInput(const std::string& name) {
  return Select(MidiDirection::Input, name);
}

bool MidiPorts::SelectOutput(const std::string& name) {
  return Select(MidiDirection::Output, name);
}

bool MidiPorts::Send(std::span<const std::uint8_t> message) {
  std::lock_guard lock(mOutputMutex);
  if (!mOutput) {
    return false;
  }
  if (mSelectedOutput == kMidiPortOff) {
    return true;
  }
  try {
    if (!mOutput->isPortOpen()) {
      return false;
    }
    mOutput->sendMessage(message.data(), message.size());
    return true;
  } catch (const RtMidiError&) {
    return false;
  }
}

bool MidiPorts::SendSysEx(std::span<const std::uint8_t> message) {
  return !message.empty() && Send(message);
}

bool MidiPorts::SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  const std::uint8_t message[] = {status, data1, data2};
  return Send(message);
}

void MidiPorts::Shutdown() {
  mPump.SetShuttingDown();
  // Errors while closing at shutdown have no one left to be told about.
  if (mInput) {
    try {
      mInput->cancelCallback();
      mInput->closePort();
    } catch (const RtMidiError&) {
    }
    mInput.reset();
  }
  std::lock_guard lock(mOutputMutex);
  if (mOutput) {
    try {
      mOutput->closePort();
    } catch (const RtMidiError&) {
    }
    mOutput.reset();
  }
}

}  // namespace kr7
