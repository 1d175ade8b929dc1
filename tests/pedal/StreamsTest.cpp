// The factory-bank stream and the all-presets import: one reply per message,
// WriteOkAck when taken, WriteFailAck when refused.

#include <gmock/gmock.h>

#include "device/ImportRewrite.h"
#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

constexpr std::uint8_t kFactoryOk = 0x7D;
constexpr std::uint8_t kFactoryFail = 0x7E;
constexpr std::uint8_t kImportOk = 0x71;
constexpr std::uint8_t kImportFail = 0x72;
constexpr std::uint16_t kImportedIrSlot = 40;

TEST(PedalStreams, EachFactoryWriteIsAnsweredWithWriteOkAck) {
  PedalHarness harness;
  const Bytes write = {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                       0x7C,                          // FactoryPresetWrite
                       0x0C,                          // format byte
                       0x04};                         // slot 4
  Bytes message = write;
  const PresetPayload payload = HandPayload();
  message.insert(message.end(), payload.begin(), payload.end());
  message.push_back(kHandChecksumHigh);
  message.push_back(kHandChecksumLow);
  message.push_back(0xF7);
  ASSERT_EQ(message.size(), 267u);
  EXPECT_EQ(harness.OnlyReply(message), ShortReplyBytes(kFactoryOk));
  const PedalState state = harness.pedal.Snapshot();
  EXPECT_EQ(state.factoryBank[4], HandPayload());
  EXPECT_EQ(state.presets[4], DeterministicPreset(4));  // only a reset copies it over
}

TEST(PedalStreams, WholeFactoryUpdateEndsWithTheNewBankInPlace) {
  PedalHarness harness;
  EXPECT_TRUE(harness.Exchange(build::BulkBegin()).empty());
  for (std::uint8_t slot = 0; slot < 128; ++slot) {
    const Bytes reply = harness.OnlyReply(build::FactoryPresetWrite(slot, HandPayload()));
    ASSERT_EQ(reply, ShortReplyBytes(kFactoryOk)) << "slot " << int(slot);
  }
  EXPECT_TRUE(harness.Exchange(build::BulkEnd()).empty());
  EXPECT_EQ(harness.OnlyReply(build::FactoryReset(1)), ShortReplyBytes(0x57));  // DoneAck
  const PedalState state = harness.pedal.Snapshot();
  for (const PresetPayload& payload : state.presets) EXPECT_EQ(payload, HandPayload());
}

TEST(PedalStreams, FactoryWriteWithWrongChecksumIsAnsweredWithWriteFailAck) {
  PedalHarness harness;
  Bytes message = build::FactoryPresetWrite(4, HandPayload());
  message[265] ^= 0x01;
  EXPECT_EQ(harness.OnlyReply(message), ShortReplyBytes(kFactoryFail));
  EXPECT_EQ(harness.pedal.Snapshot().factoryBank[4], DeterministicPreset(4));
}

// What an export of slots 0 and 1 plus user IR 256 looks like on disk: the
// dumps exactly as the pedal sent them.
Bytes CaptureOfExport(PedalHarness& source) {
  Bytes capture;
  for (std::uint8_t slot = 0; slot < 2; ++slot) {
    const Bytes dump = source.OnlyReply(build::PresetRequest(slot));
    capture.insert(capture.end(), dump.begin(), dump.end());
  }
  for (const Bytes& part : source.Exchange(build::IrRequest(256))) {
    capture.insert(capture.end(), part.begin(), part.end());
  }
  return capture;
}

// The import file's IR lands in another slot: rewrite its Begin's slot field.
std::vector<Bytes> ImportMessages(PedalHarness& source) {
  std::vector<Bytes> messages = RewriteCaptureForImport(CaptureOfExport(source));
  for (Bytes& message : messages) {
    if (message[5] == 0x77) {  // ImportIrBegin
      message[7] = static_cast<std::uint8_t>(kImportedIrSlot >> 7);
      message[8] = static_cast<std::uint8_t>(kImportedIrSlot & 0x7F);
    }
  }
  return messages;
}

TEST(PedalStreams, ImportIsAnsweredAsTheEditorsStreamExpects) {
  PedalHarness source;
  const std::vector<Bytes> messages = ImportMessages(source);
  ASSERT_EQ(messages.size(), 2u + 11u);
  PedalState target = MakeFactoryState();
  target.presets[0] = HandPayload();
  target.presets[1] = HandPayload();
  PedalHarness harness(std::move(target));
  for (const Bytes& message : messages) {
    const std::vector<Bytes> replies = harness.Exchange(message);
    if (message[5] == 0x78) {  // ImportIrData is never answered
      EXPECT_TRUE(replies.empty());
    } else {
      ASSERT_EQ(replies.size(), 1u) << MessageName(message);
      EXPECT_EQ(replies.front(), ShortReplyBytes(kImportOk)) << MessageName(message);
    }
  }
  const PedalState state = harness.pedal.Snapshot();
  EXPECT_EQ(state.presets[0], DeterministicPreset(0));
  EXPECT_EQ(state.presets[1], DeterministicPreset(1));
  ASSERT_TRUE(state.irs[kImportedIrSlot].has_value());
  EXPECT_EQ(state.irs[kImportedIrSlot], state.irs[256]);
}

TEST(PedalStreams, ImportedIrWithWrongChecksumIsRefused) {
  PedalHarness source;
  std::vector<Bytes> messages = ImportMessages(source);
  Bytes& end = messages.back();
  ASSERT_EQ(end[5], 0x79);  // ImportIrEnd
  end[end.size() - 2] ^= 0x01;
  PedalHarness harness;
  for (std::size_t i = 0; i + 1 < messages.size(); ++i) harness.Exchange(messages[i]);
  EXPECT_EQ(harness.OnlyReply(end), ShortReplyBytes(kImportFail));
  EXPECT_FALSE(harness.pedal.Snapshot().irs[kImportedIrSlot].has_value());
}

TEST(PedalStreams, ImportedIrMissingADataPartIsRefused) {
  PedalHarness source;
  std::vector<Bytes> messages = ImportMessages(source);
  PedalHarness harness;
  for (std::size_t i = 0; i + 1 < messages.size(); ++i) {
    if (i != 5) harness.Exchange(messages[i]);  // one ImportIrData lost
  }
  EXPECT_EQ(harness.OnlyReply(messages.back()), ShortReplyBytes(kImportFail));
}

TEST(PedalStreams, ImportedPresetWithWrongChecksumIsRefused) {
  PedalHarness source;
  std::vector<Bytes> messages = ImportMessages(source);
  messages[0][264] ^= 0x01;
  PedalState target = MakeFactoryState();
  target.presets[0] = HandPayload();
  PedalHarness harness(std::move(target));
  EXPECT_EQ(harness.OnlyReply(messages[0]), ShortReplyBytes(kImportFail));
  EXPECT_EQ(harness.pedal.Snapshot().presets[0], HandPayload());
}

}  // namespace
}  // namespace kr7::pedal::test
