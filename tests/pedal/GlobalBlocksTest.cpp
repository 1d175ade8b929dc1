// Identity, preset checksums, settings, controller map and program map as
// the editor asks for them, and the blocks it sends back.

#include <gmock/gmock.h>

#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

using ::testing::ElementsAreArray;

Bytes GlobalRequestBytes(std::uint8_t type) {
  return {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
          0x55,                          // GlobalRequest
          0x0C,                          // format byte
          type,                          // block type
          0xF7};
}

// A block from the editor with its checksum worked out by the builder.
Bytes EditorBlock(std::uint8_t type, const std::array<std::uint8_t, 256>& contents) {
  return build::GlobalBlock(type, contents);
}

constexpr std::size_t kSerialByte = 232;
constexpr std::size_t kBlockSize = 267;

TEST(PedalGlobalBlocks, IdentityCarriesVersionSerialAndChecksum) {
  PedalState state = MakeFactoryState();
  state.serial = "SN1";
  PedalHarness harness(std::move(state));
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(15));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(Slice(reply, 0, 8), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                                       0x52,                          // GlobalBlock
                                       0x0C,                          // version 1.2, times ten
                                       0x0F}));                       // identity
  // Serial "SN1" and 29 spaces.
  EXPECT_EQ(Slice(reply, kSerialByte, 4), (Bytes{'S', 'N', '1', ' '}));
  EXPECT_EQ(reply[263], ' ');
  // Everything else in the contents is 0, so the sum is 'S' + 'N' + '1' +
  // 29 × 32 = 83 + 78 + 49 + 928 = 1138 = 8 × 128 + 114.
  EXPECT_EQ(reply[264], 0x08);
  EXPECT_EQ(reply[265], 0x72);
  EXPECT_EQ(reply[266], 0xF7);
}

TEST(PedalGlobalBlocks, IdentityReportsAnotherVersionWhenTold) {
  PedalHarness harness;
  harness.pedal.SetVersion(9);
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(15));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(reply[6], 9);  // version 0.9: the editor must ask for an upgrade
  EXPECT_EQ(std::make_pair(reply[264], reply[265]), ExpectedBlockChecksum(reply));
}

TEST(PedalGlobalBlocks, ChecksumBlockHoldsEverySlotsPayloadChecksum) {
  PedalState state = MakeFactoryState();
  state.presets[3] = HandPayload();
  PedalHarness harness(state);
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(3));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(Slice(reply, 5, 3), (Bytes{0x52,     // GlobalBlock
                                       0x0C,     // format byte
                                       0x03}));  // preset checksums
  // Slot 3 at bytes 8 + 2·3 = 14 and 15.
  EXPECT_EQ(reply[14], kHandChecksumHigh);
  EXPECT_EQ(reply[15], kHandChecksumLow);
  for (std::size_t slot = 0; slot < 128; ++slot) {
    const PresetPayload& payload = state.presets[slot];
    const unsigned sum = std::accumulate(payload.begin(), payload.end(), 0u) & 0x3FFF;
    EXPECT_EQ(reply[8 + 2 * slot], sum >> 7) << "slot " << slot;
    EXPECT_EQ(reply[9 + 2 * slot], sum & 0x7F) << "slot " << slot;
  }
  EXPECT_EQ(std::make_pair(reply[264], reply[265]), ExpectedBlockChecksum(reply));
}

TEST(PedalGlobalBlocks, SettingsBlockCarriesActiveSlotSettingsAndClipping) {
  PedalState state = MakeFactoryState();
  state.activeSlot = 5;
  state.editBuffer = state.presets[5];
  for (std::size_t i = 0; i < state.globals.size(); ++i) {
    state.globals[i] = static_cast<std::uint8_t>(i + 1);  // 80 → 1 … 90 → 11
  }
  SetPayloadValue(state.editBuffer, kParamSoftClipping, 40);
  SetPayloadValue(state.editBuffer, kParamAnalogSimGain, 41);
  SetPayloadValue(state.editBuffer, kParamAntiAliasingFilter, 42);
  PedalHarness harness(std::move(state));
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(0));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(Slice(reply, 5, 26),
            (Bytes{0x52, 0x0C, 0x00,                        // GlobalBlock, format, settings
                   5,                                       // 8: active slot
                   1,    2,    3,    4, 5, 6, 7, 8, 9, 10,  // 9..18: parameters 80..89
                   40,   41,   42,                          // 19..21: parameters 33, 34, 35
                   0,    0,                                 // 22, 23: unused
                   11,                                      // 24: parameter 90
                   0,    0,    0,    0, 0, 0}));
  EXPECT_EQ(std::make_pair(reply[264], reply[265]), ExpectedBlockChecksum(reply));
}

