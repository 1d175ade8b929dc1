// Conversations with the virtual pedal about whole banks: the factory presets
// update, export to an all-presets file, import of one, and the factory-reset
// buttons.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/BankBackup.h"
#include "device/BankTransferImportCheck.h"
#include "model/PresetPayload.h"
#include "device/StreamsProgress.h"
#include "tests/app/StreamConversation.h"

namespace kr7::test {
namespace {

constexpr std::uint8_t kOldBankVersion = 11;
constexpr int kFirstIrUser = 0;
constexpr int kSecondIrUser = 5;
constexpr int kThirdIrUser = 9;
constexpr int kSharedIr = 3;
constexpr int kOtherIr = 1;
constexpr int kIrDataPerDump = 9;  // 2785 packed bytes: Begin, nine Data, End
constexpr int kIrMessagesPerDump = kIrDataPerDump + 2;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A bank unlike the pedal's presets: the deterministic presets renamed.
Bytes TestBank(std::uint8_t version = kBankFormatVersion) {
  Bytes bank;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    PresetPayload payload = pedal::DeterministicPreset(slot);
    char name[kPayloadTextSize + 1];
    std::snprintf(name, sizeof name, "FACTORY %03d", slot);
    std::fill_n(payload.begin() + kPayloadNameOffset, kPayloadTextSize, kTextPad);
    std::copy_n(name, std::string_view(name).size(), payload.begin() + kPayloadNameOffset);
    Bytes m = build::FactoryPresetWrite(static_cast<std::uint8_t>(slot), payload);
    m[kOffsetFormat] = version;
    bank.insert(bank.end(), m.begin(), m.end());
  }
  return bank;
}

PresetPayload BankPayload(const Bytes& bank, int slot) {
  PresetPayload payload{};
  const auto first = bank.begin() + static_cast<std::ptrdiff_t>(slot * kBlockMessageSize + kOffsetBlockContents);
  std::copy_n(first, kPresetPayloadSize, payload.begin());
  return payload;
}

// Source A or B of a preset selects user impulse response `ir`.
void UseUserIr(PresetPayload& preset, bool sourceB, int ir) {
  pedal::SetPayloadValue(preset, sourceB ? kParamIrModeB : kParamIrModeA, 1);
  pedal::SetPayloadValue(preset, sourceB ? kParamUserIrBMsb : kParamUserIrAMsb,
                         static_cast<std::uint8_t>(ir >> 7));
  pedal::SetPayloadValue(preset, sourceB ? kParamUserIrB : kParamUserIrA,
                         static_cast<std::uint8_t>(ir & 0x7F));
}

void UseNoUserIr(PresetPayload& preset) {
  pedal::SetPayloadValue(preset, kParamIrModeA, 0);
  pedal::SetPayloadValue(preset, kParamIrModeB, 0);
}

class BankTransferTest : public StreamConversation {
 protected:
  // Presets 0 and 5 use user IR 3, preset 9 uses user IR 1, no other preset
  // uses one; the pedal holds both impulse responses.
  void PrepareIrUsers() {
    pedal::PedalState state = pedal.Snapshot();
    for (PresetPayload& preset : state.presets) UseNoUserIr(preset);
    UseUserIr(state.presets[kFirstIrUser], false, kSharedIr);
    UseUserIr(state.presets[kSecondIrUser], true, kSharedIr);
    UseUserIr(state.presets[kThirdIrUser], false, kOtherIr);
    state.irs[kSharedIr] = pedal::DeterministicIr("SHARED", kSharedIr);
    state.irs[kOtherIr] = pedal::DeterministicIr("OTHER", kOtherIr);
    pedal.ReplaceState(state);
  }

  void PrepareNoIrUsers() {
    pedal::PedalState state = pedal.Snapshot();
    for (PresetPayload& preset : state.presets) UseNoUserIr(preset);
    pedal.ReplaceState(state);
  }

  std::string Export() {
    const std::string path = data / "backup.r3b";
    window.chosenFile = path;
    EXPECT_TRUE(streams.OnCommand(kCommandExportBank));
    TickUntilQuiet();
    return path;
  }

