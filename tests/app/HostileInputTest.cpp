// Whatever the pedal (or a broken cable) sends, the receive handler must not
// crash, must not damage the preset cache, and must leave a session that can
// still complete a normal handshake.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/app/Conversation.h"

namespace kr7::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongestHostileMessage = 600;

// Windows joins with a backslash, the program with "/": keys are compared normalised.
std::string FileKey(const fs::path& path) { return path.lexically_normal().string(); }

// Every file below the data folder with its bytes.
std::map<std::string, Bytes> Files(const TempFolder& data) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : fs::recursive_directory_iterator(data.Path())) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[FileKey(entry.path())] =
        Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// A message of length n under our header with command cmd, filled with a
// fixed pattern. A 267-byte one gets a wrong block checksum so it cannot pass
// for a real block.
Bytes Patterned(std::size_t n, std::uint8_t cmd, std::uint8_t family = kFamilyEditor) {
  Bytes m(n);
  for (std::size_t i = 0; i < n; ++i) m[i] = static_cast<std::uint8_t>((i * 37 + n) & 0x7F);
  const Bytes header = {kSysExStart, 0x00, 0x51, 0x21, family, cmd};
  std::copy_n(header.begin(), std::min(n, header.size()), m.begin());
  if (n == kBlockMessageSize) {
    WriteBlockChecksum(m);
    m[kOffsetBlockChecksumLow] ^= 0x01;
  }
  if (n > 1) m.back() = kSysExEnd;
  return m;
}

const std::vector<std::uint8_t> kCommands = {kCmdPresetDump,
                                             kCmdGlobalBlock,
                                             kCmdIrNames,
                                             kCmdNameReport,
                                             kCmdParameterReport,
                                             kCmdIrDumpBegin,
                                             kCmdIrDumpData,
                                             kCmdIrDumpEnd,
                                             kReplyDone,
                                             kReplyIrSelect,
                                             kReplyIrStored,
                                             kReplyError,
                                             kReplyIrReady,
                                             kReplyWriteOk,
                                             kReplyWriteFail,
                                             kReplyWriteNext,
                                             0x00,
                                             0x7F};

class HostileInputTest : public Conversation {
 protected:
  void FeedEveryLength() {
    for (std::uint8_t cmd : kCommands) {
      for (std::size_t n = 1; n <= kLongestHostileMessage; ++n) {
        editor->OnSysEx(Patterned(n, cmd));
        editor->OnSysEx(Patterned(n, cmd, kFamilyLoader));
      }
    }
    // Foreign headers of every length.
    for (std::size_t n = 1; n <= kLongestHostileMessage; ++n) {
      Bytes m = Patterned(n, kCmdPresetDump);
      if (n > kOffsetManufacturer) m[kOffsetManufacturer] = 0x41;
      editor->OnSysEx(m);
    }
    Deliver();
  }

  // Replies the handshake sends answers to must still lead to a connection.
  void ExpectNormalHandshake() {
    // A stray DoneAck among the hostile replies legitimately reloads the
    // settings at the next tick; let that happen first.
    Tick();
    link.sent.clear();
    editor->SessionLogic().Reconnect();
    Handshake();
    EXPECT_TRUE(editor->Session().connected.load());
    EXPECT_EQ(CountSent(kCmdBulkBegin), 0);
    const auto names = SentNames();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "GlobalRequest 15");
    EXPECT_EQ(names[1], "GlobalRequest 3");
    EXPECT_EQ(names[2], "GlobalRequest 0");
  }
};

TEST_F(HostileInputTest, EveryLengthBeforeConnectingChangesNoFile) {
  Handshake();  // fills the cache
  editor->SessionLogic().Reconnect();
  const auto before = Files(data);
  FeedEveryLength();
  EXPECT_EQ(Files(data), before);
  EXPECT_FALSE(editor->Session().connected.load());
  ExpectNormalHandshake();
}

