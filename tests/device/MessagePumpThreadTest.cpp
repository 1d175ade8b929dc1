// The three threads of the message road at once: the MIDI input thread
// pushes as fast as it can, the audio thread steps, the UI thread drains. Run
// under ThreadSanitizer this proves the pump's hand-overs race-free.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "device/MessagePump.h"

namespace kr7 {
namespace {

class CountingReceiver : public SysExReceiver {
 public:
  void OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> message) override {
    // The first byte counts the messages; every other byte repeats it.
    for (std::uint8_t byte : message) {
      EXPECT_EQ(byte, message[0]);
    }
    mReceived.fetch_add(1, std::memory_order_relaxed);
  }
  int Received() const { return mReceived.load(std::memory_order_relaxed); }

 private:
  std::atomic<int> mReceived{0};
};

// Overflow is allowed; what arrives must be whole.
TEST(MessagePumpThreadTest, ThreeThreadsRunTogether) {
  MessagePump pump;
  CountingReceiver receiver;
  pump.SetSysExReceiver(&receiver);
  constexpr int kMessages = 5000;
  constexpr std::size_t kMessageSize = 100;
  std::atomic<bool> inputDone{false};
  std::atomic<bool> audioDone{false};

  std::thread input([&] {
    std::vector<std::uint8_t> message(kMessageSize);
    for (int i = 0; i < kMessages; ++i) {
      std::fill(message.begin(), message.end(), static_cast<std::uint8_t>(i));
      pump.OnMidiInput(message);
      const std::uint8_t noteOn[] = {0x90, 0x40, 0x7F};  // status, key, velocity
      pump.OnMidiInput(noteOn);
    }
    inputDone.store(true);
  });
  std::thread audio([&] {
    while (!inputDone.load()) {
      pump.RunAudioStep();
    }
    pump.RunAudioStep();
    audioDone.store(true);
  });

  int forwardedSysEx = 0;
  auto drainUi = [&] {
    pump.DrainProcessorMessages(
        [](const ShortMessage& message) {
          EXPECT_EQ(message.status, 0x90);
          EXPECT_EQ(message.data1, 0x40);
          EXPECT_EQ(message.data2, 0x7F);
        },
        [&forwardedSysEx](const SysExItem& item) {
          EXPECT_EQ(item.size, static_cast<int>(kMessageSize));
          ++forwardedSysEx;
        });
  };
  while (!audioDone.load()) {
    drainUi();
    std::this_thread::yield();
  }
  input.join();
  audio.join();
  drainUi();

  EXPECT_GT(forwardedSysEx, 0);
  EXPECT_GT(receiver.Received(), 0);
  EXPECT_LE(receiver.Received(), kMessages);
}

}  // namespace
}  // namespace kr7
