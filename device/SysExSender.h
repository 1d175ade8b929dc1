#pragma once
// Where outgoing System Exclusive messages go: the real MIDI output port, or
// an in-process peer in tests.

#include <cstdint>
#include <span>

namespace kr7 {

class SysExSender {
 public:
  virtual ~SysExSender() = default;
  // Sends one complete message (F0 ... F7). Returns false when there is no
  // output to send through. Callable from the UI and the audio thread; an
  // implementation serialises the two itself.
  virtual bool SendSysEx(std::span<const std::uint8_t> message) = 0;
};

}  // namespace kr7
