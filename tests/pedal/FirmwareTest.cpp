// The firmware loader: FirmwareReady on FirmwareStart, then FirmwareDone
// when the whole image arrived with a right stream checksum, FirmwareFailed
// otherwise.

#include <gmock/gmock.h>

#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

constexpr std::size_t kImageSize = 480;  // packs to N = 549: 240 + 240 + 69

Bytes LoaderReplyBytes(std::uint8_t code) { return {0xF0, 0x00, 0x51, 0x21, 0x02, code, 0xF7}; }
const Bytes kFirmwareReady = LoaderReplyBytes(0x12);
const Bytes kFirmwareDone = LoaderReplyBytes(0x14);
const Bytes kFirmwareFailed = LoaderReplyBytes(0x15);

Bytes Image(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return image;
}

TEST(PedalFirmware, StartIsAnsweredWithFirmwareReady) {
  PedalHarness harness;
  const Bytes start = {0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
                       0x10,                          // FirmwareStart
                       0xF7};
  EXPECT_EQ(harness.OnlyReply(start), kFirmwareReady);
}

TEST(PedalFirmware, RightImageEndsWithFirmwareDone) {
  PedalHarness harness;
  const Bytes image = Image(kImageSize);
  const std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(image));
  ASSERT_EQ(messages.size(), 3u);
  ASSERT_EQ(messages[0].size(), 250u);
  EXPECT_EQ(Slice(messages[0], 5, 4), (Bytes{0x13,                 // FirmwareFirst
                                             0x00, 0x04, 0x25}));  // N = 549
  EXPECT_EQ(messages[2].size(), 78u);  // 69 bytes + checksum
  EXPECT_EQ(harness.OnlyReply(build::FirmwareStart()), kFirmwareReady);
  EXPECT_TRUE(harness.Exchange(messages[0]).empty());  // no reply per message
  EXPECT_TRUE(harness.Exchange(messages[1]).empty());
  EXPECT_EQ(harness.OnlyReply(messages[2]), kFirmwareDone);
  EXPECT_EQ(harness.pedal.Snapshot().firmware, image);
  EXPECT_EQ(harness.pedal.Snapshot().version, kDefaultVersion + 1);  // the update's one trace
}

TEST(PedalFirmware, CorruptedImageEndsWithFirmwareFailed) {
  PedalHarness harness;
  std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(Image(kImageSize)));
  messages[1][100] ^= 0x01;  // a data byte damaged on the way; the checksum was for the original
  harness.Exchange(build::FirmwareStart());
  harness.Exchange(messages[0]);
  harness.Exchange(messages[1]);
  EXPECT_EQ(harness.OnlyReply(messages[2]), kFirmwareFailed);
  EXPECT_TRUE(harness.pedal.Snapshot().firmware.empty());
  EXPECT_EQ(harness.pedal.Snapshot().version, kDefaultVersion);
}

TEST(PedalFirmware, WrongChecksumEndsWithFirmwareFailed) {
  PedalHarness harness;
  std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(Image(kImageSize)));
  Bytes& last = messages.back();
  last[last.size() - 2] ^= 0x01;
  harness.Exchange(build::FirmwareStart());
  harness.Exchange(messages[0]);
  harness.Exchange(messages[1]);
  EXPECT_EQ(harness.OnlyReply(last), kFirmwareFailed);
}

TEST(PedalFirmware, MissingMessageEndsWithFirmwareFailedOnce) {
  PedalHarness harness;
  const std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(Image(2000)));
  ASSERT_GT(messages.size(), 4u);
  harness.Exchange(build::FirmwareStart());
  harness.Exchange(messages[0]);
  // Message 1 lost: the last one arrives where a full one is expected.
  for (std::size_t i = 2; i + 1 < messages.size(); ++i) harness.Exchange(messages[i]);
  const std::vector<Bytes> verdict = harness.Exchange(messages.back());
  EXPECT_EQ(verdict, std::vector<Bytes>{kFirmwareFailed});
}

TEST(PedalFirmware, FirstWithoutStartFails) {
  PedalHarness harness;
  const std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(Image(kImageSize)));
  EXPECT_EQ(harness.OnlyReply(messages[0]), kFirmwareFailed);
  EXPECT_TRUE(harness.Exchange(messages[1]).empty());  // nothing running: ignored
}

TEST(PedalFirmware, ImageOfOneChunkWaitsForItsChecksumMessage) {
  PedalHarness harness;
  const std::vector<Bytes> messages = build::SplitFirmwareTransfer(Pack(Image(100)));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].size(), 9u);  // no data, only the checksum
  harness.Exchange(build::FirmwareStart());
  EXPECT_TRUE(harness.Exchange(messages[0]).empty());
  EXPECT_EQ(harness.OnlyReply(messages[1]), kFirmwareDone);
  EXPECT_EQ(harness.pedal.Snapshot().firmware, Image(100));
}

TEST(PedalFirmware, ImpossibleLengthFailsAtOnce) {
  PedalHarness harness;
  harness.Exchange(build::FirmwareStart());
  EXPECT_EQ(harness.OnlyReply(build::FirmwareFirst(kMaxFirmwarePacked + 1, Bytes(240))),
            kFirmwareFailed);
}

}  // namespace
}  // namespace kr7::pedal::test
