#include "device/ports/MidiPortProbe.h"

#include "device/ports/RtMidiCalls.h"

namespace kr7 {
namespace {

constexpr const char* kSearchClientName = "KR7Control Search";
constexpr const char* kSearchPortName = "KR7Control Search";

template <class Port>
std::unique_ptr<Port> OpenPort(MidiBackend backend, const std::string& name) {
  const std::optional<RtMidi::Api> api = rtmidi::LibraryApi(backend);
  if (!api) return nullptr;
  std::unique_ptr<Port> object = rtmidi::TryCreate<Port>(*api, kSearchClientName);
  if (!object) return nullptr;
  // A fresh listing: this object's ports, not the editor's earlier one.
  const std::optional<unsigned> index = rtmidi::LibraryIndex(rtmidi::ListNames(object.get()), name);
  if (!index || !rtmidi::Reopen(object.get(), index, kSearchPortName)) return nullptr;
  return object;
}

}  // namespace

struct MidiPortProbe::Input {
  MidiPortProbe* probe;
  int index;
  std::unique_ptr<RtMidiIn> port;
};

MidiPortProbe::MidiPortProbe(MidiBackend backend) : mBackend(backend) {}

MidiPortProbe::~MidiPortProbe() { Close(); }

bool MidiPortProbe::Open(std::span<const std::string> inputs,
                         std::span<const std::string> outputs, Listener listener) {
  Close();
  bool anyOutput = false;
  for (const std::string& name : outputs) {
    // A port that cannot be opened keeps its place, so indices stay aligned.
    mOutputs.push_back(OpenPort<RtMidiOut>(mBackend, name));
    anyOutput = anyOutput || mOutputs.back() != nullptr;
  }
  mListener = std::move(listener);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    auto input = std::make_unique<Input>(Input{this, static_cast<int>(i), nullptr});
    input->port = OpenPort<RtMidiIn>(mBackend, inputs[i]);
    if (!input->port) continue;
    try {
      input->port->ignoreTypes(/*midiSysex=*/false, /*midiTime=*/true, /*midiSense=*/true);
      input->port->setCallback(
          +[](double, std::vector<unsigned char>* message, void* data) {
            const auto* in = static_cast<const Input*>(data);
            if (message != nullptr) in->probe->mListener(in->index, *message);
          },
          input.get());
    } catch (const RtMidiError&) {
      continue;
    }
    mInputs.push_back(std::move(input));
  }
  return !mInputs.empty() && anyOutput;
}

bool MidiPortProbe::SendTo(std::size_t output, ByteSpan message) {
  if (output >= mOutputs.size() || !mOutputs[output]) return false;
  try {
    mOutputs[output]->sendMessage(message.data(), message.size());
    return true;
  } catch (const RtMidiError&) {
    return false;
  }
}

void MidiPortProbe::Close() {
  for (const auto& input : mInputs) {
    try {
      input->port->cancelCallback();
      input->port->closePort();
    } catch (const RtMidiError&) {
      // A search's port that fails to close has no one to tell.
    }
  }
  mInputs.clear();
  for (const auto& output : mOutputs) {
    if (!output) continue;
    try {
      output->closePort();
    } catch (const RtMidiError&) {
      // As above: nothing to tell.
    }
  }
  mOutputs.clear();
}

}  // namespace kr7