  // Ticks and records, per tick, the commands the editor sent in it.
  std::vector<std::vector<std::uint8_t>> TickRecording(int ticks) {
    std::vector<std::vector<std::uint8_t>> perTick;
    for (int i = 0; i < ticks; ++i) {
      const std::size_t before = link.sent.size();
      Tick();
      std::vector<std::uint8_t> commands;
      for (std::size_t k = before; k < link.sent.size(); ++k) commands.push_back(link.sent[k][kOffsetCommand]);
      perTick.push_back(std::move(commands));
    }
    return perTick;
  }
};

// ---- factory presets update ---------------------------------------------------

TEST_F(BankTransferTest, FactoryUpdateSendsBulkBeginThen128MessagesOnePerReply) {
  const Bytes bank = TestBank();
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Handshake();
  link.sent.clear();

  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  EXPECT_EQ(window.messages.front(), kFactoryUpdateQuestion);
  Tick();
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0], build::BulkBegin());
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    Tick();  // one message; its reply releases the next
    ASSERT_EQ(link.sent.size(), 2u + static_cast<std::size_t>(slot)) << "slot " << slot;
    EXPECT_EQ(link.sent.back(), Bytes(bank.begin() + slot * kBlockMessageSize,
                                      bank.begin() + (slot + 1) * kBlockMessageSize));
    if (slot == 0) {
      EXPECT_EQ(window.texts[kFactoryProgress.textTag], "0 %");
    }
  }
  EXPECT_EQ(window.texts[kFactoryProgress.textTag], "100 %");

  Tick();  // completion: BulkEnd, caches cleared, FactoryReset 1 (answered DoneAck)
  Tick();  // the DoneAck is reported
  const std::vector<std::string> names = SentNames();
  const auto reset = std::find(names.begin(), names.end(), "FactoryReset 1");
  ASSERT_NE(reset, names.end());
  ASSERT_NE(reset + 1, names.end());
  EXPECT_EQ(*(reset - 1), "BulkEnd");
  EXPECT_EQ(*(reset + 1), "GlobalRequest 0");  // asked again after the DoneAck
  EXPECT_EQ(host.cacheClears, 1);
  EXPECT_TRUE(window.GroupHidden(std::string(kFactoryProgress.group)));
  EXPECT_EQ(view.messages.back(), kFinishedText);

  const pedal::PedalState state = pedal.Snapshot();
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    EXPECT_EQ(state.presets[static_cast<std::size_t>(slot)], BankPayload(bank, slot)) << "slot " << slot;
  }
}

TEST_F(BankTransferTest, FactoryStreamWaitsForEachReply) {
  const Bytes bank = TestBank();
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Handshake();
  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  Tick(3);  // BulkBegin, slots 0 and 1
  link.sent.clear();
  pedal.DropNextReplies(1);
  Tick(20);  // slot 2 goes, its reply is lost: nothing follows
  EXPECT_EQ(CountSent(kCmdFactoryPresetWrite), 1);
}

TEST_F(BankTransferTest, FactoryWriteFailRepeatsTheMessage) {
  const Bytes bank = TestBank();
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Handshake();
  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  pedal.FailNextWrites(2);
  link.sent.clear();
  Tick(4);  // BulkBegin, slot 0 refused twice, then taken
  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[1], link.sent[2]);
  EXPECT_EQ(link.sent[2], link.sent[3]);
  Tick();
  EXPECT_EQ(link.sent.back()[kOffsetSlot], 1);
}

TEST_F(BankTransferTest, OldBankVersionWarnsAndIsSentAsVersion12AfterOk) {
  const Bytes bank = TestBank(kOldBankVersion);
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Handshake();
  link.sent.clear();

  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  ASSERT_EQ(window.messages.size(), 2u);
  EXPECT_EQ(window.messages[1],
            "File version is 1.1. This can cause incompatibility problems. \nAre you sure you want "
            "to use it?");
  TickUntilQuiet();
  EXPECT_EQ(CountSent(kCmdFactoryPresetWrite), kBankPresetCount);
  for (const Bytes& m : link.sent) {
    if (m[kOffsetCommand] == kCmdFactoryPresetWrite) {
      EXPECT_EQ(m[kOffsetFormat], kBankFormatVersion);
    }
  }
  EXPECT_EQ(pedal.Snapshot().presets[kBankPresetCount - 1], BankPayload(bank, kBankPresetCount - 1));
}

TEST_F(BankTransferTest, OldBankVersionCancelledSendsNothing) {
  const Bytes bank = TestBank(kOldBankVersion);
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  Handshake();
  link.sent.clear();
  window.answers = {true, false};
  streams.OnCommand(kCommandFactoryPresets);
  Tick(10);
  EXPECT_TRUE(link.sent.empty());
}

TEST_F(BankTransferTest, StrayWriteOkWithoutStreamRunsNoCompletion) {
  Handshake();
  link.sent.clear();
  for (std::uint8_t code : {kReplyWriteOk, kReplyWriteOkAlt, kReplyWriteNext, kReplyWriteFail}) {
    editor->OnSysEx(build::ShortReply(code));
  }
  Tick(5);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_EQ(host.cacheClears, 0);
  EXPECT_TRUE(window.messages.empty());
}

