// Fault injection and the pedal's own actions.

#include <gmock/gmock.h>

#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

using ::testing::ElementsAre;

TEST(PedalFaults, DroppedRepliesAreNotSentButTheNextOneIs) {
  PedalHarness harness;
  harness.pedal.DropNextReplies(2);
  EXPECT_TRUE(harness.Exchange(build::GlobalRequest(15)).empty());
  EXPECT_TRUE(harness.Exchange(build::PresetRequest(3)).empty());
  EXPECT_EQ(harness.OnlyReply(build::PresetRequest(3)).size(), 267u);
  EXPECT_EQ(harness.pedal.PendingFaults().drops, 0);
}

TEST(PedalFaults, DroppedRepliesStillChangeTheState) {
  PedalHarness harness;
  harness.pedal.DropNextReplies(1);
  EXPECT_TRUE(harness.Exchange(build::PresetSelect(6)).empty());
  EXPECT_EQ(harness.pedal.ActiveSlot(), 6);
}

TEST(PedalFaults, DroppedRepliesAreTraced) {
  PedalHarness harness;
  std::vector<TraceDirection> seen;
  harness.pedal.SetTraceSink(
      [&seen](TraceDirection direction, ByteSpan) { seen.push_back(direction); });
  harness.pedal.DropNextReplies(1);
  harness.Exchange(build::GlobalRequest(15));
  EXPECT_THAT(seen, ElementsAre(TraceDirection::FromEditor, TraceDirection::DroppedByFault));
}

TEST(PedalFaults, CorruptedChecksumHitsTheNextBlockOnly) {
  PedalHarness harness;
  harness.pedal.CorruptNextChecksum();
  // A short reply carries no checksum and passes unharmed.
  EXPECT_EQ(harness.OnlyReply(build::ParameterSet(57, 1)), ShortReplyBytes(0x5F));
  const Bytes bad = harness.OnlyReply(build::PresetRequest(1));
  ASSERT_EQ(bad.size(), 267u);
  EXPECT_NE(std::make_pair(bad[264], bad[265]), ExpectedBlockChecksum(bad));
  EXPECT_LE(bad[265], 0x7F);  // still a data byte
  const Bytes good = harness.OnlyReply(build::PresetRequest(1));
  EXPECT_EQ(std::make_pair(good[264], good[265]), ExpectedBlockChecksum(good));
}

TEST(PedalFaults, CorruptedChecksumHitsAnIrDumpEnd) {
  PedalHarness harness;
  const std::vector<Bytes> right = harness.Exchange(build::IrRequest(256));
  harness.pedal.CorruptNextChecksum();
  const std::vector<Bytes> wrong = harness.Exchange(build::IrRequest(256));
  ASSERT_EQ(right.size(), wrong.size());
  for (std::size_t i = 0; i + 1 < right.size(); ++i) EXPECT_EQ(right[i], wrong[i]);
  const Bytes& a = right.back();
  const Bytes& b = wrong.back();
  EXPECT_EQ(a[a.size() - 3], b[b.size() - 3]);
  EXPECT_NE(a[a.size() - 2], b[b.size() - 2]);
}

TEST(PedalFaults, FailedWritesAreRefusedThenTakenAgain) {
  PedalHarness harness;
  harness.pedal.FailNextWrites(2);
  const Bytes write = build::FactoryPresetWrite(0, HandPayload());
  EXPECT_EQ(harness.OnlyReply(write), ShortReplyBytes(0x7E));  // WriteFailAck
  EXPECT_EQ(harness.OnlyReply(write), ShortReplyBytes(0x7E));
  EXPECT_EQ(harness.pedal.Snapshot().factoryBank[0], DeterministicPreset(0));
  EXPECT_EQ(harness.OnlyReply(write), ShortReplyBytes(0x7D));  // WriteOkAck
  EXPECT_EQ(harness.pedal.Snapshot().factoryBank[0], HandPayload());
}

TEST(PedalFaults, HostileKindsAllHaveNamesAndMessages) {
  PedalHarness harness;
  for (const HostileInfo& info : HostileKinds()) {
    EXPECT_EQ(HostileKindByName(info.name), info.kind);
    harness.pedal.SendHostile(info.kind);
    EXPECT_FALSE(harness.Take().empty()) << info.name;
  }
  EXPECT_FALSE(HostileKindByName("no-such-kind").has_value());
}

