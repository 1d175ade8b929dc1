// The threads of the message road at once: the MIDI input thread pushes as
// fast as it can, the audio thread steps, the UI thread drains; in the second
// run the input callback and the pump timer step too, taking turns through
// the pump's token. Run under ThreadSanitizer this proves the pump's
// hand-overs race-free.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <mutex>
#include <numeric>
#include <optional>
#include <vector>

#include "device/MessagePump.h"
#include "device/PumpTimer.h"

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

class MessagePumpThreadTest : public testing::TestWithParam<bool> {};

// Overflow is allowed; what arrives must be whole.
TEST_P(MessagePumpThreadTest, ThreadsRunTogether) {
  MessagePump pump;
  CountingReceiver receiver;
  pump.SetSysExReceiver(&receiver);
  pump.SetReceiveOnInput(GetParam());
  std::optional<PumpTimer> timer;
  if (GetParam()) timer.emplace(pump);
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
  timer.reset();
  drainUi();

  EXPECT_GT(forwardedSysEx, 0);
  EXPECT_GT(receiver.Received(), 0);
  EXPECT_LE(receiver.Received(), kMessages);
}

INSTANTIATE_TEST_SUITE_P(Drivers, MessagePumpThreadTest, testing::Bool());

// No audio stream: the timer alone hands every message over, in order.
TEST(PumpTimerTest, PumpsWithoutAudio) {
  struct Recorder : SysExReceiver {
    void OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> message) override {
      const std::lock_guard lock(mutex);
      firstBytes.push_back(message[0]);
    }
    std::size_t Count() {
      const std::lock_guard lock(mutex);
      return firstBytes.size();
    }
    std::mutex mutex;
    std::vector<std::uint8_t> firstBytes;
  } recorder;
  MessagePump pump;
  pump.SetSysExReceiver(&recorder);
  PumpTimer timer(pump);
  constexpr std::uint8_t kMessages = 12;  // three times the SysEx ring
  for (std::uint8_t i = 0; i < kMessages; ++i) {
    pump.OnMidiInput(std::vector<std::uint8_t>(8, i));
    // Waits for the timer; the bound only keeps a broken timer from hanging.
    for (int wait = 0; recorder.Count() <= i && wait < 10000; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::vector<std::uint8_t> expected(kMessages);
  std::iota(expected.begin(), expected.end(), std::uint8_t{0});
  const std::lock_guard lock(recorder.mutex);
  EXPECT_EQ(recorder.firstBytes, expected);
}

}  // namespace
}  // namespace kr7
