// Conversations between the editor and the virtual pedal: finding the pedal,
// bringing the preset cache up to date and following the pedal afterwards.

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

constexpr int kPresetFileSize = 256;

std::string PresetsFolder(const TempFolder& data) { return DataFolder(data.Path()).Presets(); }

int CountPresetFiles(const TempFolder& data, std::uintmax_t size) {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PresetsFolder(data), ec)) {
    n += entry.is_regular_file() && entry.file_size() == size;
  }
  return n;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Changes the name of a preset on the pedal so its checksum differs from the
// cached copy.
void RenamePedalPreset(pedal::VirtualPedal& pedal, int slot, char first) {
  pedal::PedalState state = pedal.Snapshot();
  state.presets[static_cast<std::size_t>(slot)][kPayloadNameOffset] =
      static_cast<std::uint8_t>(first);
  pedal.ReplaceState(state);
}

// The name field shows all 32 bytes of the payload's name, padding included.
std::string PaddedName(std::string name) {
  name.resize(kPayloadTextSize, ' ');
  return name;
}

using SessionTest = Conversation;

TEST_F(SessionTest, FirstStartFetchesAllPresetsThenLoadsSettingsAndActivePreset) {
  Handshake();

  EXPECT_TRUE(editor->Session().connected.load());
  EXPECT_EQ(CountPresetFiles(data, kPresetFileSize), PresetCache::kNumSlots);
  EXPECT_EQ(CountSent(kCmdPresetRequest), PresetCache::kNumSlots + 1);  // 128 + active slot

  const auto names = SentNames();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], "GlobalRequest 15");
  EXPECT_EQ(names[1], "GlobalRequest 3");
  EXPECT_EQ(names[2], "BulkBegin");
  EXPECT_EQ(names[3], "PresetRequest 0");
  // The tail: the last fetched slot, settings, BulkEnd and the active slot.
  const std::vector<std::string> tail(names.end() - 4, names.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"PresetRequest 127", "GlobalRequest 0", "BulkEnd",
                                            "PresetRequest 0"}));
  // The active preset was applied: its name shows.
  EXPECT_EQ(view.texts[kTagPresetName], PaddedName("VIRTUAL 000"));
  EXPECT_FALSE(editor->Session().activePresetPending.load());
  EXPECT_TRUE(view.GroupHidden(std::string(kGroupPresetProgress)));
}

TEST_F(SessionTest, SecondStartWithCompleteCacheGoesStraightToSettings) {
  Handshake();
  link.sent.clear();

  StartEditor();
  Handshake();

  const auto names = SentNames();
  EXPECT_EQ(CountSent(kCmdBulkBegin), 0);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "GlobalRequest 15");
  EXPECT_EQ(names[1], "GlobalRequest 3");
  EXPECT_EQ(names[2], "GlobalRequest 0");
}

TEST_F(SessionTest, StaleSlotsAreFetchedInOrderWithProgress) {
  constexpr int kFirstStale = 3;
  constexpr int kSecondStale = 7;
  Handshake();
  RenamePedalPreset(pedal, kFirstStale, 'X');
  RenamePedalPreset(pedal, kSecondStale, 'Y');
  link.sent.clear();
  StartEditor();
  view.textLog.clear();

  Handshake();

  const auto names = SentNames();
  ASSERT_GE(names.size(), 6u);
  EXPECT_EQ(names[2], "BulkBegin");
  EXPECT_EQ(names[3], "PresetRequest 3");
  EXPECT_EQ(names[4], "PresetRequest 7");
  EXPECT_EQ(names[5], "GlobalRequest 0");
  EXPECT_EQ(view.TextsOf(kTagPresetProgressText), (std::vector<std::string>{"0 %", "50 %", "100 %"}));
  EXPECT_EQ(ReadFile(editor->Cache().SlotPath(kFirstStale))[kPayloadNameOffset], 'X');
  EXPECT_EQ(ReadFile(editor->Cache().SlotPath(kSecondStale))[kPayloadNameOffset], 'Y');
}