TEST(PedalFaults, HostileMessagesAreWhatTheyClaim) {
  const PedalState state = MakeFactoryState();
  const Bytes truncated = BuildHostile(HostileKind::TruncatedDump, state).front();
  EXPECT_EQ(truncated.size(), 100u);
  EXPECT_EQ(truncated.back(), 0xF7);
  EXPECT_EQ(BuildHostile(HostileKind::OversizedSysEx, state).front().size(), 600u);
  const Bytes foreign = BuildHostile(HostileKind::ForeignNameReport, state).front();
  EXPECT_EQ(foreign.size(), 42u);
  EXPECT_NE(foreign[5], 0x7B);
  const std::vector<Bytes> overlong = BuildHostile(HostileKind::OverlongIrDump, state);
  ASSERT_FALSE(overlong.empty());
  EXPECT_EQ(Read21(ByteSpan(overlong.front()).subspan(9, 3)), 6000u);
  EXPECT_EQ(BuildHostile(HostileKind::AncientIdentity, state).front()[6], 5);
  EXPECT_NE(BuildHostile(HostileKind::MissingEnd, state).front().back(), 0xF7);
  const Bytes highBit = BuildHostile(HostileKind::HighBitData, state).front();
  EXPECT_EQ(highBit[10], 0xFF);
}

TEST(PedalActions, TurningAKnobSendsParameterReport) {
  PedalHarness harness;
  ASSERT_TRUE(harness.pedal.TurnKnob(kParamGain, 100));
  EXPECT_THAT(harness.Take(), ElementsAre(Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                                                0x51,                          // ParameterReport
                                                0x0C,                          // format byte
                                                0x01,                          // index 1, "Gain"
                                                0x64,                          // value 100
                                                0xF7}));
  EXPECT_EQ(PayloadValue(harness.pedal.Snapshot().editBuffer, kParamGain), 100);
}

TEST(PedalActions, KnobValuesStayInRangeAndSettingsAreReachable) {
  PedalHarness harness;
  ASSERT_TRUE(harness.pedal.TurnKnob(kParamTuner, 9));
  EXPECT_EQ(harness.Take().front()[8], 2);  // "Tuner" is 0..2
  ASSERT_TRUE(harness.pedal.TurnKnob(kParamMidiCcChannel, 3));
  EXPECT_EQ(harness.pedal.Snapshot().globals[kParamMidiCcChannel - 80], 3);
  ASSERT_TRUE(harness.pedal.TurnKnob(kParamControllerMap0 + 15, 2));
  EXPECT_EQ(harness.pedal.Snapshot().controllerMap[15], 2);
  harness.Take();
  EXPECT_FALSE(harness.pedal.TurnKnob(70, 1));   // editor-only
  EXPECT_FALSE(harness.pedal.TurnKnob(107, 1));  // never at the pedal
  EXPECT_FALSE(harness.pedal.TurnKnob(-1, 1));
  EXPECT_TRUE(harness.Take().empty());
}

TEST(PedalActions, SteppingToAPresetDumpsTheNewActiveSlot) {
  PedalState state = MakeFactoryState();
  state.presets[127] = HandPayload();
  PedalHarness harness(std::move(state));
  harness.pedal.StepBy(-1);  // from 0 around to 127
  const std::vector<Bytes> replies = harness.Take();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(Slice(replies[0], 5, 3), (Bytes{0x41, 0x0C, 127}));  // PresetDump of 127
  EXPECT_EQ(Slice(replies[0], 264, 2), (Bytes{kHandChecksumHigh, kHandChecksumLow}));
  EXPECT_EQ(harness.pedal.ActiveSlot(), 127);
  harness.pedal.StepBy(1);
  EXPECT_EQ(harness.pedal.ActiveSlot(), 0);
  EXPECT_FALSE(harness.pedal.StepToPreset(128));
}

TEST(PedalActions, StepDiscardsUnsavedEdits) {
  PedalHarness harness;
  harness.pedal.TurnKnob(kParamLevel, 3);
  harness.pedal.StepToPreset(1);
  harness.pedal.StepToPreset(0);
  EXPECT_EQ(harness.pedal.Snapshot().editBuffer, DeterministicPreset(0));
}

