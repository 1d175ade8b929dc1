// The MIDI monitor over a first start against the virtual pedal: what the
// handshake and the fetch look like in it, what a full ring drops, and the
// saved text.

#include "device/MidiMonitor.h"
#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

using Dir = MonitorDirection;

struct Expected {
  Dir direction;
  std::size_t length;
  std::string name;
  std::string fields;
};

void ExpectEntries(const std::vector<MonitorEntry>& got, const std::vector<Expected>& want) {
  ASSERT_GE(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].direction, want[i].direction) << i;
    EXPECT_EQ(got[i].length, want[i].length) << i;
    EXPECT_EQ(got[i].name, want[i].name) << i;
    EXPECT_EQ(got[i].fields, want[i].fields) << i;
  }
}

TEST_F(Conversation, MonitorNamesTheHandshakeAndFetchAndItsTextRoundTrips) {
  MidiMonitor& monitor = editor->Monitor();
  Tick();  // the identity exchange, while the monitor is off
  EXPECT_TRUE(monitor.Drain().empty());

  editor->SessionLogic().Reconnect();
  monitor.SetEnabled(true);
  Tick();
  MonitorLog log;
  log.entries = monitor.Drain();
  ExpectEntries(log.entries,
                {{Dir::Out, 9, "GlobalRequest", "type 15 identity"},
                 {Dir::In, 267, "GlobalBlock",
                  "type 15 identity, version 1.2, serial KR7-VIRTUAL-000001, checksum ok"},
                 {Dir::Out, 9, "GlobalRequest", "type 3 preset checksums"},
                 {Dir::In, 267, "GlobalBlock", "type 3 preset checksums, checksum ok"}});
  EXPECT_EQ(log.entries.size(), 4u);

  // The whole fetch runs within one delivery: more than the ring holds.
  Tick(2);
  const std::vector<MonitorEntry> fetch = monitor.Drain();
  ASSERT_EQ(fetch.size(), kMonitorRingCapacity);
  std::vector<Expected> want{{Dir::Out, 8, "BulkBegin", ""}};
  for (int slot = 0; want.size() < kMonitorRingCapacity; ++slot) {
    want.push_back({Dir::Out, 9, "PresetRequest", "slot " + std::to_string(slot)});
    want.push_back({Dir::In, 267, "PresetDump", "slot " + std::to_string(slot) + ", checksum ok"});
  }
  want.resize(kMonitorRingCapacity);
  ExpectEntries(fetch, want);
  EXPECT_GT(monitor.Dropped(), 0u);

  log.entries.insert(log.entries.end(), fetch.begin(), fetch.end());
  log.dropped = monitor.Dropped();
  const std::string text = FormatMonitorLog(log);
  EXPECT_NE(text.find("\tOUT\t9\tPresetRequest\tslot 127\n"), std::string::npos);
  EXPECT_EQ(ParseMonitorLog(text), log);
  EXPECT_EQ(ParseMonitorLog(text.substr(1)), std::nullopt);
  EXPECT_EQ(ParseMonitorLog(text + "1.5\tIN\t9\tX\t\n"), std::nullopt);
}

}  // namespace
}  // namespace kr7::test
