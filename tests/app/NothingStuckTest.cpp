// Nothing the conversation waits for leaves it stuck, and no transfer ends in silent loss.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

#include "device/BankTransferImportCheck.h"
#include "model/FileIO.h"
#include "pedal/FactoryContent.h"
#include "tests/app/StreamConversation.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

class NothingStuckTest : public StreamConversation {
 protected:
  // Connects with the first fetched dump lost, so the fetch is still running.
  void ConnectWithFetchRunning() {
    bool dropped = false;
    Tick(3, [&dropped](Bytes& m) {
      return m[kOffsetCommand] != kCmdPresetDump || std::exchange(dropped, true);
    });
    ASSERT_TRUE(editor->Session().fetching.load());
  }
  // Preset slot's source A plays user impulse response ir, which the pedal has.
  void UseUserIr(std::size_t slot, int ir) {
    pedal::PedalState state = pedal.Snapshot();
    for (auto [param, value] : {std::pair{kParamIrModeA, 1}, {kParamUserIrAMsb, 0}, {kParamUserIrA, ir}}) {
      pedal::SetPayloadValue(state.presets[slot], param, static_cast<std::uint8_t>(value));
    }
    state.irs[static_cast<std::size_t>(ir)] = pedal::DeterministicIr("USER", ir);
    pedal.ReplaceState(state);
  }
  void UseOneMessageBank() {
    streams.SetFactoryBankProvider([this] { return std::optional<ByteSpan>(bank); });
  }
  // The fetch completed; the session went on to the settings and active preset.
  void ExpectSessionSettled() {
    EXPECT_FALSE(editor->Session().fetching.load());
    EXPECT_EQ(editor->Cache().StaleCount(), 0);
    EXPECT_FALSE(editor->Session().activePresetPending.load());
  }
  const Bytes bank = build::FactoryPresetWrite(0, pedal::DeterministicPreset(0));
};

TEST_F(NothingStuckTest, ExportWaitsForAFetchAndALostConnectionForgetsIt) {
  ConnectWithFetchRunning();
  window.chosenFile = data / "during.r3b";
  streams.OnCommand(kCommandExportBank);
  TickUntilQuiet(kPresetReplyTicks + 2);
  ExpectSessionSettled();
  EXPECT_TRUE(fs::exists(data / "during.r3b"));
  UseUserIr(9, 40);  // slot 9 changes on the pedal: the next connection fetches it
  editor->SessionLogic().Reconnect();
  ConnectWithFetchRunning();  // the firmware page then drops the connection mid-fetch
  streams.Firmware().OpenPage();
  ASSERT_TRUE(streams.Firmware().ClosePage());
  Tick(kPollTicks + 2);
  EXPECT_TRUE(editor->Session().connected.load());
  ExpectSessionSettled();
}

TEST_F(NothingStuckTest, FetchGivesUpOnSlotsThatNeverReadAndGoesOn) {
  int spoiled = 0;
  Tick(kPollTicks + 5 * kPresetReplyTicks, [&spoiled](Bytes& m) {
    if (m[kOffsetCommand] != kCmdPresetDump) return true;
    if (m[kOffsetSlot] == 5 && spoiled++ < 50) m[m.size() - 2] ^= 1;  // always spoiled
    return m[kOffsetSlot] != 7;  // never answered
  });
  EXPECT_EQ(spoiled, 1 + kFetchRepeats);
  EXPECT_EQ(std::count(link.sent.begin(), link.sent.end(), build::PresetRequest(7)), 1 + kFetchRepeats);
  ExpectSessionSettled();
  EXPECT_EQ(view.texts[kTagDeviceLine], "2 presets could not be read.");
  EXPECT_EQ(editor->Editor().PresetRowColour(5), kUnreadPresetRowColour);
}

TEST_F(NothingStuckTest, BankTransfersNeedThePedalEndOnCancelAndStopRepeatingRefusedWrites) {
  window.chosenFile = data / "bank.r3b";
  for (int command : {kCommandExportBank, kCommandImportBank}) streams.OnCommand(command);
  EXPECT_EQ(window.messages, std::vector<std::string>(2, std::string(kNotConnectedText)));
  Handshake();
  streams.OnCommand(kCommandExportBank);
  Tick(3);
  EXPECT_FALSE(window.GroupHidden(std::string(kGroupTransferCancel)));
  streams.CancelTransfer();
  EXPECT_FALSE(streams.Export().Active());
  EXPECT_TRUE(window.GroupHidden(std::string(kGroupTransferCancel)));
  TickUntilQuiet();
  EXPECT_FALSE(fs::exists(data / "bank.r3b"));
  streams.OnCommand(kCommandExportBank);
  TickUntilQuiet();
  streams.OnCommand(kCommandImportBank);
  Tick(3);
  link.sent.clear();
  streams.CancelTransfer();
  EXPECT_FALSE(streams.Import().Active());
  EXPECT_EQ(SentNames(), std::vector<std::string>{"BulkEnd"});
  TickUntilQuiet(kPollTicks + 3);
  ExpectSessionSettled();
  UseOneMessageBank();  // a pedal refusing every write
  pedal.FailNextWrites(50);
  ASSERT_TRUE(streams.Factory().Start());
  TickUntilQuiet();
  EXPECT_EQ(CountSent(kCmdFactoryPresetWrite), 1 + kWriteRepeats);
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
}