TEST(PedalReceive, UnreadableMessagesAreIgnored) {
  PedalHarness harness;
  const std::vector<Bytes> hostile = {
      {},                                                      // nothing
      {0xF0, 0xF7},                                            // empty SysEx
      {0xF0, 0x00, 0x51, 0x21, 0x03, 0x40},                    // cut before the slot
      {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},                    // someone else's identity request
      {0xF0, 0x00, 0x51, 0x21, 0x03, 0x40, 0x0B, 0x01, 0xF7},  // wrong format byte
      Bytes(600, 0x40),                                        // not even SysEx
  };
  for (const Bytes& message : hostile) {
    EXPECT_TRUE(harness.Exchange(message).empty());
  }
  EXPECT_EQ(harness.pedal.IgnoredCount(), static_cast<int>(hostile.size()));
}

TEST(PedalReceive, SlotBytesAboveTheDataRangeNeverIndexTheSlots) {
  PedalHarness harness;
  const PedalState before = harness.pedal.Snapshot();
  // PresetRequest and PresetSelect of "slot" 0x80: not answered.
  EXPECT_TRUE(harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x40, 0x0C, 0x80, 0xF7}).empty());
  EXPECT_TRUE(harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x23, 0x0C, 0xFF, 0xF7}).empty());
  // ParameterSet 18 (store) into "slot" 0x90: not stored, not answered.
  EXPECT_TRUE(
      harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x50, 0x0C, 0x12, 0x90, 0xF7}).empty());
  // PresetStore and FactoryPresetWrite to slot 0x80: refused.
  Bytes store = build::PresetStore(0, HandPayload());
  store[7] = 0x80;
  EXPECT_EQ(harness.OnlyReply(store), ShortReplyBytes(0x62));  // ErrorAck
  Bytes write = build::FactoryPresetWrite(0, HandPayload());
  write[7] = 0x80;
  EXPECT_EQ(harness.OnlyReply(write), ShortReplyBytes(0x7E));  // WriteFailAck
  const PedalState after = harness.pedal.Snapshot();
  EXPECT_EQ(after.presets, before.presets);
  EXPECT_EQ(after.factoryBank, before.factoryBank);
  EXPECT_EQ(after.activeSlot, before.activeSlot);
}

TEST(PedalReceive, BlockBytesAboveTheDataRangeAreKeptAsDataBytes) {
  PedalHarness harness;
  std::array<std::uint8_t, 256> contents{};
  contents[1] = 0x81;  // byte 9
  Bytes block = build::GlobalBlock(0, contents);
  block[9] = 0x81;  // the builder masks; a hostile sender does not
  WriteBlockChecksum(block);
  harness.Exchange(block);
  const Bytes reply = harness.OnlyReply(build::GlobalRequest(0));
  ASSERT_EQ(reply.size(), 267u);
  for (std::size_t i = 1; i + 1 < reply.size(); ++i) EXPECT_LE(reply[i], 0x7F) << i;
}

TEST(PedalReceive, ReplySinkMayCallBackIntoThePedal) {
  // An editor that sends its next request from its receive handler, as the
  // fetch does: one PresetRequest per PresetDump.
  VirtualPedal pedal(MakeFactoryState());
  int dumps = 0;
  pedal.SetReplySink([&](ByteSpan reply) {
    if (reply.size() == 267 && reply[5] == 0x41 && ++dumps < 128) {
      pedal.Receive(build::PresetRequest(static_cast<std::uint8_t>(dumps)));
    }
  });
  pedal.Receive(build::PresetRequest(0));
  EXPECT_EQ(dumps, 128);
}

TEST(PedalReceive, StateChangesReachTheHook) {
  VirtualPedal pedal(MakeFactoryState());
  unsigned changes = 0;
  pedal.SetStateChangedHook([&](const PedalState&, unsigned c) { changes |= c; });
  pedal.Receive(build::PresetStore(3, HandPayload()));
  EXPECT_EQ(changes, unsigned{kChangePresets});
  changes = 0;
  pedal.Receive(build::PresetRequest(3));
  EXPECT_EQ(changes, 0u);
}

}  // namespace
}  // namespace kr7::pedal::test