TEST_F(SessionTest, DumpWithWrongChecksumDuringFetchIsRequestedAgain) {
  Tick();  // identity and checksums: the fetch is armed
  Tick();            // BulkBegin
  pedal.CorruptNextChecksum();
  Tick(2);  // PresetRequest 0, answered with a broken dump; the next tick asks again

  const auto names = SentNames();
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(names[3], "PresetRequest 0");
  EXPECT_EQ(names[4], "PresetRequest 0");
  EXPECT_EQ(CountPresetFiles(data, kPresetFileSize), PresetCache::kNumSlots);
  const pedal::PedalState state = pedal.Snapshot();
  EXPECT_EQ(ReadFile(editor->Cache().SlotPath(0)),
            Bytes(state.presets[0].begin(), state.presets[0].end()));
}

TEST_F(SessionTest, OldVersionShowsItsLineRaisesUpgradeMessageAndNeverConnects) {
  pedal.SetVersion(9);
  editor->SessionLogic().ReconnectNow();  // the ports opened: the identity request goes out now
  Deliver();
  editor->OnFrameworkTimer();

  EXPECT_EQ(view.texts[kTagVersionLine], "VERSION: 0.9");
  EXPECT_EQ(view.texts[kTagDeviceLine], "DEVICE: Norvane Valvora KR7");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0], "Please upgrade KR7 to actual version 12.");
  EXPECT_FALSE(editor->Session().connected.load());

  // Polling goes on every 33 ticks, and every further reply raises the message again.
  Tick(kPollTicks - 1);
  EXPECT_EQ(CountSent(kCmdGlobalRequest), 1);
  Tick();
  editor->OnFrameworkTimer();
  EXPECT_EQ(view.messages.size(), 2u);
  EXPECT_FALSE(editor->Session().connected.load());
  EXPECT_EQ(CountSent(kCmdGlobalRequest), 2);  // two identity requests, nothing else
}

TEST_F(SessionTest, RightVersionWithWrongChecksumUpdatesLinesButDoesNotConnect) {
  pedal.CorruptNextChecksum();
  Tick(kPollTicks);

  EXPECT_EQ(view.texts[kTagVersionLine], "VERSION: 1.2");
  EXPECT_EQ(view.disabledGroups[std::string(kGroupPedal)], false);
  EXPECT_FALSE(editor->Session().connected.load());
  EXPECT_EQ(SentNames(), std::vector<std::string>{"GlobalRequest 15"});
}

TEST_F(SessionTest, FirstTickAsksForIdentityWhichShowsSerialAndAsksForChecksums) {
  Tick();
  EXPECT_EQ(view.texts[kTagSerialLine], "SERIAL: KR7-VIRTUAL-000001");
  EXPECT_TRUE(editor->Session().connected.load());
}

TEST_F(SessionTest, SettingsBlockNamesTheActiveSlotToRequest) {
  constexpr int kActiveSlot = 5;
  pedal.StepToPreset(kActiveSlot);
  inbox.clear();  // the pedal's own dump while no editor listens
  Handshake();

  const auto names = SentNames();
  const auto bulkEnd = std::find(names.begin(), names.end(), "BulkEnd");
  ASSERT_NE(bulkEnd, names.end());
  ASSERT_NE(bulkEnd + 1, names.end());
  EXPECT_EQ(*(bulkEnd + 1), "PresetRequest 5");
  EXPECT_EQ(editor->Session().currentPreset.load(), kActiveSlot);
  EXPECT_EQ(view.texts[kTagPresetNumber], "05");
}

TEST_F(SessionTest, ParameterReportSetsTheParameterAndSendsNothingBack) {
  Handshake();
  link.sent.clear();

  pedal.TurnKnob(kParamLevel, 100);
  Deliver();

  EXPECT_EQ(editor->Params().GetParam(kParamLevel)->Int(), 100);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_FALSE(ApplyingScope::Active());
}