// ---- factory reset buttons ---------------------------------------------------------

TEST_F(BankTransferTest, ResetPresetsClearsCachesAndReportsDone) {
  Handshake();
  link.sent.clear();
  streams.FactoryReset(ResetScope::Presets);
  EXPECT_EQ(window.messages.back(), kResetQuestion);
  Deliver();  // DoneAck
  Tick();
  const std::vector<std::string> names = SentNames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "FactoryReset 1");
  EXPECT_EQ(names[1], "GlobalRequest 0");  // asked again after the DoneAck
  EXPECT_EQ(host.cacheClears, 1);
  EXPECT_EQ(view.messages.back(), kFinishedText);
}

TEST_F(BankTransferTest, ResetCancelledSendsNothing) {
  Handshake();
  link.sent.clear();
  window.answers = {false};
  streams.FactoryReset(ResetScope::All);
  Tick();
  EXPECT_TRUE(link.sent.empty());
}

// ---- export --------------------------------------------------------------------------

TEST_F(BankTransferTest, ExportWithoutUserIrsWrites34176Bytes) {
  PrepareNoIrUsers();
  Handshake();
  link.sent.clear();
  const std::string path = Export();

  ASSERT_EQ(window.fileRequests.size(), 1u);
  EXPECT_TRUE(window.fileRequests[0].save);
  EXPECT_EQ(window.fileRequests[0].extension, "r3b");
  EXPECT_EQ(window.fileRequests[0].initialName, "KR7_Presets_and_IRs");
  EXPECT_EQ(window.fileRequests[0].initialFolder, DataFolder(data.Path()).Base());

  const Bytes file = ReadFile(path);
  EXPECT_EQ(file.size(), kFactoryBankSize);
  const pedal::PedalState state = pedal.Snapshot();
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    const Bytes dump = build::PresetDump(static_cast<std::uint8_t>(slot), state.presets[static_cast<std::size_t>(slot)]);
    ASSERT_TRUE(std::equal(dump.begin(), dump.end(), file.begin() + slot * kBlockMessageSize)) << slot;
  }
  EXPECT_EQ(CountSent(kCmdPresetRequest), kBankPresetCount);
  EXPECT_TRUE(SentIrRequests().empty());
  EXPECT_EQ(window.messages.back(), kFinishedText);
  EXPECT_TRUE(window.GroupHidden(std::string(kPresetProgress.group)));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(BankTransferTest, ExportRequestsEachUsedIrOnceInAscendingOrder) {
  PrepareIrUsers();
  Handshake();
  link.sent.clear();
  const std::string path = Export();

  EXPECT_EQ(SentIrRequests(), (std::vector<int>{kOtherIr, kSharedIr}));
  // Both requests after the 128 preset requests.
  std::size_t lastPreset = 0;
  std::size_t firstIr = link.sent.size();
  for (std::size_t i = 0; i < link.sent.size(); ++i) {
    if (link.sent[i][kOffsetCommand] == kCmdPresetRequest) lastPreset = i;
    if (link.sent[i][kOffsetCommand] == kCmdIrRequest) firstIr = std::min(firstIr, i);
  }
  EXPECT_LT(lastPreset, firstIr);
  const Bytes file = ReadFile(path);
  EXPECT_EQ(CheckImportFile(file), kBankPresetCount + 2 * kIrMessagesPerDump);
}

