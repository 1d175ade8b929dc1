// Every wait of the conversation ends: lost replies, a silent pedal and a
// missing connection never leave the editor stuck until a restart.

#include <filesystem>
#include <map>
#include <tuple>

#include "device/BankTransferImportCheck.h"
#include "pedal/FactoryContent.h"
#include "tests/app/StreamConversation.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

// User impulse responses no preset of the pedal's bank uses.
constexpr int kIrA = 200;
constexpr int kIrB = 201;
constexpr int kExportTimeout = kPresetReplyTicks + 2;
constexpr int kStreamTimeout = kStreamReplyTicks + 3;

class WedgeTest : public StreamConversation {};

TEST_F(WedgeTest, ExportRepeatsLostRequestsAndImportLetsThePollingReconnect) {
  Handshake();
  const std::string path = data / "backup.r3b";
  window.chosenFile = path;
  link.sent.clear();
  pedal.DropNextReplies(1);
  ASSERT_TRUE(streams.OnCommand(kCommandExportBank));
  TickUntilQuiet(kExportTimeout);
  EXPECT_EQ(CountSent(kCmdPresetRequest), kBankPresetCount + 1);
  EXPECT_TRUE(fs::exists(path));

  // A pedal that falls silent: three repeats, then the export gives up.
  link.sent.clear();
  window.chosenFile = data / "never.r3b";
  pedal.DropNextReplies(100);
  streams.OnCommand(kCommandExportBank);
  TickUntilQuiet(kExportTimeout);
  EXPECT_EQ(CountSent(kCmdPresetRequest), 1 + kExportRepeats);
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
  EXPECT_FALSE(fs::exists(data / "never.r3b"));

  // RECONNECT ends a running import; one asked for while disconnected is
  // refused, and runs once the polling found the pedal again.
  pedal.DropNextReplies(0);
  window.chosenFile = path;
  streams.OnCommand(kCommandImportBank);
  Tick(2);
  editor->SessionLogic().Reconnect();
  EXPECT_FALSE(streams.Import().Active());
  streams.OnCommand(kCommandImportBank);
  EXPECT_EQ(window.messages.back(), kNotConnectedText);
  link.sent.clear();
  Tick(kPollTicks);
  ASSERT_FALSE(link.sent.empty());
  EXPECT_EQ(SentNames().front(), "GlobalRequest 15");
  streams.OnCommand(kCommandImportBank);
  TickUntilQuiet(kStreamTimeout);
  EXPECT_EQ(CountSent(kCmdImportPresetWrite), kBankPresetCount);
  EXPECT_EQ(window.messages.back(), kFinishedText);
}

TEST_F(WedgeTest, LostChecksumAndSettingsRepliesAreAskedForAgain) {
  std::map<int, int> lose{{kGlobalPresetChecksums, 1}};
  const auto losing = [&lose](Bytes& m) {
    return m[kOffsetCommand] != kCmdGlobalBlock || lose[m[kOffsetBlockType]]-- <= 0;
  };
  const auto globalRequests = [this] {
    std::vector<std::string> names = SentNames();
    std::erase_if(names, [](const std::string& n) { return !n.starts_with("GlobalRequest"); });
    return names;
  };
  constexpr int kWait = kPresetReplyTicks + 1;
  Tick(kPollTicks + kWait + 2, losing);
  EXPECT_EQ(globalRequests(), (std::vector<std::string>{"GlobalRequest 15", "GlobalRequest 3",
                                                       "GlobalRequest 3", "GlobalRequest 0"}));
  EXPECT_EQ(editor->Cache().StaleCount(), 0);
  EXPECT_EQ(CountSent(kCmdPresetRequest), kBankPresetCount + 1);

  // A pedal that never answers for its settings counts as gone: the polling
  // finds it again and the conversation goes on.
  link.sent.clear();
  editor->SessionLogic().Reconnect();
  lose[kGlobalSettings] = 1 + kBlockRequestRepeats;
  Tick(2 * kPollTicks + (1 + kBlockRequestRepeats) * kWait, losing);
  EXPECT_EQ(globalRequests(),
            (std::vector<std::string>{"GlobalRequest 15", "GlobalRequest 3", "GlobalRequest 0",
                                      "GlobalRequest 0", "GlobalRequest 0", "GlobalRequest 0",
                                      "GlobalRequest 15", "GlobalRequest 3", "GlobalRequest 0"}));
  EXPECT_TRUE(editor->Session().connected.load());
  EXPECT_EQ(SentNames().back(), "PresetRequest 0");
}