TEST_F(SessionTest, UserChangeAfterHandshakeIsSentLive) {
  Handshake();
  link.sent.clear();

  editor->Parameters().SetParameterFromPosition(kParamLevel, 65.0 / 127.0);

  ASSERT_EQ(link.sent.size(), 1u);
  // F0 00 51 21 03 | 50 ParameterSet | 0C | 00 device number | 41 value 65 | F7
  EXPECT_EQ(link.sent[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03, 0x50, 0x0C, 0x00, 0x41, 0xF7}));
}

TEST_F(SessionTest, IrNamesPageZeroBringsTheRestOfTheBankAndStops) {
  Handshake();
  link.sent.clear();

  link.SendSysEx(build::IrNamesRequest(0));
  Deliver();
  editor->OnFrameworkTimer();

  EXPECT_EQ(SentNames(), (std::vector<std::string>{"IrNamesRequest 0", "IrNamesRequest 1",
                                                   "IrNamesRequest 2", "IrNamesRequest 3"}));
  // Bank 0 of a new pedal is empty: every row shows its number.
  EXPECT_EQ(editor->Editor().UserIrRow(0), "Empty Slot 1");
  EXPECT_EQ(editor->Editor().UserIrRow(kNumUserIrBrowserRows - 1), "Empty Slot 32");
}

TEST_F(SessionTest, IrNamesLastPageOfABankBringsNoFurtherRequest) {
  Handshake();
  link.sent.clear();
  link.SendSysEx(build::IrNamesRequest(3));
  Deliver();
  EXPECT_EQ(SentNames(), std::vector<std::string>{"IrNamesRequest 3"});
}

TEST_F(SessionTest, LostPresetRequestIsRepeatedAfterMoreThanTenTicksOverlayUp) {
  Tick();                    // identity, checksums: fetch armed
  Tick();                    // BulkBegin
  pedal.DropNextReplies(2);  // the request and its repetition are both lost
  Tick();                    // PresetRequest 0
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupPresetProgress)));

  Tick(kPresetReplyTicks);
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupPresetProgress)));
  EXPECT_EQ(CountSent(kCmdPresetRequest), 1);
  Tick();  // the eleventh tick since the request
  // A stalled fetch would never end: the slot is asked for again, and the
  // overlay stays while the fetch goes on.
  EXPECT_EQ(CountSent(kCmdPresetRequest), 2);
  EXPECT_FALSE(view.GroupHidden(std::string(kGroupPresetProgress)));
  EXPECT_TRUE(editor->Session().fetching.load());
  // The user's edits meanwhile go to the pedal.
  editor->Parameters().SetParameterFromPosition(kParamLevel, 65.0 / 127.0);
  EXPECT_EQ(CountSent(kCmdParameterSet), 1);
}

TEST_F(SessionTest, FetchResumesAfterALostReply) {
  Tick(kPollTicks);
  Tick();
  pedal.DropNextReplies(1);
  Tick();
  Tick(kPresetReplyTicks + 1);  // timeout: PresetRequest 0 again, answered this time
  editor->OnFrameworkTimer();

  EXPECT_FALSE(editor->Session().fetching.load());
  EXPECT_FALSE(editor->Session().activePresetPending.load());
  EXPECT_EQ(CountPresetFiles(data, kPresetFileSize), PresetCache::kNumSlots);
  EXPECT_TRUE(view.GroupHidden(std::string(kGroupPresetProgress)));
}