TEST_F(BankTransferTest, ExportCutShortLeavesEarlierBackupUntouched) {
  PrepareNoIrUsers();
  Handshake();
  const std::string path = data / "backup.r3b";
  const Bytes earlier = {0x01, 0x02, 0x03};
  WriteFile(path, earlier);
  window.chosenFile = path;
  streams.OnCommand(kCommandExportBank);
  Tick(10);
  editor->SessionLogic().Reconnect();  // the connection drops: the export ends silently
  Tick(10);
  EXPECT_FALSE(streams.ExportActive());
  EXPECT_EQ(ReadFile(path), earlier);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(BankTransferTest, ExportToUnwritablePlaceReportsNoSuccess) {
  PrepareNoIrUsers();
  Handshake();
  window.chosenFile = data / "no-such-folder/backup.r3b";
  streams.OnCommand(kCommandExportBank);
  TickUntilQuiet();
  EXPECT_FALSE(streams.ExportActive());
  EXPECT_TRUE(window.messages.empty());
}

// ---- import ----------------------------------------------------------------------------

TEST_F(BankTransferTest, ExportThenImportRestoresPresetsAndUserIrs) {
  PrepareIrUsers();
  Handshake();
  const std::string path = Export();
  const pedal::PedalState original = pedal.Snapshot();

  // The pedal changes: other presets, other impulse responses.
  pedal::PedalState changed = original;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    changed.presets[static_cast<std::size_t>(slot)] = pedal::DeterministicPreset((slot + 1) % kBankPresetCount);
  }
  changed.irs[kSharedIr] = pedal::DeterministicIr("CHANGED A", 40);
  changed.irs[kOtherIr] = pedal::DeterministicIr("CHANGED B", 41);
  pedal.ReplaceState(changed);

  link.sent.clear();
  window.messages.clear();
  window.chosenFile = path;
  ASSERT_TRUE(streams.OnCommand(kCommandImportBank));
  EXPECT_EQ(window.messages.front(), kImportQuestion);
  EXPECT_EQ(window.fileRequests.back().initialName, path);  // remembered from the export
  const auto perTick = TickRecording(kBankPresetCount + 2 * kIrMessagesPerDump + 4);

  const pedal::PedalState restored = pedal.Snapshot();
  EXPECT_EQ(restored.presets, original.presets);
  EXPECT_EQ(restored.irs[kSharedIr], original.irs[kSharedIr]);
  EXPECT_EQ(restored.irs[kOtherIr], original.irs[kOtherIr]);
  EXPECT_EQ(CountSent(kCmdImportPresetWrite), kBankPresetCount);
  EXPECT_EQ(CountSent(kCmdImportIrBegin), 2);
  EXPECT_EQ(CountSent(kCmdImportIrData), 2 * kIrDataPerDump);
  EXPECT_EQ(CountSent(kCmdImportIrEnd), 2);

  // The data parts follow their begin part on consecutive ticks.
  std::size_t begin = 0;
  while (begin < perTick.size() &&
         (perTick[begin].empty() || perTick[begin].front() != kCmdImportIrBegin)) {
    ++begin;
  }
  constexpr std::size_t kEndTick = kIrDataPerDump + 1;
  ASSERT_LT(begin + kEndTick, perTick.size());
  for (std::size_t k = 1; k < kEndTick; ++k) {
    EXPECT_EQ(perTick[begin + k], std::vector<std::uint8_t>{kCmdImportIrData}) << k;
  }
  EXPECT_EQ(perTick[begin + kEndTick], std::vector<std::uint8_t>{kCmdImportIrEnd});

  // Completion: BulkEnd, the message, caches cleared, and the session starts
  // again at once.
  const std::vector<std::string> names = SentNames();
  const auto bulkEnd = std::find(names.begin(), names.end(), "BulkEnd");
  ASSERT_NE(bulkEnd, names.end());
  ASSERT_NE(std::next(bulkEnd), names.end());
  EXPECT_EQ(*std::next(bulkEnd), "GlobalRequest 15");
  EXPECT_EQ(window.messages.back(), kFinishedText);
  EXPECT_EQ(host.cacheClears, 1);
  EXPECT_TRUE(editor->Session().polling.load());
  EXPECT_FALSE(streams.Import().Active());
}

TEST_F(BankTransferTest, ImportWriteFailAbortsWithCommunicationError) {
  PrepareNoIrUsers();
  Handshake();
  const std::string path = Export();
  link.sent.clear();
  window.chosenFile = path;
  streams.OnCommand(kCommandImportBank);
  Tick(3);  // BulkBegin, slots 0 and 1
  pedal.FailNextWrites(1);
  Tick(10);  // slot 2 refused: nothing more
  EXPECT_EQ(CountSent(kCmdImportPresetWrite), 3);
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
  EXPECT_FALSE(streams.Import().Active());
  EXPECT_EQ(window.texts[kPresetProgress.textTag], "0 %");
  EXPECT_TRUE(window.GroupHidden(std::string(kPresetProgress.group)));
  EXPECT_EQ(CountSent(kCmdBulkEnd), 0);
}

TEST_F(BankTransferTest, MalformedImportFileIsRefusedBeforeAnythingIsSent) {
  Handshake();
  const std::string path = data / "broken.r3b";
  Bytes file = TestBank();  // FactoryPresetWrite messages, not an export
  WriteFile(path, file);
  link.sent.clear();
  window.chosenFile = path;
  streams.OnCommand(kCommandImportBank);
  Tick(5);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_EQ(window.messages.back(), kUnknownFileFormatText);
  EXPECT_FALSE(streams.Import().Active());
}

