// Preset dumps, selection, live edits by device parameter number, the save
// through parameter number 18, and PresetStore.

#include <gmock/gmock.h>

#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

using ::testing::ElementsAreArray;

constexpr std::size_t kDumpSize = 267;

Bytes SlotMessage(std::uint8_t command, std::uint8_t slot) {
  return {0xF0,    0x00, 0x51, 0x21, 0x03,  // editor header
          command,                          // PresetRequest 0x40 / PresetSelect 0x23
          0x0C,                             // format byte
          slot,                             // slot
          0xF7};
}

Bytes ParameterSetBytes(std::uint8_t number, std::uint8_t value) {
  return {0xF0,   0x00, 0x51, 0x21, 0x03,  // editor header
          0x50,                            // ParameterSet
          0x0C,                            // format byte
          number,                          // device parameter number
          value,                           // value
          0xF7};
}

PedalState StateWithHandPayloadIn(int slot) {
  PedalState state = MakeFactoryState();
  state.presets[static_cast<std::size_t>(slot)] = HandPayload();
  state.editBuffer = state.presets[static_cast<std::size_t>(state.activeSlot)];
  return state;
}

TEST(PedalPresets, PresetRequestIsAnsweredWithTheSlotsDump) {
  PedalHarness harness(StateWithHandPayloadIn(5));
  const Bytes reply = harness.OnlyReply(SlotMessage(0x40, 5));
  ASSERT_EQ(reply.size(), kDumpSize);
  EXPECT_EQ(Slice(reply, 0, 14), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                                        0x41,                          // PresetDump
                                        0x0C,                          // format byte
                                        0x05,                          // slot 5
                                        0x01, 0x00,                    // payload marker
                                        'A', 'B', ' ', ' '}));         // name
  EXPECT_EQ(Slice(reply, 264, 3), (Bytes{kHandChecksumHigh, kHandChecksumLow, 0xF7}));
}

TEST(PedalPresets, PresetRequestDoesNotChangeTheActiveSlot) {
  PedalHarness harness;
  harness.OnlyReply(SlotMessage(0x40, 9));
  EXPECT_EQ(harness.pedal.ActiveSlot(), 0);
}

TEST(PedalPresets, PresetRequestSendsTheStoredPresetNotTheEditBuffer) {
  PedalHarness harness(StateWithHandPayloadIn(0));
  harness.Exchange(ParameterSetBytes(0, 99));  // Level, in the edit buffer only
  const Bytes reply = harness.OnlyReply(SlotMessage(0x40, 0));
  ASSERT_EQ(reply.size(), kDumpSize);
  EXPECT_EQ(reply[8 + 34 + kParamLevel], 0);
  EXPECT_EQ(Slice(reply, 264, 2), (Bytes{kHandChecksumHigh, kHandChecksumLow}));
}

TEST(PedalPresets, PresetSelectMakesTheSlotActiveAndDumpsIt) {
  PedalHarness harness(StateWithHandPayloadIn(7));
  const Bytes reply = harness.OnlyReply(SlotMessage(0x23, 7));
  ASSERT_EQ(reply.size(), kDumpSize);
  EXPECT_EQ(reply[5], 0x41);  // PresetDump
  EXPECT_EQ(reply[7], 7);     // of slot 7
  EXPECT_EQ(Slice(reply, 264, 2), (Bytes{kHandChecksumHigh, kHandChecksumLow}));
  EXPECT_EQ(harness.pedal.ActiveSlot(), 7);
  EXPECT_EQ(harness.pedal.Snapshot().editBuffer, HandPayload());
}