TEST(PedalGlobalBlocks, ControllerAndProgramMapsHaveTheirDefaults) {
  PedalHarness harness;
  const Bytes controllers = harness.OnlyReply(GlobalRequestBytes(1));
  ASSERT_EQ(controllers.size(), kBlockSize);
  EXPECT_EQ(controllers[7], 0x01);
  // 8..15: control-change numbers 0..7; 16..23: jack settings, all 0.
  EXPECT_EQ(Slice(controllers, 8, 17),
            (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0, 0, /*24:*/ 0}));
  const Bytes programs = harness.OnlyReply(GlobalRequestBytes(2));
  ASSERT_EQ(programs.size(), kBlockSize);
  EXPECT_EQ(programs[7], 0x02);
  for (std::size_t i = 0; i < 128; ++i) {
    EXPECT_EQ(programs[8 + i], i);  // the identity map
  }
  EXPECT_EQ(std::make_pair(programs[264], programs[265]), ExpectedBlockChecksum(programs));
}

TEST(PedalGlobalBlocks, UnknownRequestTypeIsNotAnswered) {
  PedalHarness harness;
  EXPECT_TRUE(harness.Exchange(GlobalRequestBytes(7)).empty());
}

TEST(PedalGlobalBlocks, SettingsFromTheEditorAreKeptAndReported) {
  PedalHarness harness;
  std::array<std::uint8_t, 256> contents{};
  contents[0] = 99;    // byte 8: the editor's current preset, not a preset change
  contents[1] = 1;     // byte 9: "DEFINE MIDI MAPPING" enabled
  contents[6] = 2;     // byte 14: "EDIT POT DISPLAY MODE" on, sent as 2
  contents[7] = 1;     // byte 15: "DISENGAGE ALL POTS"
  contents[8] = 20;    // byte 16: "TUNER FREQUENCY"
  contents[11] = 100;  // byte 19: parameter 33
  contents[16] = 1;    // byte 24: "CABINET BYPASS"
  EXPECT_TRUE(harness.Exchange(EditorBlock(0, contents)).empty());
  const PedalState state = harness.pedal.Snapshot();
  EXPECT_EQ(state.activeSlot, 0);
  EXPECT_EQ(state.globals[kParamDefineMidiMapping - 80], 1);
  EXPECT_EQ(state.globals[kParamEditPotDisplayMode - 80], 2);
  EXPECT_EQ(state.globals[kParamTunerFrequency - 80], 20);
  EXPECT_EQ(state.globals[kParamCabinetBypass - 80], 1);
  EXPECT_EQ(PayloadValue(state.editBuffer, kParamSoftClipping), 100);

  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(0));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(reply[8], 0);   // still slot 0
  EXPECT_EQ(reply[14], 2);  // kept as sent; the editor reads any non-zero as on
  EXPECT_EQ(reply[19], 100);
  EXPECT_EQ(reply[24], 1);
}

TEST(PedalGlobalBlocks, ControllerMapFromTheEditorKeepsTheJackSettings) {
  PedalState state = MakeFactoryState();
  state.controllerMap[8] = 1;   // parameter 99
  state.controllerMap[15] = 2;  // parameter 106
  PedalHarness harness(std::move(state));
  std::array<std::uint8_t, 256> contents{};
  for (std::size_t i = 0; i < 8; ++i) contents[i] = static_cast<std::uint8_t>(70 + i);
  EXPECT_TRUE(harness.Exchange(EditorBlock(1, contents)).empty());
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(1));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_EQ(Slice(reply, 8, 16), (Bytes{70, 71, 72, 73, 74, 75, 76, 77,  // the editor's eight
                                        1, 0, 0, 0, 0, 0, 0, 2}));       // the pedal's own
}

TEST(PedalGlobalBlocks, ProgramMapFromTheEditorReplacesTheMap) {
  PedalHarness harness;
  std::array<std::uint8_t, 256> contents{};
  for (std::size_t i = 0; i < 128; ++i) contents[i] = static_cast<std::uint8_t>(127 - i);
  EXPECT_TRUE(harness.Exchange(EditorBlock(2, contents)).empty());
  const Bytes reply = harness.OnlyReply(GlobalRequestBytes(2));
  ASSERT_EQ(reply.size(), kBlockSize);
  EXPECT_THAT(Slice(reply, 8, 128),
              ElementsAreArray(Slice(build::GlobalBlock(2, contents), 8, 128)));
  EXPECT_EQ(reply[8], 127);
  EXPECT_EQ(reply[135], 0);
}

TEST(PedalGlobalBlocks, BlockWithWrongChecksumIsRefusedWithErrorAck) {
  PedalHarness harness;
  std::array<std::uint8_t, 256> contents{};
  contents[1] = 1;
  Bytes block = EditorBlock(0, contents);
  block[265] ^= 0x01;
  EXPECT_EQ(harness.OnlyReply(block), ShortReplyBytes(0x62));  // ErrorAck
  EXPECT_EQ(harness.pedal.Snapshot().globals[0], 0);
}

}  // namespace
}  // namespace kr7::pedal::test
