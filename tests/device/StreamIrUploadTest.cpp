// The impulse-response upload transport: IrDumpBegin, a reply, nine data
// messages one per tick, and the end with the stream checksum.

#include <gtest/gtest.h>

#include "device/Checksums.h"
#include "device/StreamsIrUpload.h"
#include "device/StreamsProgress.h"
#include "tests/device/StreamTestSupport.h"

namespace kr7::test {
namespace {

constexpr std::size_t kIrPacked = 2785;  // one 2436-byte image, packed
constexpr int kSlot = 3;
constexpr std::size_t kDataMessages = 9;
constexpr std::size_t kLastChunk = kIrPacked - kIrChunkSize * (1 + kDataMessages);  // 225

Bytes PackedImage() {
  Bytes packed(kIrPacked);
  for (std::size_t i = 0; i < packed.size(); ++i) packed[i] = static_cast<std::uint8_t>((i * 7) & 0x7F);
  return packed;
}

TEST(StreamIrUpload, DoesNotStartWhileDisconnected) {
  IrUploadStream upload;
  EXPECT_FALSE(upload.Start(kSlot, PackedImage(), false));
  EXPECT_FALSE(upload.Ready());
}

TEST(StreamIrUpload, RefusesEmptyImage) {
  IrUploadStream upload;
  EXPECT_FALSE(upload.Start(kSlot, {}, true));
}

TEST(StreamIrUpload, SendsBeginWaitsThenNineDataAndEnd) {
  RecordingStreamHost host;
  IrUploadStream upload;
  const Bytes packed = PackedImage();
  ASSERT_TRUE(upload.Start(kSlot, packed, true));

  upload.Step(host);
  ASSERT_EQ(host.sent.size(), 1u);
  EXPECT_EQ(host.sent[0], build::IrDumpBegin(kSlot, kIrPacked, ByteSpan(packed).first(kIrChunkSize)));
  EXPECT_TRUE(host.view.Shown(kPresetProgress.group));
  // Waits for IrReadyAck.
  upload.Step(host);
  EXPECT_EQ(host.sent.size(), 1u);

  upload.OnIrReady();
  for (std::size_t k = 0; k < kDataMessages; ++k) upload.Step(host);
  ASSERT_EQ(host.sent.size(), 1 + kDataMessages);
  for (std::size_t k = 0; k < kDataMessages; ++k) {
    EXPECT_EQ(host.sent[1 + k],
              build::IrDumpData(ByteSpan(packed).subspan(kIrChunkSize * (1 + k), kIrChunkSize)));
  }
  upload.Step(host);
  ASSERT_EQ(host.sent.size(), 2 + kDataMessages);
  const Bytes& end = host.sent.back();
  EXPECT_EQ(end.size(), kLastChunk + kIrDumpEndOverhead);
  EXPECT_EQ(end, build::IrDumpEnd(ByteSpan(packed).last(kLastChunk), StreamChecksumOf(packed)));
  EXPECT_EQ(host.view.texts[kPresetProgress.textTag], "0 %");
  EXPECT_TRUE(host.view.Hidden(kPresetProgress.group));

  // Finished: nothing more goes out.
  upload.Step(host);
  EXPECT_EQ(host.sent.size(), 2 + kDataMessages);
}

TEST(StreamIrUpload, StrayIrReadyReleasesNothing) {
  RecordingStreamHost host;
  IrUploadStream upload;
  upload.OnIrReady();  // before any upload
  EXPECT_FALSE(upload.Ready());

  const Bytes packed = PackedImage();
  ASSERT_TRUE(upload.Start(kSlot, packed, true));
  upload.Step(host);
  upload.OnIrReady();
  for (std::size_t k = 0; k <= kDataMessages; ++k) upload.Step(host);
  ASSERT_FALSE(upload.Ready());
  // After the end part a late or repeated reply starts nothing again.
  upload.OnIrReady();
  EXPECT_FALSE(upload.Ready());
  upload.Step(host);
  EXPECT_EQ(host.sent.size(), 2 + kDataMessages);
}

TEST(StreamIrUpload, ProgressFollowsPosition) {
  RecordingStreamHost host;
  IrUploadStream upload;
  ASSERT_TRUE(upload.Start(kSlot, PackedImage(), true));
  upload.Step(host);
  EXPECT_EQ(host.view.texts[kPresetProgress.textTag], "9 %");  // 256 / 2785
  upload.OnIrReady();
  upload.Step(host);
  EXPECT_EQ(host.view.texts[kPresetProgress.textTag], "18 %");  // 512 / 2785
}

}  // namespace
}  // namespace kr7::test
