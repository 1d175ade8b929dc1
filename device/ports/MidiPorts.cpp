#include "device/ports/MidiPorts.h"

#include <rtmidi/RtMidi.h>

#include <optional>
#include <utility>

#include "device/MessagePump.h"
#include "device/ports/RtMidiCalls.h"
#include "model/UserTexts.h"

namespace kr7 {
namespace {

constexpr const char* kInputClientName = "RtMidi Input Client";
constexpr const char* kOutputClientName = "RtMidi Output Client";
constexpr const char* kInputPortName = "RtMidi Input";
constexpr const char* kOutputPortName = "RtMidi Output";
constexpr unsigned kJackDriver = 1;

using rtmidi::CreateFirstUsable;
using rtmidi::LibraryIndex;
using rtmidi::ListNames;
using rtmidi::Reopen;

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

std::vector<std::string> SearchCandidates(const std::vector<std::string>& names) {
  std::vector<std::string> candidates;
  for (const std::string& name : names) {
    // The built-in virtual pedal answers like a pedal but is never the pedal.
    const bool own = name.starts_with(kInputClientName) || name.starts_with(kOutputClientName) ||
                     name == kBuiltInPedalPortName;
    if (!name.empty() && name != kMidiPortOff && !own) candidates.push_back(name);
  }
  return candidates;
}

std::optional<MidiBackend> MidiPorts::Backend() const {
  if (!mInput && !mOutput) return std::nullopt;
  const RtMidi::Api api = mInput ? mInput->getCurrentApi() : mOutput->getCurrentApi();
  return api == RtMidi::UNIX_JACK ? MidiBackend::Jack : MidiBackend::Alsa;
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