TEST_F(BankTransferTest, ImportCancelledOrOversizedSendsNothing) {
  Handshake();
  link.sent.clear();
  window.answers = {false};
  streams.OnCommand(kCommandImportBank);
  EXPECT_TRUE(window.fileRequests.empty());

  const std::string path = data / "huge.r3b";
  WriteFile(path, Bytes(kBankFileLimit + 1, 0xF7));
  window.chosenFile = path;
  streams.OnCommand(kCommandImportBank);
  Tick(5);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_EQ(window.messages.size(), 2u);  // the two questions, no refusal
}

TEST_F(BankTransferTest, ImportIsRefusedWhileDisconnected) {
  PrepareNoIrUsers();
  Handshake();
  const std::string path = Export();
  editor->Session().polling.store(false);
  editor->Session().connected.store(false);
  link.sent.clear();
  window.chosenFile = path;
  streams.OnCommand(kCommandImportBank);
  Tick(5);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_FALSE(streams.Import().Active());
  EXPECT_EQ(window.messages.back(), kNotConnectedText);
}

// ---- automatic backup -----------------------------------------------------------

class BankBackupTest : public BankTransferTest {
 protected:
  void SetUp() override {
    streams.Backup().SetEnabled(true);
    streams.Backup().SetClock([this] { return clock; });
    Handshake();
  }
  std::vector<std::string> Backups() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(streams.Backup().Folder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::time_t clock = 1780000000;  // May 2026
};

TEST_F(BankBackupTest, FactoryUpdateBacksUpFirstAndTheBackupRestoresThePedal) {
  PrepareIrUsers();
  const pedal::PedalState before = pedal.Snapshot();
  const Bytes bank = TestBank();
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  link.sent.clear();
  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  EXPECT_EQ(window.TextsOf(kTagPresetProgressTitle).back(), kBackingUpText);
  TickUntilQuiet();
  // The title said so for the whole backup and went back at its end.
  EXPECT_EQ(window.TextsOf(kTagPresetProgressTitle),
            (std::vector<std::string>{std::string(kBackingUpText), std::string(kPresetProgressTitle)}));

  // Every request of the backup went out before the first write.
  const std::vector<std::string> names = SentNames();
  const auto firstWrite = std::find(names.begin(), names.end(), "BulkBegin");
  EXPECT_EQ(std::count(names.begin(), firstWrite, "PresetRequest 127"), 1);
  EXPECT_EQ(CountSent(kCmdFactoryPresetWrite), kBankPresetCount);
  EXPECT_EQ(pedal.Snapshot().presets[0], BankPayload(bank, 0));
  const std::vector<std::string> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);

  streams.Backup().SetEnabled(false);
  ASSERT_TRUE(streams.Import().LoadFile(streams.Backup().Folder() + "/" + backups[0]));
  TickUntilQuiet();
  const pedal::PedalState restored = pedal.Snapshot();
  EXPECT_EQ(restored.presets, before.presets);
  EXPECT_EQ(restored.irs[kSharedIr], before.irs[kSharedIr]);
}

TEST_F(BankBackupTest, FailedBackupAsksAndCancelSendsNothingDestructive) {
  // A folder where the backup file should go: the file cannot be written.
  std::filesystem::create_directories(streams.Backup().Folder() + "/" + BackupFileName(clock));
  const Bytes bank = TestBank();
  streams.SetFactoryBankProvider([&bank] { return std::optional<ByteSpan>(bank); });
  link.sent.clear();
  window.answers = {true, false};  // the update's question: OK; going on without: Cancel
  ASSERT_TRUE(streams.OnCommand(kCommandFactoryPresets));
  TickUntilQuiet();
  editor->OnFrameworkTimer();  // the idle step asks
  EXPECT_EQ(window.messages.back(), kBackupFailedQuestion);
  EXPECT_EQ(CountSent(kCmdBulkBegin) + CountSent(kCmdFactoryPresetWrite) +
                CountSent(kCmdFactoryReset),
            0);
}

TEST_F(BankBackupTest, OnlyTheTenNewestBackupsRemain) {
  std::vector<std::string> newest;
  for (int run = 0; run < 12; ++run) {
    clock += 61;
    streams.FactoryReset(ResetScope::Presets);
    TickUntilQuiet();
    if (run >= 12 - kBackupsKept) newest.push_back(BackupFileName(clock));
  }
  EXPECT_EQ(CountSent(kCmdFactoryReset), 12);
  EXPECT_EQ(Backups(), newest);
  clock -= 365 * 24 * 3600;  // set back: the new name sorts first, yet the oldest file goes
  streams.FactoryReset(ResetScope::Presets);
  TickUntilQuiet();
  newest.front() = BackupFileName(clock);
  EXPECT_EQ(Backups(), newest);
}

}  // namespace
}  // namespace kr7::test
