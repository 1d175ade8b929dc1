// The monitor fed by two sending threads at once (the audio thread and the UI
// thread both send) while a third drains it: nothing is lost without being
// counted, and no thread's times go back.

#include <gtest/gtest.h>

#include <thread>

#include "device/MidiMonitor.h"

namespace kr7 {
namespace {

TEST(MidiMonitorThreads, TwoSendersAndADrainCountEveryMessage) {
  constexpr int kPerThread = 5000;
  MidiMonitor monitor;
  monitor.SetEnabled(true);
  const auto send = [&monitor](MonitorDirection direction) {
    for (int slot = 0; slot < kPerThread; ++slot) {
      monitor.Record(direction, build::PresetRequest(static_cast<std::uint8_t>(slot % 128)), {});
    }
  };
  std::thread audio(send, MonitorDirection::In);
  std::thread ui(send, MonitorDirection::Out);
  std::vector<MonitorEntry> entries;
  const auto drain = [&] {
    for (MonitorEntry& e : monitor.Drain()) entries.push_back(std::move(e));
  };
  while (entries.size() + monitor.Dropped() < 2u * kPerThread) drain();
  audio.join();
  ui.join();
  drain();

  EXPECT_EQ(entries.size() + monitor.Dropped(), 2u * kPerThread);
  int last[2] = {-1, -1};
  for (const MonitorEntry& e : entries) {
    EXPECT_EQ(e.name, "PresetRequest");
    int& previous = last[static_cast<int>(e.direction)];
    EXPECT_GE(e.milliseconds, previous);
    previous = static_cast<int>(e.milliseconds);
  }
}

}  // namespace
}  // namespace kr7