TEST_F(NothingStuckTest, ExportAsksAgainForBrokenPartsAndWritesOnlyFilesThatImport) {
  Handshake();
  constexpr int kIr = 20;
  UseUserIr(3, kIr);
  std::map<std::pair<int, int>, int> seen;  // (command, slot) -> answers so far
  const auto faults = [&](Bytes& m) {  // preset 2 spoiled, one pump drop during 9, an IR part lost
    const int command = m[kOffsetCommand];
    const int n = seen[{command, command == kCmdPresetDump ? m[kOffsetSlot] : 0}]++;
    if (command == kCmdPresetDump && m[kOffsetSlot] == 2 && n == 0) m[m.size() - 2] ^= 1;
    for (int i = 0; command == kCmdPresetDump && m[kOffsetSlot] == 9 && n == 0 && i <= 4; ++i) {
      editor->Pump().OnMidiInput(m);  // the fifth finds the queue full
    }
    return command != kCmdIrDumpData || n != 0;
  };
  window.chosenFile = data / "good.r3b";
  link.sent.clear();
  streams.OnCommand(kCommandExportBank);
  Tick(300, faults);
  EXPECT_EQ(std::count(link.sent.begin(), link.sent.end(), build::PresetRequest(2)), 2);
  EXPECT_EQ(std::count(link.sent.begin(), link.sent.end(), build::PresetRequest(9)), 2);
  EXPECT_EQ(SentIrRequests(), (std::vector<int>{kIr, kIr}));
  FileReader reader(data / "good.r3b");
  EXPECT_TRUE(CheckImportFile(reader.ReadAll(kBankFileLimit)).has_value());
  EXPECT_EQ(window.messages.back(), kFinishedText);

  window.chosenFile = data / "bad.r3b";
  streams.OnCommand(kCommandExportBank);
  Tick(300, [](Bytes& m) { return m[kOffsetCommand] != kCmdIrDumpData; });
  EXPECT_FALSE(fs::exists(data / "bad.r3b"));
  EXPECT_EQ(host.Pending(), std::vector<std::string>{"The export was stopped: user IR 21 could not be read "
                                                      "from the KR7 intact. \nNo file was written."});
}

TEST_F(NothingStuckTest, SmallerWaitsAskAgainForALostReplyAndGiveUpWithAMessage) {
  Handshake();
  constexpr int kIr = 30;
  UseUserIr(4, kIr);
  std::map<int, int> lose{{kCmdIrDumpBegin, 1}, {kCmdIrNames, 1}, {kCmdGlobalBlock, 2}};
  const auto losing = [&lose](Bytes& m) { return lose[m[kOffsetCommand]]-- <= 0; };
  link.sent.clear();
  pedal.StepToPreset(4);
  editor->SessionLogic().OpenGlobalSettings();
  editor->Midi().OpenControllerMapPage();
  Set(kParamCustomIrBank, 1);
  Tick(3 * kPresetReplyTicks, losing);
  EXPECT_EQ(SentIrRequests(), (std::vector<int>{kIr, kIr}));
  EXPECT_EQ(CountSent(kCmdIrNamesRequest), 5);
  EXPECT_EQ(CountSent(kCmdGlobalRequest), 4);  // the settings and the map, each twice

  lose[kReplyIrSelect] = 1;
  editor->Session().irSlotA.store(130);
  editor->Session().irSelectionStep.store(kParamUserIrAMsb);
  Set(kParamUserIrAMsb, 1);
  Tick(2 * kPresetReplyTicks, losing);
  EXPECT_EQ(editor->Session().irSelectionStep.load(), kParamUserIrA);

  editor->Session().savePending.store(true);  // a save whose dump never comes
  Tick(kStreamReplyTicks + 2);
  EXPECT_FALSE(editor->Session().savePending.load());
  editor->OnFrameworkTimer();
  EXPECT_EQ(view.messages, std::vector<std::string>{std::string(kCommunicationErrorText)});

  streams.Firmware().OpenPage();  // a loader that never answers
  std::ofstream(data / "kr7.bin") << "image";
  ASSERT_TRUE(streams.Firmware().LoadImage(data / "kr7.bin"));
  Tick(kStreamReplyTicks + 2, [](Bytes&) { return false; });
  EXPECT_EQ(host.Pending(), std::vector<std::string>{std::string(kCommunicationErrorText)});
  EXPECT_TRUE(streams.Firmware().ClosePage());
}

TEST_F(NothingStuckTest, FailedBackupAsksFromTheIdleStepNotFromReconnect) {
  Handshake();
  UseOneMessageBank();
  streams.Backup().SetEnabled(true);
  ASSERT_TRUE(streams.Factory().Start());
  Tick(3);
  window.messages.clear();
  window.answers = {false};
  editor->SessionLogic().Reconnect();
  EXPECT_TRUE(window.messages.empty());
  editor->OnFrameworkTimer();
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kBackupFailedQuestion)});
  EXPECT_FALSE(streams.Factory().Running());
}

}  // namespace
}  // namespace kr7::test