TEST_F(WedgeTest, FactoryStreamWithoutReplyEndsAndCanStartAgain) {
  Bytes bank;
  for (int slot = 0; slot < 3; ++slot) {
    const Bytes m = build::FactoryPresetWrite(static_cast<std::uint8_t>(slot), pedal::DeterministicPreset(slot));
    bank.insert(bank.end(), m.begin(), m.end());
  }
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  ASSERT_TRUE(streams.Factory().Start());
  Tick();  // BulkBegin
  pedal.DropNextReplies(1);
  Tick(kStreamTimeout);
  EXPECT_FALSE(streams.Factory().Running());
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
  EXPECT_TRUE(window.GroupHidden(std::string(kGroupFactoryProgress)));
  EXPECT_TRUE(streams.Factory().Start());
}

TEST_F(WedgeTest, SecondIrUploadIsRefusedUntilTheFirstEnds) {
  Handshake();
  ASSERT_TRUE(streams.StartIrUpload(kIrA, Pack(pedal::DeterministicIr("FIRST", 1))));
  EXPECT_FALSE(streams.StartIrUpload(kIrB, Pack(pedal::DeterministicIr("SECOND", 2))));
  EXPECT_EQ(window.messages.back(), kIrUploadBusyText);
  TickUntilQuiet();
  EXPECT_FALSE(editor->Session().irUploadBusy.load());

  // A pedal that never acknowledges: the upload ends, and a preset-file
  // import waiting for it will not take a later acknowledgement for its own.
  editor->Session().presetFileFirstWaiting.store(true);
  pedal.DropNextReplies(1);
  ASSERT_TRUE(streams.StartIrUpload(kIrB, Pack(pedal::DeterministicIr("SECOND", 2))));
  Tick(kStreamTimeout);
  EXPECT_FALSE(editor->Session().irUploadBusy.load());
  EXPECT_FALSE(editor->Session().presetFileFirstWaiting.load());
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
}

TEST_F(WedgeTest, SpoiledIrDownloadIsAskedOnceMoreThenReportedAndSourceBFollows) {
  Handshake();
  pedal::PedalState state = pedal.Snapshot();
  PresetPayload& preset = state.presets[0];
  for (const auto& [mode, msb, lsb, ir] : {std::tuple{kParamIrModeA, kParamUserIrAMsb, kParamUserIrA, kIrA},
                                           std::tuple{kParamIrModeB, kParamUserIrBMsb, kParamUserIrB, kIrB}}) {
    pedal::SetPayloadValue(preset, mode, 1);
    pedal::SetPayloadValue(preset, msb, static_cast<std::uint8_t>(ir >> 7));
    pedal::SetPayloadValue(preset, lsb, static_cast<std::uint8_t>(ir & 0x7F));
    state.irs[static_cast<std::size_t>(ir)] = pedal::DeterministicIr("USER", ir);
  }
  pedal.ReplaceState(state);
  link.sent.clear();
  inbox.push_back(build::ShortReply(kReplyError));
  pedal.StepToPreset(0);
  int spoil = 2;
  Deliver([&spoil](Bytes& m) {
    if (m[kOffsetCommand] == kCmdIrDumpEnd && spoil-- > 0) m[m.size() - 2] ^= 1;
    return true;
  });
  editor->OnFrameworkTimer();

  EXPECT_EQ(SentIrRequests(), (std::vector<int>{kIrA, kIrA, kIrB}));
  EXPECT_FALSE(editor->IrStore().HasUserIr(kIrA));
  EXPECT_TRUE(editor->IrStore().HasUserIr(kIrB));
  // Every message waiting for the idle step is shown, in order.
  EXPECT_EQ(view.messages, (std::vector<std::string>{"ERROR!", std::string(kCommunicationErrorText)}));
}

}  // namespace
}  // namespace kr7::test
