#include "tests/integration/JackLoopbackClient.h"

#include <jack/midiport.h>

namespace kr7::jacktest {

JackLoopbackClient::~JackLoopbackClient() { Close(); }

bool JackLoopbackClient::Open(const std::string& clientName) {
  jack_status_t status{};
  mClient = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
  if (mClient == nullptr) {
    return false;
  }
  mInput = jack_port_register(mClient, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  mOutput = jack_port_register(mClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
  if (mInput == nullptr || mOutput == nullptr ||
      jack_set_process_callback(mClient, &JackLoopbackClient::Process, this) != 0 ||
      jack_activate(mClient) != 0) {
    Close();
    return false;
  }
  return true;
}

void JackLoopbackClient::Close() {
  if (mClient != nullptr) {
    jack_deactivate(mClient);
    jack_client_close(mClient);
    mClient = nullptr;
  }
}

std::string JackLoopbackClient::InputPortName() const { return jack_port_name(mInput); }

std::string JackLoopbackClient::OutputPortName() const { return jack_port_name(mOutput); }

void JackLoopbackClient::Send(const Bytes& message) {
  std::lock_guard lock(mMutex);
  mToSend.push_back(message);
}

int JackLoopbackClient::Process(jack_nframes_t nFrames, void* userData) {
  static_cast<JackLoopbackClient*>(userData)->OnProcess(nFrames);
  return 0;
}

// A test double, so a short lock on the process thread is acceptable here.
void JackLoopbackClient::OnProcess(jack_nframes_t nFrames) {
  void* inBuffer = jack_port_get_buffer(mInput, nFrames);
  void* outBuffer = jack_port_get_buffer(mOutput, nFrames);
  jack_midi_clear_buffer(outBuffer);

  const jack_nframes_t count = jack_midi_get_event_count(inBuffer);
  for (jack_nframes_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, inBuffer, i) == 0) {
      mReceived.Push({event.buffer, event.size});
    }
  }
  // A connection made a moment ago takes effect at a later cycle; what is
  // written before then reaches no one, so it waits until someone listens.
  if (jack_port_connected(mOutput) == 0) {
    return;
  }
  std::lock_guard lock(mMutex);
  while (!mToSend.empty()) {
    const Bytes& message = mToSend.front();
    if (jack_midi_event_write(outBuffer, 0, message.data(), message.size()) != 0) {
      break;  // no room left in this cycle: the rest goes in the next one
    }
    mToSend.pop_front();
  }
}

}  // namespace kr7::jacktest