TEST_F(HostileInputTest, EveryLengthWhileConnectedChangesNoFile) {
  Handshake();
  const auto before = Files(data);
  FeedEveryLength();
  EXPECT_EQ(Files(data), before);
  ExpectNormalHandshake();
}

TEST_F(HostileInputTest, DuringAFetchTheCacheStaysWhole) {
  Tick(kPollTicks);
  Tick();  // BulkBegin; the fetch starts with the next tick
  FeedEveryLength();
  Tick();
  editor->OnFrameworkTimer();
  EXPECT_FALSE(editor->Session().fetching.load());
  const auto files = Files(data);
  const pedal::PedalState state = pedal.Snapshot();
  for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
    const auto& expected = state.presets[static_cast<std::size_t>(slot)];
    EXPECT_EQ(files.at(FileKey(editor->Cache().SlotPath(slot))),
              Bytes(expected.begin(), expected.end()))
        << "slot " << slot;
  }
}

TEST_F(HostileInputTest, OversizedIrDumpIsRefusedAndStoresNothing) {
  Handshake();
  constexpr int kSlot = 17;
  constexpr std::uint32_t kTooLong = 6000;  // 5250 unpacked bytes, more than the 4096 buffer
  const Bytes packed(kTooLong, 0x55);
  for (const Bytes& m : build::SplitIrTransfer(kSlot, packed)) editor->OnSysEx(m);
  EXPECT_FALSE(editor->IrStore().HasUserIr(kSlot));
  EXPECT_FALSE(fs::exists(editor->IrStore().PathOf(kSlot)));
}

TEST_F(HostileInputTest, IrDumpWithWrongStreamChecksumStoresNothing) {
  Handshake();
  constexpr int kSlot = 18;
  const Bytes image(kIrImageSize, 0x11);
  std::vector<Bytes> parts = build::SplitIrTransfer(kSlot, Pack(image));
  Bytes& end = parts.back();
  end[end.size() - kTrailerChecksumFromEnd + 1] ^= 0x01;
  for (const Bytes& m : parts) editor->OnSysEx(m);
  EXPECT_FALSE(editor->IrStore().HasUserIr(kSlot));

  // The same transfer intact is stored.
  for (const Bytes& m : build::SplitIrTransfer(kSlot, Pack(image))) editor->OnSysEx(m);
  EXPECT_TRUE(editor->IrStore().HasUserIr(kSlot));
}

TEST_F(HostileInputTest, PartsWithoutBeginAreIgnored) {
  Handshake();
  constexpr int kSlot = 19;
  const std::vector<Bytes> parts = build::SplitIrTransfer(kSlot, Pack(Bytes(kIrImageSize, 0x22)));
  for (std::size_t i = 1; i < parts.size(); ++i) editor->OnSysEx(parts[i]);
  EXPECT_FALSE(fs::exists(editor->IrStore().PathOf(kSlot)));
}

TEST_F(HostileInputTest, EveryHostileKindOfTheVirtualPedal) {
  Handshake();
  const auto before = Files(data);
  for (const pedal::HostileInfo& info : pedal::HostileKinds()) {
    pedal.SendHostile(info.kind);
    Deliver();
    Tick();
  }
  EXPECT_EQ(Files(data), before);
  ExpectNormalHandshake();
}

TEST_F(HostileInputTest, StrayRepliesStartNothing) {
  Handshake();
  link.sent.clear();
  for (std::uint8_t code :
       {kReplyIrSelect, kReplyIrStored, kReplyIrReady, kReplyWriteOk, kReplyWriteOkAlt,
        kReplyWriteFail, kReplyWriteFailAlt, kReplyWriteNext}) {
    inbox.push_back(build::ShortReply(code));
  }
  inbox.push_back(build::LoaderReply(kCmdFirmwareDone));
  Deliver();
  Tick(kPollTicks);
  editor->OnFrameworkTimer();
  EXPECT_TRUE(link.sent.empty());
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(editor->Session().connected.load());
}

}  // namespace
}  // namespace kr7::test