// Until the pedal's preset is in, a rename waits for it, a model is not
// stored, and its lost request is asked for again (bounded).
TEST_F(SessionTest, NothingIsStoredBeforeTheActivePresetArrivesWhoseRequestIsRepeated) {
  Handshake();
  const PresetPayload before = pedal.Snapshot().presets[0];
  StartEditor();
  link.sent.clear();
  int lose = 100;
  const Alter losing = [&lose](Bytes& m) { return m[kOffsetCommand] != kCmdPresetDump || lose-- <= 0; };
  // Asked for three more times; then the pedal counts as gone and is
  // greeted again at once, which asks for the active preset anew.
  Tick(1 + (1 + kBlockRequestRepeats) * (kPresetReplyTicks + 1), losing);
  EXPECT_EQ(CountSent(kCmdPresetRequest), 2 + kBlockRequestRepeats);
  EXPECT_EQ(CountSent(kCmdGlobalRequest), 6);  // identity, checksums, settings, twice
  link.sent.clear();
  editor->MainPage().NameEntered("Renamed");
  editor->MainPage().AmpButton(0);
  Tick(kPresetReplyTicks + 1);
  editor->OnFrameworkTimer();
  EXPECT_EQ(SentNames(), (std::vector<std::string>{"PresetRequest 0", "PresetStore"}));
  const DecodedPreset stored = DecodePresetPayload(pedal.Snapshot().presets[0]);
  EXPECT_EQ(stored.name.substr(0, 8), "Renamed ");
  EXPECT_EQ(stored.values, DecodePresetPayload(before).values);
}

// A saved dump reaches its own slot's file while the held footswitch steps
// the display, and a list read waits for the fetched files still queued.
TEST_F(SessionTest, SavedAndFetchedDumpsKeepTheirSlotsInTheCache) {
  struct InterruptedView : RecordingView {  // another thread's step within a window call
    std::function<void()> during;
    void Interrupt() { if (during) std::exchange(during, {})(); }
    void SetControlText(int t, std::string_view s) override { Interrupt(), RecordingView::SetControlText(t, s); }
    void SetGroupHidden(std::string_view g, bool h) override { Interrupt(), RecordingView::SetGroupHidden(g, h); }
  } interrupted;
  Handshake();
  editor->OnWindowOpen(&interrupted);
  RenamePedalPreset(pedal, 5, 'S');
  RenamePedalPreset(pedal, 7, 'F');
  editor->Session().savePending.store(true);
  interrupted.during = [this] { editor->Session().currentPreset.store(9); };
  pedal.StepToPreset(5);
  Deliver();
  EXPECT_EQ(ReadFile(editor->Cache().SlotPath(5))[kPayloadNameOffset], 'S');

  editor->Session().fetching.store(true);
  editor->Cache().SetStale(7, true);
  link.SendSysEx(build::PresetRequest(7));
  interrupted.during = [this] { std::thread([this] { Deliver(); }).join(); };
  editor->CloseGlobalSettings();
  editor->OnFrameworkTimer();
  editor->OnWindowOpen(&view);
  EXPECT_EQ(editor->Cache().Checksum(7), PresetCache::ComputeChecksum(pedal.Snapshot().presets[7]));
}

TEST_F(SessionTest, ReconnectAfterLostReplyFetchesAgain) {
  Tick(kPollTicks);
  Tick();
  pedal.DropNextReplies(1);
  Tick();
  Tick(kPresetReplyTicks + 1);

  editor->SessionLogic().Reconnect();
  EXPECT_EQ(view.texts[kTagVersionLine], "Connecting to the device...");
  EXPECT_TRUE(view.disabledGroups[std::string(kGroupPedal)]);
  Handshake();

  EXPECT_EQ(CountPresetFiles(data, kPresetFileSize), PresetCache::kNumSlots);
  EXPECT_FALSE(editor->Session().fetching.load());
  EXPECT_EQ(view.texts[kTagPresetName], PaddedName("VIRTUAL 000"));
}

