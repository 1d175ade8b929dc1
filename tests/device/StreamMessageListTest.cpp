// The message-list stream: one message per tick, paced by the pedal's
// replies, refusing buffers it could not send whole.

#include <gtest/gtest.h>

#include "device/StreamsMessageList.h"
#include "tests/device/StreamTestSupport.h"

namespace kr7::test {
namespace {

constexpr std::size_t kSmallMessageSize = 9;

// Three PresetRequest-sized messages with distinct bodies.
Bytes ThreeMessages() {
  return Concat({FramedMessage(kCmdPresetRequest, kSmallMessageSize, 0x01),
                 FramedMessage(kCmdPresetRequest, kSmallMessageSize, 0x02),
                 FramedMessage(kCmdPresetRequest, kSmallMessageSize, 0x03)});
}

TEST(StreamMessageList, RefusesEmptyBuffer) {
  MessageListStream stream;
  EXPECT_FALSE(stream.Load({}));
  EXPECT_EQ(stream.Total(), 0);
}

TEST(StreamMessageList, RefusesBufferWithoutFinalF7) {
  MessageListStream stream;
  Bytes buffer = ThreeMessages();
  buffer.push_back(kSysExStart);  // a fourth message that never ends
  EXPECT_FALSE(stream.Load(buffer));
  EXPECT_EQ(stream.Total(), 0);
}

TEST(StreamMessageList, RefusesMessageLongerThan512Bytes) {
  MessageListStream stream;
  const Bytes buffer = Concat({FramedMessage(kCmdPresetRequest, kSmallMessageSize),
                               FramedMessage(kCmdPresetDump, MessageListStream::kMaxMessageSize + 1)});
  EXPECT_FALSE(stream.Load(buffer));
  EXPECT_EQ(stream.Total(), 0);
}

TEST(StreamMessageList, TakesMessageOfExactly512Bytes) {
  MessageListStream stream;
  EXPECT_TRUE(stream.Load(FramedMessage(kCmdPresetDump, MessageListStream::kMaxMessageSize)));
  EXPECT_EQ(stream.Total(), 1);
}

TEST(StreamMessageList, RefusedBufferKeepsEarlierList) {
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(ThreeMessages()));
  EXPECT_FALSE(stream.Load({kSysExStart}));
  EXPECT_EQ(stream.Total(), 3);
}

TEST(StreamMessageList, ThreeMessagesGoOnFourTicksAndCompleteAfterThirdReply) {
  RecordingStreamHost host;
  MessageListStream stream;
  const Bytes buffer = ThreeMessages();
  ASSERT_TRUE(stream.Load(buffer));
  stream.Start();

  auto sent = stream.Step(host);  // tick 1: BulkBegin only
  ASSERT_TRUE(sent);
  EXPECT_TRUE(sent->bulkBegin);
  EXPECT_EQ(host.sent.back(), build::BulkBegin());

  for (int i = 0; i < 3; ++i) {
    sent = stream.Step(host);
    ASSERT_TRUE(sent) << "message " << i;
    EXPECT_FALSE(sent->bulkBegin);
    EXPECT_EQ(sent->index, i);
    EXPECT_EQ(host.sent.back(), Bytes(stream.Message(i).begin(), stream.Message(i).end()));
    // Nothing more until the reply.
    EXPECT_FALSE(stream.Step(host));
    EXPECT_EQ(stream.OnReply(ListReply::WriteOk),
              i < 2 ? ListReplyOutcome::Advanced : ListReplyOutcome::Completed);
  }
  EXPECT_FALSE(stream.Running());
  EXPECT_EQ(host.sent.size(), 4u);
}

TEST(StreamMessageList, ReplyWhenNothingAwaitedChangesNothing) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(ThreeMessages()));
  // Before the start, and between BulkBegin and the first message.
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Ignored);
  stream.Start();
  stream.Step(host);
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Ignored);
  EXPECT_EQ(stream.Index(), 0);

  stream.Step(host);  // message 0
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Advanced);
  // A repeated reply does not skip message 1.
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Ignored);
  EXPECT_EQ(stream.Index(), 1);
}

TEST(StreamMessageList, StrayRepliesCannotCompleteStoppedStream) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(FramedMessage(kCmdPresetRequest, kSmallMessageSize)));
  stream.Start();
  stream.Step(host);
  stream.Step(host);  // the only message, awaiting its reply
  stream.Stop();
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Ignored);
}

TEST(StreamMessageList, WriteFailThenRetrySendsSameMessageAgain) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(ThreeMessages()));
  stream.Start();
  stream.Step(host);
  stream.Step(host);  // message 0
  EXPECT_EQ(stream.OnReply(ListReply::WriteFail), ListReplyOutcome::Failed);
  stream.Retry();
  const auto sent = stream.Step(host);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->index, 0);
  EXPECT_EQ(host.sent[1], host.sent[2]);
}

TEST(StreamMessageList, WriteNextForLastMessageFinishesWithoutCompletion) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(FramedMessage(kCmdPresetRequest, kSmallMessageSize)));
  stream.Start();
  stream.Step(host);
  stream.Step(host);
  EXPECT_EQ(stream.OnReply(ListReply::WriteNext), ListReplyOutcome::Finished);
  EXPECT_FALSE(stream.Running());
}

TEST(StreamMessageList, ImportIrDataFollowsWithoutWaiting) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(Concat({FramedMessage(kCmdImportIrData, kIrDumpDataSize),
                                  FramedMessage(kCmdImportIrData, kIrDumpDataSize),
                                  FramedMessage(kCmdImportIrEnd, kIrDumpEndOverhead + 1)})));
  stream.Start();
  stream.Step(host);  // BulkBegin
  ASSERT_TRUE(stream.Step(host));
  ASSERT_TRUE(stream.Step(host));  // no reply in between
  ASSERT_TRUE(stream.Step(host));
  EXPECT_FALSE(stream.Step(host));  // the end part waits
  EXPECT_EQ(host.Commands(), (std::vector<std::uint8_t>{kCmdBulkBegin, kCmdImportIrData,
                                                        kCmdImportIrData, kCmdImportIrEnd}));
  EXPECT_EQ(stream.OnReply(ListReply::WriteOk), ListReplyOutcome::Completed);
}

TEST(StreamMessageList, RewriteActsOnCopyBeforeSending) {
  RecordingStreamHost host;
  MessageListStream stream;
  ASSERT_TRUE(stream.Load(FramedMessage(kCmdIrDumpData, kIrDumpDataSize)));
  stream.Start();
  stream.Step(host);
  const auto rewrite = [](MutableByteSpan m) { m[kOffsetCommand] = kCmdImportIrData; };
  ASSERT_TRUE(stream.Step(host, rewrite));
  EXPECT_EQ(host.sent.back()[kOffsetCommand], kCmdImportIrData);
  EXPECT_EQ(stream.Message(0)[kOffsetCommand], kCmdIrDumpData);
}

TEST(StreamMessageList, SetFormatBytesRewritesEveryMessage) {
  MessageListStream stream;
  Bytes first = FramedMessage(kCmdFactoryPresetWrite, kBlockMessageSize);
  first[kOffsetFormat] = 11;
  Bytes second = first;
  ASSERT_TRUE(stream.Load(Concat({first, second})));
  stream.SetFormatBytes(kFormatByte);
  EXPECT_EQ(stream.Message(0)[kOffsetFormat], kFormatByte);
  EXPECT_EQ(stream.Message(1)[kOffsetFormat], kFormatByte);
}

}  // namespace
}  // namespace kr7::test
