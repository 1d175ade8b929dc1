// The factory presets update and the factory-reset buttons, against a
// recording host (the conversation with the pedal is tested in the app tests).

#include <gtest/gtest.h>

#include "device/BankTransferFactory.h"
#include "device/BankTransferImportCheck.h"
#include "device/StreamsProgress.h"
#include "tests/device/StreamTestSupport.h"

namespace kr7::test {
namespace {

constexpr std::uint8_t kOldVersion = 11;

Bytes Bank(std::uint8_t version = kBankFormatVersion) {
  std::vector<Bytes> messages;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    Bytes m = build::FactoryPresetWrite(static_cast<std::uint8_t>(slot), Bytes(kPresetPayloadSize, 0x05));
    m[kOffsetFormat] = version;
    messages.push_back(std::move(m));
  }
  return Concat(messages);
}

class FactoryUnit : public ::testing::Test {
 protected:
  FactoryUnit() : factory(host, guard) {
    factory.SetBankProvider([this]() -> std::optional<ByteSpan> {
      if (bank.empty()) return std::nullopt;
      return ByteSpan(bank);
    });
  }

  // Ticks until nothing more goes out, answering every message but
  // BulkBegin with WriteOkAck.
  void RunAnswered() {
    for (int tick = 0; tick < 200; ++tick) {
      const std::size_t before = host.sent.size();
      factory.Step();
      if (host.sent.size() > before && host.sent.back()[kOffsetCommand] == kCmdFactoryPresetWrite) {
        factory.OnReply(ListReply::WriteOk);
      }
    }
  }

  RecordingStreamHost host;
  ImmediateGuard guard;
  Bytes bank = Bank();
  FactoryUpdate factory;
};

TEST_F(FactoryUnit, CancelAtFirstQuestionSendsNothing) {
  host.view.answers = {false};
  EXPECT_FALSE(factory.Start());
  EXPECT_EQ(host.view.messages, std::vector<std::string>{std::string(kFactoryUpdateQuestion)});
  RunAnswered();
  EXPECT_TRUE(host.sent.empty());
}

TEST_F(FactoryUnit, ShippedVersionNeedsNoWarning) {
  EXPECT_TRUE(factory.Start());
  EXPECT_EQ(host.view.messages.size(), 1u);
  EXPECT_TRUE(host.view.Shown(kFactoryProgress.group));
}

TEST_F(FactoryUnit, OldVersionWarnsAndIsSentAsCurrentAfterOk) {
  bank = Bank(kOldVersion);
  ASSERT_TRUE(factory.Start());
  ASSERT_EQ(host.view.messages.size(), 2u);
  EXPECT_EQ(host.view.messages[1],
            "File version is 1.1. This can cause incompatibility problems. \nAre you sure you want "
            "to use it?");
  // Both questions of the factory update stand under the caption "Warning".
  EXPECT_EQ(host.view.captions, std::vector<std::string>(2, std::string(kWarningCaption)));
  RunAnswered();
  int written = 0;
  for (const Bytes& m : host.sent) {
    if (m[kOffsetCommand] != kCmdFactoryPresetWrite) continue;
    ++written;
    EXPECT_EQ(m[kOffsetFormat], kBankFormatVersion);
  }
  EXPECT_EQ(written, kBankPresetCount);
}

TEST_F(FactoryUnit, OldVersionCancelledSendsNothing) {
  bank = Bank(kOldVersion);
  host.view.answers = {true, false};
  EXPECT_FALSE(factory.Start());
  RunAnswered();
  EXPECT_TRUE(host.sent.empty());
  EXPECT_FALSE(factory.Running());
}

TEST_F(FactoryUnit, MalformedOrMissingBankIsNotSent) {
  bank.pop_back();  // no final F7
  EXPECT_FALSE(factory.Start());
  bank.clear();
  EXPECT_FALSE(factory.Start());
  RunAnswered();
  EXPECT_TRUE(host.sent.empty());
}

TEST_F(FactoryUnit, CompletionAtNextTickEndsClearsAndResetsPresets) {
  ASSERT_TRUE(factory.Start());
  RunAnswered();
  const std::vector<std::uint8_t> commands = host.Commands();
  ASSERT_EQ(commands.size(), 1u + kBankPresetCount + 2);
  EXPECT_EQ(commands.front(), kCmdBulkBegin);
  EXPECT_EQ(commands[commands.size() - 2], kCmdBulkEnd);
  EXPECT_EQ(host.sent.back(), build::FactoryReset(1));
  EXPECT_EQ(host.cacheClears, 1);
  EXPECT_TRUE(host.view.Hidden(kFactoryProgress.group));
  EXPECT_FALSE(factory.Running());
}

TEST_F(FactoryUnit, WriteFailRepeatsSameMessage) {
  ASSERT_TRUE(factory.Start());
  factory.Step();  // BulkBegin
  factory.Step();  // slot 0
  EXPECT_TRUE(factory.OnReply(ListReply::WriteFail));
  factory.Step();
  ASSERT_EQ(host.sent.size(), 3u);
  EXPECT_EQ(host.sent[1], host.sent[2]);
}

TEST_F(FactoryUnit, StrayReplyWithoutStreamChangesNothing) {
  EXPECT_FALSE(factory.OnReply(ListReply::WriteOk));
  for (int tick = 0; tick < 3; ++tick) EXPECT_FALSE(factory.Step());
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ(host.cacheClears, 0);
}

TEST_F(FactoryUnit, ResetButtonsAskFirst) {
  host.view.answers = {false};
  factory.Reset(ResetScope::All);
  EXPECT_TRUE(host.sent.empty());
  EXPECT_EQ(host.cacheClears, 0);

  factory.Reset(ResetScope::All);
  factory.Reset(ResetScope::Presets);
  factory.Reset(ResetScope::Settings);
  EXPECT_EQ(host.sent, (std::vector<Bytes>{build::FactoryReset(0), build::FactoryReset(1),
                                           build::FactoryReset(2)}));
  EXPECT_EQ(host.cacheClears, 2);  // not for SETTINGS
  EXPECT_EQ(host.view.messages.back(), kResetQuestion);
}

}  // namespace
}  // namespace kr7::test