TEST(PedalPresets, ParameterSetWritesTheEditBufferByDeviceNumber) {
  PedalHarness harness;
  // Numbers 0..15 are indices 0..15, 20..67 are indices 16..63, 16 is 64.
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(0, 11)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(15, 12)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(20, 13)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(67, 14)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(16, 15)).empty());
  const PresetPayload edit = harness.pedal.Snapshot().editBuffer;
  EXPECT_EQ(PayloadValue(edit, kParamLevel), 11);
  EXPECT_EQ(PayloadValue(edit, kParamAnalogSim), 12);
  EXPECT_EQ(PayloadValue(edit, kParamReverbRoomSize), 13);
  EXPECT_EQ(PayloadValue(edit, kParamAfRelease), 14);
  EXPECT_EQ(PayloadValue(edit, kParamPresetLevel), 15);
  // The stored preset is untouched until it is saved.
  EXPECT_EQ(PayloadValue(harness.pedal.Snapshot().presets[0], kParamLevel),
            PayloadValue(DeterministicPreset(0), kParamLevel));
}

TEST(PedalPresets, ParameterSetKeepsValuesInsideTheParameterRange) {
  PedalHarness harness;
  harness.Exchange(ParameterSetBytes(23, 0));    // "Reverb Extension Factor" is 2..5
  harness.Exchange(ParameterSetBytes(61, 100));  // "Reverb Mode" is 0..4
  const PresetPayload edit = harness.pedal.Snapshot().editBuffer;
  EXPECT_EQ(PayloadValue(edit, kParamReverbExtensionFactor), 2);
  EXPECT_EQ(PayloadValue(edit, kParamReverbMode), 4);
}

TEST(PedalPresets, NumbersThatAddressNoParameterChangeNothing) {
  PedalHarness harness;
  const PresetPayload before = harness.pedal.Snapshot().editBuffer;
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(17, 5)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(19, 5)).empty());
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(68, 5)).empty());
  EXPECT_EQ(harness.pedal.Snapshot().editBuffer, before);
  EXPECT_EQ(harness.pedal.IgnoredCount(), 3);
}

TEST(PedalPresets, UserIrHighHalfIsConfirmedWithIrSelectAck) {
  PedalHarness harness;
  // Device number 57 is "User IR7 Preset MSB" (53), 59 "User IR8 Preset MSB" (55).
  EXPECT_EQ(harness.OnlyReply(ParameterSetBytes(57, 2)), ShortReplyBytes(0x5F));
  EXPECT_TRUE(harness.Exchange(ParameterSetBytes(58, 3)).empty());  // low half: no reply
  EXPECT_EQ(harness.OnlyReply(ParameterSetBytes(59, 1)), ShortReplyBytes(0x5F));
  const PresetPayload edit = harness.pedal.Snapshot().editBuffer;
  EXPECT_EQ(PayloadValue(edit, kParamUserIrAMsb), 2);
  EXPECT_EQ(PayloadValue(edit, kParamUserIrA), 3);
  EXPECT_EQ(PayloadValue(edit, kParamUserIrBMsb), 1);
}

TEST(PedalPresets, ParameterNumber18StoresTheEditBufferAndDumpsTheSlot) {
  PedalHarness harness(StateWithHandPayloadIn(0));
  harness.Exchange(ParameterSetBytes(0, 1));  // Level 1: payload sum 1092 + 1 = 1093
  const Bytes reply = harness.OnlyReply(ParameterSetBytes(18, 42));
  ASSERT_EQ(reply.size(), kDumpSize);
  EXPECT_EQ(Slice(reply, 5, 3), (Bytes{0x41,   // PresetDump
                                       0x0C,   // format byte
                                       42}));  // of the target slot
  EXPECT_EQ(reply[8 + 34 + kParamLevel], 1);
  EXPECT_EQ(Slice(reply, 264, 3), (Bytes{0x08, 0x45, 0xF7}));  // 1093 = 8 × 128 + 69
  const PedalState state = harness.pedal.Snapshot();
  EXPECT_EQ(state.activeSlot, 42);
  EXPECT_THAT(state.presets[42], ElementsAreArray(Slice(reply, 8, 256)));
}

TEST(PedalPresets, PresetStoreWritesTheSlotAndAnswersNothing) {
  PedalHarness harness;
  const Bytes store = build::PresetStore(9, HandPayload());
  EXPECT_TRUE(harness.Exchange(store).empty());
  EXPECT_EQ(harness.pedal.Snapshot().presets[9], HandPayload());
  const Bytes reply = harness.OnlyReply(SlotMessage(0x40, 9));
  EXPECT_EQ(Slice(reply, 264, 2), (Bytes{kHandChecksumHigh, kHandChecksumLow}));
}

