#include <gtest/gtest.h>

#include "MessagesTestSupport.h"
#include "device/ImportRewrite.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

using testing::RampPayload;

constexpr std::uint8_t kOldFormat = 0x0B;

// A capture as an export writes it: one preset dump, then one impulse
// response of 612 packed bytes (Begin 256, Data 256, End 100), all 0x7F so
// the running sum passes 65535. The captured End carries a stale checksum.
Bytes SyntheticCapture() {
  Bytes capture;
  Bytes dump = build::PresetDump(2, RampPayload());
  dump[kOffsetFormat] = kOldFormat;
  capture.insert(capture.end(), dump.begin(), dump.end());
  const Bytes packed(2 * kIrChunkSize + 100, 0x7F);
  auto parts = build::SplitIrTransfer(5, packed);
  Bytes& end = parts.back();
  end[end.size() - kTrailerChecksumFromEnd] = 0x00;
  end[end.size() - kTrailerChecksumFromEnd + 1] = 0x00;
  for (const Bytes& part : parts) capture.insert(capture.end(), part.begin(), part.end());
  return capture;
}

TEST(ImportRewrite, SyntheticCapture) {
  const auto messages = RewriteCaptureForImport(SyntheticCapture());
  ASSERT_EQ(messages.size(), 4u);

  const Bytes& preset = messages[0];
  ASSERT_EQ(preset.size(), kBlockMessageSize);
  EXPECT_EQ(Bytes(preset.begin(), preset.begin() + kOffsetBlockContents),
            (Bytes{
                0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                0x7F,                          // ImportPresetWrite (was 0x41)
                0x0C,                          // format byte (was 0x0B)
                0x02,                          // slot
            }));
  EXPECT_EQ(Bytes(preset.end() - 3, preset.end()), (Bytes{0x7F, 0x00, 0xF7}));  // unchanged

  EXPECT_EQ(messages[1][kOffsetCommand], kCmdImportIrBegin);
  EXPECT_EQ(messages[1].size(), kIrDumpBeginSize);
  EXPECT_EQ(messages[2][kOffsetCommand], kCmdImportIrData);
  EXPECT_EQ(messages[2].size(), kIrDumpDataSize);

  // 612 × 0x7F = 77724; kept in 16 bits 12188; 14 bits 12188 = 95 · 128 + 28.
  const Bytes& end = messages[3];
  ASSERT_EQ(end.size(), 100 + kIrDumpEndOverhead);
  EXPECT_EQ(Bytes(end.begin(), end.begin() + kOffsetIrPacked),
            (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                   0x79,                          // ImportIrEnd (was 0x66)
                   0x0C}));
  EXPECT_EQ(Bytes(end.end() - 3, end.end()), (Bytes{
                                                 0x5F,  // checksum high, recomputed
                                                 0x1C,  // checksum low
                                                 0xF7,
                                             }));
}

TEST(ImportRewrite, SecondImpulseResponseStartsAFreshSum) {
  Bytes capture = SyntheticCapture();
  for (const Bytes& part : build::SplitIrTransfer(6, Bytes(kIrChunkSize + 3, 0x01))) {
    capture.insert(capture.end(), part.begin(), part.end());
  }
  const auto messages = RewriteCaptureForImport(capture);
  ASSERT_EQ(messages.size(), 6u);
  const Bytes& end = messages.back();
  // 259 × 0x01 = 259 = 2 · 128 + 3.
  EXPECT_EQ(Bytes(end.end() - 3, end.end()), (Bytes{0x02, 0x03, 0xF7}));
}

TEST(ImportRewrite, OtherMessagesOnlyGetTheFormatByte) {
  Bytes m = build::GlobalBlock(kGlobalSettings, RampPayload());
  m[kOffsetFormat] = kOldFormat;
  Bytes expected = build::GlobalBlock(kGlobalSettings, RampPayload());
  ImportRewriter rewriter;
  EXPECT_TRUE(rewriter.Rewrite(m));
  EXPECT_EQ(m, expected);
}

TEST(ImportRewrite, ShortDumpPartsStayInsideTheMessage) {
  ImportRewriter rewriter;
  // A damaged Begin of 20 bytes: the sum covers bytes 12..18 only.
  Bytes begin = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x60, 0x0C,  // header, IrDumpBegin
                 0x00, 0x01,                                // slot
                 0x00, 0x15, 0x61,                          // N
                 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,  // seven data bytes
                 0xF7};
  ASSERT_TRUE(rewriter.Rewrite(begin));
  EXPECT_EQ(begin[kOffsetCommand], kCmdImportIrBegin);
  EXPECT_EQ(rewriter.RunningChecksum(), 7);
  // An End too short to hold a checksum is relabelled but not written into.
  Bytes end = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x66, 0x0B, 0x55, 0xF7};
  ASSERT_TRUE(rewriter.Rewrite(end));
  EXPECT_EQ(end, (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,
                        0x79,  // ImportIrEnd
                        0x0C,  // format byte
                        0x55,  // untouched
                        0xF7}));
  // Too short to have a format byte: left alone.
  Bytes tiny = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x66};
  const Bytes tinyBefore = tiny;
  EXPECT_FALSE(rewriter.Rewrite(tiny));
  EXPECT_EQ(tiny, tinyBefore);
}

TEST(ImportRewrite, CaptureWithoutFinalF7DropsTheTail) {
  Bytes capture = build::PresetDump(0, RampPayload());
  capture.insert(capture.end(), {0xF0, 0x00, 0x51});
  EXPECT_EQ(RewriteCaptureForImport(capture).size(), 1u);
  EXPECT_TRUE(RewriteCaptureForImport({}).empty());
}

}  // namespace
}  // namespace kr7
