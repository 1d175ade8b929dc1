// The stdin control interface: parsing on its own, then running against a pedal.

#include <gmock/gmock.h>

#include "pedal/ControlCommands.h"
#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

template <class T>
const T* As(const ParsedCommand& parsed) {
  return parsed.command ? std::get_if<T>(&*parsed.command) : nullptr;
}

TEST(PedalCommandParser, ReadsEveryCommand) {
  const ParsedCommand knob = ParseCommand("knob 5 100");
  ASSERT_NE(As<command::Knob>(knob), nullptr);
  EXPECT_EQ(As<command::Knob>(knob)->index, 5);
  EXPECT_EQ(As<command::Knob>(knob)->value, 100);
  EXPECT_EQ(As<command::Preset>(ParseCommand("  preset\t12 "))->slot, 12);
  EXPECT_EQ(As<command::Step>(ParseCommand("next"))->delta, 1);
  EXPECT_EQ(As<command::Step>(ParseCommand("prev"))->delta, -1);
  EXPECT_EQ(As<command::Drop>(ParseCommand("drop 3"))->count, 3);
  EXPECT_NE(As<command::Corrupt>(ParseCommand("corrupt")), nullptr);
  EXPECT_EQ(As<command::FailWrites>(ParseCommand("failwrites 2"))->count, 2);
  EXPECT_EQ(As<command::Version>(ParseCommand("version 9"))->value, 9);
  EXPECT_EQ(As<command::Hostile>(ParseCommand("hostile oversized"))->kind,
            HostileKind::OversizedSysEx);
  EXPECT_FALSE(As<command::Hostile>(ParseCommand("hostile all"))->kind.has_value());
  EXPECT_NE(As<command::HostileList>(ParseCommand("hostile list")), nullptr);
  EXPECT_NE(As<command::Status>(ParseCommand("status")), nullptr);
  EXPECT_TRUE(As<command::Trace>(ParseCommand("trace on"))->on);
  EXPECT_FALSE(As<command::Trace>(ParseCommand("trace off"))->on);
  EXPECT_NE(As<command::Save>(ParseCommand("save")), nullptr);
  EXPECT_NE(As<command::Help>(ParseCommand("help")), nullptr);
  EXPECT_NE(As<command::Quit>(ParseCommand("quit")), nullptr);
  EXPECT_NE(As<command::Empty>(ParseCommand("")), nullptr);
  EXPECT_NE(As<command::Empty>(ParseCommand("   # a comment")), nullptr);
}

TEST(PedalCommandParser, RefusesMalformedLines) {
  for (const char* line :
       {"knob", "knob 5", "knob 5 128", "knob 139 1", "knob -1 1", "knob 5 1 2", "knob x 1",
        "preset 128", "preset", "preset 1x", "drop -1", "version 128", "hostile", "hostile nope",
        "trace maybe", "corrupt now", "quit please", "frobnicate", "preset 99999999999999999999"}) {
    const ParsedCommand parsed = ParseCommand(line);
    EXPECT_FALSE(parsed.command.has_value()) << line;
    EXPECT_FALSE(parsed.error.empty()) << line;
  }
}

TEST(PedalControlSession, CommandsActOnThePedal) {
  PedalHarness harness;
  ControlSession session(harness.pedal);
  EXPECT_EQ(session.Run("knob 0 99"), "");
  EXPECT_EQ(harness.Take().size(), 1u);  // ParameterReport
  EXPECT_EQ(session.Run("preset 4"), "");
  EXPECT_EQ(harness.pedal.ActiveSlot(), 4);
  session.Run("next");
  EXPECT_EQ(harness.pedal.ActiveSlot(), 5);
  session.Run("drop 2");
  session.Run("corrupt");
  session.Run("failwrites 3");
  const FaultCounts faults = harness.pedal.PendingFaults();
  EXPECT_EQ(faults.drops, 2);
  EXPECT_TRUE(faults.corruptChecksum);
  EXPECT_EQ(faults.writeFailures, 3);
  session.Run("version 20");
  EXPECT_EQ(harness.pedal.Snapshot().version, 20);
  harness.Take();
  session.Run("hostile empty");
  EXPECT_EQ(harness.Take(), (std::vector<Bytes>{{0xF0, 0xF7}}));
  EXPECT_NE(session.Run("status").find("active slot 5"), std::string::npos);
  EXPECT_FALSE(session.QuitRequested());
  session.Run("quit");
  EXPECT_TRUE(session.QuitRequested());
}

TEST(PedalControlSession, ErrorsAreReportedNotActedOn) {
  PedalHarness harness;
  ControlSession session(harness.pedal);
  EXPECT_EQ(session.Run("preset 200").rfind("error:", 0), 0u);
  EXPECT_EQ(session.Run("knob 70 1").rfind("error:", 0), 0u);  // not a pedal control
  EXPECT_EQ(session.Run("save").rfind("error:", 0), 0u);       // no state folder
  EXPECT_EQ(session.Run("trace on").rfind("error:", 0), 0u);   // no monitor
  EXPECT_TRUE(harness.Take().empty());
  EXPECT_EQ(harness.pedal.ActiveSlot(), 0);
}

TEST(PedalControlSession, TraceAndSaveUseTheProgramsHooks) {
  PedalHarness harness;
  ControlSession session(harness.pedal);
  bool tracing = false;
  int saves = 0;
  session.SetTraceHook([&tracing](bool on) { tracing = on; });
  session.SetSaveHook([&saves] { return ++saves > 0; });
  session.Run("trace on");
  EXPECT_TRUE(tracing);
  EXPECT_EQ(session.Run("save"), "saved");
  EXPECT_EQ(saves, 1);
}

TEST(PedalControlSession, HostileAllSendsEveryKind) {
  PedalHarness harness;
  ControlSession session(harness.pedal);
  session.Run("hostile all");
  EXPECT_GE(harness.Take().size(), HostileKinds().size());
}

}  // namespace
}  // namespace kr7::pedal::test
