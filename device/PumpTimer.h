#pragma once
// Drives the message pump when no audio stream does: without it, a machine
// whose sound output cannot open (no device, one a DAW holds exclusively, no
// sound server) would show the soundcard message and then never hear the
// pedal. A thread of its own runs the pump's step every kPumpInterval for as
// long as no audio block has arrived for kAudioSilence, and stands aside
// while one keeps arriving; the pump's token keeps the two from ever running
// a step at once.
//
// Threads: constructed and destroyed on the UI thread; the thread starts last
// in the constructor and is joined first in the destructor.

#include <chrono>
#include <thread>

namespace kr7 {

class MessagePump;

inline constexpr std::chrono::milliseconds kPumpInterval{1};
// Longer than the slowest audio period a driver offers (8192 frames at
// 44.1 kHz is 186 ms), so a running stream never has the timer beside it.
inline constexpr std::chrono::milliseconds kAudioSilence{250};

class PumpTimer {
 public:
  explicit PumpTimer(MessagePump& pump);
  ~PumpTimer();
  PumpTimer(const PumpTimer&) = delete;
  PumpTimer& operator=(const PumpTimer&) = delete;

 private:
  void Run(const std::stop_token& stop);

  MessagePump& mPump;
  std::jthread mThread;
};

}  // namespace kr7
