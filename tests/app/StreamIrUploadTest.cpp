// The impulse-response upload transport against the virtual pedal: the image
// arrives whole in the slot and the pedal confirms it.

#include "tests/app/StreamConversation.h"

namespace kr7::test {
namespace {

constexpr int kTargetSlot = 7;
constexpr std::size_t kIrPacked = 2785;
constexpr int kUploadMessages = 11;  // IrDumpBegin, nine IrDumpData, IrDumpEnd

using StreamIrUploadTest = StreamConversation;

TEST_F(StreamIrUploadTest, UploadStoresImageInPedalSlot) {
  Handshake();
  link.sent.clear();
  const pedal::IrImage image = pedal::DeterministicIr("UPLOADED", 77);
  const Bytes packed = Pack(image);
  ASSERT_EQ(packed.size(), kIrPacked);
  ASSERT_TRUE(streams.StartIrUpload(kTargetSlot, packed));

  Tick(kUploadMessages + 2);
  EXPECT_EQ(CountSent(kCmdIrDumpBegin), 1);
  EXPECT_EQ(CountSent(kCmdIrDumpData), kUploadMessages - 2);
  EXPECT_EQ(CountSent(kCmdIrDumpEnd), 1);
  EXPECT_EQ(link.sent.size(), static_cast<std::size_t>(kUploadMessages));
  const pedal::PedalState state = pedal.Snapshot();
  ASSERT_TRUE(state.irs[kTargetSlot].has_value());
  EXPECT_EQ(*state.irs[kTargetSlot], image);
}

// A stray IrStoredAck neither ends an upload nor lets an import store early.
TEST_F(StreamIrUploadTest, StrayIrStoredAckIsIgnored) {
  Handshake();
  const pedal::IrImage image = pedal::DeterministicIr("UPLOADED", 77);
  editor->Session().presetFileSecondWaiting.store(true);
  ASSERT_TRUE(streams.StartIrUpload(kTargetSlot, Pack(image)));
  Tick(3);
  inbox.push_back(build::ShortReply(kReplyIrStored));
  Deliver();
  EXPECT_TRUE(editor->Session().presetFileSecondWaiting.load());
  Tick(kUploadMessages);
  EXPECT_FALSE(editor->Session().presetFileSecondWaiting.load());
  EXPECT_EQ(pedal.Snapshot().irs[kTargetSlot], image);
}

TEST_F(StreamIrUploadTest, UploadWaitsForIrReadyAfterBegin) {
  Handshake();
  link.sent.clear();
  pedal.DropNextReplies(1);  // the IrReadyAck is lost
  ASSERT_TRUE(streams.StartIrUpload(kTargetSlot, Pack(pedal::DeterministicIr("LOST", 5))));
  Tick(5);
  EXPECT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0][kOffsetCommand], kCmdIrDumpBegin);
}

TEST_F(StreamIrUploadTest, NoUploadWhileDisconnected) {
  EXPECT_FALSE(streams.StartIrUpload(kTargetSlot, Pack(pedal::DeterministicIr("OFFLINE", 6))));
  Tick(3);
  EXPECT_EQ(CountSent(kCmdIrDumpBegin), 0);
}

}  // namespace
}  // namespace kr7::test