TEST(PedalPresets, PresetStoreOfTheActiveSlotReloadsTheEditBuffer) {
  PedalHarness harness;
  harness.Exchange(build::PresetStore(0, HandPayload()));
  EXPECT_EQ(harness.pedal.Snapshot().editBuffer, HandPayload());
}

TEST(PedalPresets, PresetStoreWithWrongChecksumIsRefused) {
  PedalHarness harness;
  Bytes store = build::PresetStore(9, HandPayload());
  store[264] ^= 0x01;
  EXPECT_EQ(harness.OnlyReply(store), ShortReplyBytes(0x62));  // ErrorAck
  EXPECT_EQ(harness.pedal.Snapshot().presets[9], DeterministicPreset(9));
}

TEST(PedalPresets, EditorClosedAndBulkMarkersAreNotAnswered) {
  PedalHarness harness;
  EXPECT_TRUE(harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x5A, 0x0C, 0xF7}).empty());
  EXPECT_TRUE(harness.pedal.InBulk());  // BulkBegin
  EXPECT_TRUE(harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x5B, 0x0C, 0xF7}).empty());
  EXPECT_FALSE(harness.pedal.InBulk());  // BulkEnd
  EXPECT_TRUE(harness.Exchange({0xF0, 0x00, 0x51, 0x21, 0x03, 0x5F, 0x0C, 0xF7}).empty());
}

TEST(PedalPresets, FactoryResetRestoresTheScopeThenAnswersDoneAck) {
  PedalHarness harness;
  harness.Exchange(build::PresetStore(3, HandPayload()));
  std::array<std::uint8_t, 256> contents{};
  contents[1] = 1;  // "DEFINE MIDI MAPPING"
  harness.Exchange(build::GlobalBlock(0, contents));

  // Scope 2: settings only.
  EXPECT_EQ(harness.OnlyReply(SlotMessage(0x56, 2)), ShortReplyBytes(0x57));  // DoneAck
  EXPECT_EQ(harness.pedal.Snapshot().globals[0], 0);
  EXPECT_EQ(harness.pedal.Snapshot().presets[3], HandPayload());
  // Scope 1: presets from the factory bank.
  EXPECT_EQ(harness.OnlyReply(SlotMessage(0x56, 1)), ShortReplyBytes(0x57));
  EXPECT_EQ(harness.pedal.Snapshot().presets[3], DeterministicPreset(3));
}

TEST(PedalPresets, FactoryResetAllReturnsToSlotZero) {
  PedalHarness harness;
  harness.OnlyReply(SlotMessage(0x23, 12));
  harness.Exchange(build::PresetStore(12, HandPayload()));
  EXPECT_EQ(harness.OnlyReply(SlotMessage(0x56, 0)), ShortReplyBytes(0x57));
  const PedalState state = harness.pedal.Snapshot();
  EXPECT_EQ(state.activeSlot, 0);
  EXPECT_EQ(state.presets[12], DeterministicPreset(12));
  EXPECT_EQ(state.editBuffer, DeterministicPreset(0));
}

TEST(PedalPresets, FactoryResetOfAnUnknownScopeIsAnError) {
  PedalHarness harness;
  EXPECT_EQ(harness.OnlyReply(SlotMessage(0x56, 3)), ShortReplyBytes(0x62));
}

TEST(PedalPresets, DeterministicBankStaysInsideEveryParametersRange) {
  for (int slot = 0; slot < kNumSlots; ++slot) {
    const PresetPayload payload = DeterministicPreset(slot);
    EXPECT_EQ(payload[0], 0x01);
    EXPECT_EQ(payload[1], 0x00);
    for (int index = 0; index <= kLastPresetParam; ++index) {
      const int value = PayloadValue(payload, index);
      EXPECT_EQ(ClampToParameterRange(index, value), value)
          << "slot " << slot << " index " << index;
    }
  }
}

}  // namespace
}  // namespace kr7::pedal::test