TEST_F(SessionTest, EditorClosedIsSentOnCloseOnlyWhenConnected) {
  editor->OnWindowClose();
  EXPECT_TRUE(link.sent.empty());

  editor->OnWindowOpen(&view);
  Handshake();
  link.sent.clear();
  editor->OnWindowClose();
  EXPECT_EQ(SentNames(), std::vector<std::string>{"EditorClosed"});
}

TEST_F(SessionTest, ErrorAckRaisesTheMessageForTheIdleStep) {
  Handshake();
  inbox.push_back(build::ShortReply(kReplyError));
  Deliver();
  EXPECT_TRUE(view.messages.empty());  // never from the receive handler itself
  editor->OnFrameworkTimer();
  EXPECT_EQ(view.messages, std::vector<std::string>{"ERROR!"});
  editor->OnFrameworkTimer();
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(SessionTest, DoneAckReportsSuccessAndReloadsSettings) {
  Handshake();
  link.sent.clear();
  inbox.push_back(build::ShortReply(kReplyDone));
  Deliver();
  Tick();
  EXPECT_EQ(view.messages, std::vector<std::string>{"Finished successfully!"});
  ASSERT_FALSE(link.sent.empty());
  EXPECT_EQ(SentNames()[0], "GlobalRequest 0");
}

TEST_F(SessionTest, IrSelectAckSendsTheSecondHalfOnlyWhenItWaits) {
  Handshake();
  link.sent.clear();
  inbox.push_back(build::ShortReply(kReplyIrSelect));
  Deliver();
  EXPECT_TRUE(link.sent.empty());  // nothing waits: a stray reply changes nothing

  constexpr int kSlotA = 130;  // MSB 1, LSB 2
  editor->Session().irSlotA.store(kSlotA);
  editor->Session().irSelectionStep.store(kParamUserIrAMsb);
  inbox.push_back(build::ShortReply(kReplyIrSelect));
  Deliver();
  EXPECT_EQ(editor->Session().irSelectionStep.load(), kParamUserIrA);
  EXPECT_EQ(editor->Params().GetParam(kParamUserIrA)->Int(), kSlotA & 0x7F);
  ASSERT_EQ(link.sent.size(), 1u);
  // F0 00 51 21 03 | 50 ParameterSet | 0C | 3A device number 58 | 02 | F7
  EXPECT_EQ(link.sent[0], (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03, 0x50, 0x0C, 0x3A, 0x02, 0xF7}));
}

TEST_F(SessionTest, ActivePresetWithUserIrRequestsItWhenMissing) {
  // Find a slot of the pedal whose preset plays a user IR from the store.
  const pedal::PedalState state = pedal.Snapshot();
  int slot = -1;
  for (int s = 0; s < pedal::kNumSlots && slot < 0; ++s) {
    if (pedal::PayloadValue(state.presets[static_cast<std::size_t>(s)], kParamIrModeA) == 1)
      slot = s;
  }
  ASSERT_GE(slot, 0) << "the deterministic bank has no preset with a user IR";
  const auto& preset = state.presets[static_cast<std::size_t>(slot)];
  const int irSlot = pedal::PayloadValue(preset, kParamUserIrAMsb) * 128 +
                     pedal::PayloadValue(preset, kParamUserIrA);
  pedal.StepToPreset(slot);
  inbox.clear();

  Handshake();
  Deliver();

  EXPECT_GE(CountSent(kCmdIrRequest), 1);
  EXPECT_TRUE(editor->IrStore().HasUserIr(irSlot));
  EXPECT_EQ(fs::file_size(editor->IrStore().PathOf(irSlot)), kIrImageSize);
}

TEST_F(SessionTest, NameReportHasNoVisibleEffectAndChangesNothing) {
  Handshake();
  link.sent.clear();
  inbox.push_back(build::NameReport("SOME NAME"));
  Deliver();
  EXPECT_EQ(view.texts[kTagNameReport], "SOME NAME");  // a tag no control carries
  EXPECT_TRUE(link.sent.empty());
}

}  // namespace
}  // namespace kr7::test
