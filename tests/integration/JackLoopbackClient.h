#pragma once
// A stand-in for the pedal on a JACK server: a client with one MIDI input and
// one MIDI output port that records what arrives and sends what it is given,
// so a test can see both directions of the port layer.

#include <jack/jack.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/MessageInbox.h"

namespace kr7::jacktest {

using Bytes = std::vector<std::uint8_t>;

class JackLoopbackClient {
 public:
  JackLoopbackClient() = default;
  ~JackLoopbackClient();
  JackLoopbackClient(const JackLoopbackClient&) = delete;
  JackLoopbackClient& operator=(const JackLoopbackClient&) = delete;

  // Opens the client on the current default server and activates it.
  bool Open(const std::string& clientName);
  void Close();

  // Full JACK names ("client:port") of the two ports.
  std::string InputPortName() const;
  std::string OutputPortName() const;

  // Sends one message in the first process cycle in which the output port
  // is connected.
  void Send(const Bytes& message);
  // The next message that arrived, or nothing after `timeout`.
  std::optional<Bytes> WaitForMessage(std::chrono::milliseconds timeout) {
    return mReceived.Pop(timeout);
  }

 private:
  static int Process(jack_nframes_t nFrames, void* userData);
  void OnProcess(jack_nframes_t nFrames);

  jack_client_t* mClient = nullptr;
  jack_port_t* mInput = nullptr;
  jack_port_t* mOutput = nullptr;
  std::mutex mMutex;
  std::deque<Bytes> mToSend;  // guarded by mMutex
  test::MessageInbox mReceived;
};

}  // namespace kr7::jacktest
