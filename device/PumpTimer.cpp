#include "device/PumpTimer.h"

#include <cstdint>

#include "device/MessagePump.h"

namespace kr7 {

PumpTimer::PumpTimer(MessagePump& pump)
    : mPump(pump), mThread([this](const std::stop_token& stop) { Run(stop); }) {}

PumpTimer::~PumpTimer() {
  mThread.request_stop();
  mThread.join();
}

void PumpTimer::Run(const std::stop_token& stop) {
  using Clock = std::chrono::steady_clock;
  std::uint64_t blocksSeen = mPump.AudioBlocks();
  Clock::time_point lastAudio = Clock::now() - kAudioSilence;
  while (!stop.stop_requested()) {
    std::this_thread::sleep_for(kPumpInterval);
    const std::uint64_t blocks = mPump.AudioBlocks();
    const Clock::time_point now = Clock::now();
    if (blocks != blocksSeen) {
      blocksSeen = blocks;
      lastAudio = now;
    } else if (now - lastAudio >= kAudioSilence) {
      mPump.RunAudioStep();
    }
  }
}

}  // namespace kr7
