#include <gtest/gtest.h>

#include "MessagesTestSupport.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

using testing::ExpectBlock;
using testing::RampPayload;

TEST(BuildEditor, PresetStore) {
  ExpectBlock(build::PresetStore(3, RampPayload()),
              {
                  0xF0,              // start
                  0x00, 0x51, 0x21,  // manufacturer
                  0x03,              // editor family
                  0x20,              // PresetStore
                  0x0C,              // format byte
                  0x03,              // slot 3
              },
              RampPayload(),
              {
                  0x7F, 0x00,  // checksum 0x3F80
                  0xF7,        // end
              });
}

TEST(BuildEditor, PresetStoreZeroFillsAShortPayload) {
  const Bytes shortPayload = {0x01, 0x00, 0x41};
  ExpectBlock(build::PresetStore(0, shortPayload), {0xF0, 0x00, 0x51, 0x21, 0x03, 0x20, 0x0C, 0x00},
              shortPayload,
              {
                  0x00,
                  0x42,  // 0x01 + 0x41 = 0x42
                  0xF7,
              });
}

// Golden vectors of every message short enough to spell out whole.
struct Golden {
  const char* what;
  Bytes built;
  Bytes expected;
};

std::vector<Golden> ShortGoldens() {
  return {
      {"PresetSelect 5",
       build::PresetSelect(5),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x23, 0x0C,                    // PresetSelect, format byte
        0x05, 0xF7}},                  // slot 5, end
      {"PresetRequest 127",
       build::PresetRequest(127),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x40, 0x0C,                    // PresetRequest, format byte
        0x7F, 0xF7}},                  // slot 127, end
      {"ParameterSet 12 = 100",
       build::ParameterSet(12, 100),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x50, 0x0C,                    // ParameterSet, format byte
        0x0C, 0x64, 0xF7}},            // device parameter 12, value 100, end
      {"ParameterSet masks to data bytes",
       build::ParameterSet(0x8C, 0xFF),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x50, 0x0C,                    // ParameterSet, format byte
        0x0C, 0x7F, 0xF7}},            // 0x8C & 0x7F, 0xFF & 0x7F, end
      {"GlobalRequest 15",
       build::GlobalRequest(kGlobalIdentity),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x55, 0x0C,                    // GlobalRequest, format byte
        0x0F, 0xF7}},                  // type 15 (identity), end
      {"FactoryReset 1",
       build::FactoryReset(1),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x56, 0x0C,                    // FactoryReset, format byte
        0x01, 0xF7}},                  // presets only, end
      {"BulkBegin",
       build::BulkBegin(),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x5A, 0x0C, 0xF7}},            // BulkBegin, format byte, end in byte 7
      {"BulkEnd",
       build::BulkEnd(),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x5B, 0x0C, 0xF7}},            // BulkEnd, format byte, end
      {"EditorClosed",
       build::EditorClosed(),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x5F, 0x0C, 0xF7}},            // EditorClosed, format byte, end
      {"IrRequest 300",
       build::IrRequest(300),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x69, 0x0C,                    // IrRequest, format byte
        0x02, 0x2C, 0xF7}},            // slot 300 = 2 · 128 + 44, end
      {"IrNamesRequest 8",
       build::IrNamesRequest(8),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x6A, 0x0C,                    // IrNamesRequest, format byte
        0x08, 0xF7}},                  // page 8 (bank 2), end
      {"IrDumpEnd n = 3",
       build::IrDumpEnd(Bytes{0x01, 0x02, 0x03}, 0x0206),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x66, 0x0C,                    // IrDumpEnd, format byte
        0x01, 0x02, 0x03,              // the last three packed bytes
        0x04, 0x06, 0xF7}},            // checksum 0x0206 high, low, end
      {"ParameterReport 0 = 100",
       build::ParameterReport(0, 100),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x51, 0x0C,                    // ParameterReport, format byte
        0x00, 0x64, 0xF7}},            // parameter 0, value 100, end
      {"WriteOkAck, seven bytes",
       build::ShortReply(kReplyWriteOk),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x71, 0xF7}},                  // reply code; byte 6 is the end
      {"DoneAck, ten bytes",
       build::ShortReply(kReplyDone, Bytes{0x00, 0x00, 0x00, 0x00}),
       {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
        0x57,                          // reply code
        0x00, 0x00, 0x00, 0xF7}},      // filler cut to three bytes, end
      {"FirmwareReady",
       build::LoaderReply(kCmdFirmwareReady),
       {0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
        0x12, 0xF7}},                  // FirmwareReady, end
      {"FirmwareStart",
       build::FirmwareStart(),
       {0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
        0x10, 0xF7}},                  // FirmwareStart, end
      {"FirmwareData last, n = 2",
       build::FirmwareDataLast(Bytes{0x05, 0x06}, 0x0B),
       {0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
        0x20,                          // FirmwareData, no format byte
        0x05, 0x06,                    // the last two packed bytes
        0x00, 0x0B, 0xF7}},            // checksum 11 high, low, end
  };
}

TEST(Build, ShortMessagesAreByteExact) {
  for (const Golden& g : ShortGoldens()) EXPECT_EQ(g.built, g.expected) << g.what;
}

TEST(BuildEditor, FactoryPresetWriteLikeTheBankEntryForSlot0) {
  Bytes payload(kPresetPayloadSize, 0);
  payload[0] = 0x01;
  const Bytes m = build::FactoryPresetWrite(0, payload);
  ExpectBlock(m,
              {
                  0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                  0x7C,                          // FactoryPresetWrite
                  0x0C,                          // format byte
                  0x00,                          // slot 0
              },
              payload,
              {
                  0x00,
                  0x01,  // sum 1
                  0xF7,
              });
  EXPECT_EQ(m[kOffsetBlockContents], 0x01);
  EXPECT_EQ(m[kOffsetBlockContents + 1], 0x00);
  EXPECT_TRUE(BlockChecksumOk(m));
}

TEST(BuildEditor, ControllerMapFillsOnlyBytes8To15) {
  Bytes values(kControllerMapReceivedCount);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint8_t>(i + 1);
  const Bytes m = build::ControllerMap(values);
  const Bytes firstEightValues = {1, 2, 3, 4, 5, 6, 7, 8};
  ExpectBlock(m,
              {
                  0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                  0x52,                          // GlobalBlock
                  0x0C,                          // format byte
                  0x01,                          // type 1, controller map
              },
              firstEightValues,  // bytes 16..263 stay 0
              {
                  0x00,
                  0x24,  // 1 + ... + 8 = 36
                  0xF7,
              });
}

TEST(BuildEditor, SettingsSwitchByte) {
  EXPECT_EQ(EncodeSettingsSwitch(1), 2);
  EXPECT_EQ(EncodeSettingsSwitch(0), 0);
  EXPECT_EQ(DecodeSettingsSwitch(2), 1);
  EXPECT_EQ(DecodeSettingsSwitch(1), 1);
  EXPECT_EQ(DecodeSettingsSwitch(0), 0);
  EXPECT_EQ(ContentsIndex(kSettingsSwitchByte), 6u);
}

TEST(BuildBoth, IrDumpBegin) {
  Bytes packed(kIrChunkSize, 0x11);
  const Bytes m = build::IrDumpBegin(300, 2785, packed);
  ASSERT_EQ(m.size(), kIrDumpBeginSize);
  EXPECT_EQ(Bytes(m.begin(), m.begin() + kOffsetIrBeginPacked), (Bytes{
                                                                    0xF0, 0x00, 0x51, 0x21, 0x03,
                                                                    0x60,        // IrDumpBegin
                                                                    0x0C,        // format byte
                                                                    0x02, 0x2C,  // slot 300
                                                                    0x00, 0x15, 0x61,  // N 2785
                                                                }));
  EXPECT_EQ(Bytes(m.begin() + kOffsetIrBeginPacked, m.end() - 1), packed);
  EXPECT_EQ(m.back(), kSysExEnd);
}

TEST(BuildBoth, IrDumpData) {
  Bytes packed(kIrChunkSize, 0x22);
  const Bytes m = build::IrDumpData(packed);
  ASSERT_EQ(m.size(), kIrDumpDataSize);
  EXPECT_EQ(Bytes(m.begin(), m.begin() + kOffsetIrPacked),
            (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                   0x65,                          // IrDumpData
                   0x0C}));
  EXPECT_EQ(Bytes(m.begin() + kOffsetIrPacked, m.end() - 1), packed);
  EXPECT_EQ(m.back(), kSysExEnd);
}

TEST(BuildPedal, PresetDump) {
  ExpectBlock(build::PresetDump(9, RampPayload()),
              {
                  0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                  0x41,                          // PresetDump
                  0x0C,                          // format byte
                  0x09,                          // slot 9
              },
              RampPayload(), {0x7F, 0x00, 0xF7});
}

TEST(BuildPedal, IdentityBlockCarriesVersionAndSerial) {
  const Bytes m = build::IdentityBlock(12, "KR7");
  Bytes contents(kBlockContentsSize, 0);
  const std::size_t serial = ContentsIndex(kIdentitySerialByte);
  std::fill_n(contents.begin() + static_cast<std::ptrdiff_t>(serial), kTextFieldSize, kTextPad);
  contents[serial] = 'K';
  contents[serial + 1] = 'R';
  contents[serial + 2] = '7';
  // 'K' + 'R' + '7' + 29 spaces = 75 + 82 + 55 + 928 = 1140 = 8 · 128 + 116.
  ExpectBlock(m,
              {
                  0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                  0x52,                          // GlobalBlock
                  0x0C,                          // version 1.2 × 10
                  0x0F,                          // type 15, identity
              },
              contents, {0x08, 0x74, 0xF7});
}

TEST(BuildPedal, IrNames) {
  Bytes names(kBlockContentsSize, kTextPad);
  names[0] = 'A';
  const Bytes m = build::IrNames(4, names);
  // 'A' + 255 spaces = 65 + 8160 = 8225 = 64 · 128 + 33.
  ExpectBlock(m,
              {
                  0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                  0x6B,                          // IrNames
                  0x0C,                          // format byte
                  0x04,                          // page 4
              },
              names, {0x40, 0x21, 0xF7});
}

TEST(BuildPedal, NameReport) {
  const Bytes m = build::NameReport("AMP");
  Bytes expected = {
      0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
      0x7B,                          // NameReport
      0x0C,                          // format byte
      'A',  'M',  'P',               // name, then 29 spaces
  };
  expected.insert(expected.end(), kTextFieldSize - 3, kTextPad);
  expected.insert(expected.end(), {
                                      0x00,
                                      0x00,  // bytes 39, 40: not read
                                      0xF7,
                                  });
  EXPECT_EQ(m, expected);
  EXPECT_EQ(m.size(), kNameReportSize);
}

TEST(BuildLoader, FirmwareFirst) {
  const Bytes packed(kFirmwareChunkSize, 0x33);
  const Bytes m = build::FirmwareFirst(549, packed);
  ASSERT_EQ(m.size(), kFirmwareFirstSize);
  EXPECT_EQ(Bytes(m.begin(), m.begin() + kOffsetFirmwareFirstPacked),
            (Bytes{
                0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
                0x13,                          // FirmwareFirst
                0x00, 0x04, 0x25,              // N = 549, no format byte before it
            }));
  EXPECT_EQ(Bytes(m.begin() + kOffsetFirmwareFirstPacked, m.end() - 1), packed);
  EXPECT_EQ(m.back(), kSysExEnd);
}

TEST(BuildLoader, FirmwareData) {
  const Bytes packed(kFirmwareChunkSize, 0x44);
  const Bytes m = build::FirmwareData(packed);
  ASSERT_EQ(m.size(), kFirmwareDataSize);
  EXPECT_EQ(Bytes(m.begin(), m.begin() + kOffsetFirmwarePacked),
            (Bytes{0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
                   0x20}));                       // FirmwareData
  EXPECT_EQ(Bytes(m.begin() + kOffsetFirmwarePacked, m.end() - 1), packed);
}

TEST(Split, IrTransferOf2785) {
  Bytes packed(2785);
  for (std::size_t i = 0; i < packed.size(); ++i) packed[i] = static_cast<std::uint8_t>(i % 100);
  const auto messages = build::SplitIrTransfer(7, packed);
  ASSERT_EQ(messages.size(), 11u);  // Begin, nine Data, End
  EXPECT_EQ(messages.front().size(), kIrDumpBeginSize);
  for (std::size_t i = 1; i < 10; ++i) EXPECT_EQ(messages[i].size(), kIrDumpDataSize);
  EXPECT_EQ(messages.back().size(), 225 + kIrDumpEndOverhead);  // 2785 − 10 · 256
  EXPECT_EQ(messages.front()[kOffsetCommand], kCmdIrDumpBegin);
  EXPECT_EQ(messages[1][kOffsetCommand], kCmdIrDumpData);
  EXPECT_EQ(messages.back()[kOffsetCommand], kCmdIrDumpEnd);

  // Reassemble the data parts and compare, then the checksum in front of F7.
  Bytes joined(messages.front().begin() + kOffsetIrBeginPacked, messages.front().end() - 1);
  for (std::size_t i = 1; i < 10; ++i) {
    joined.insert(joined.end(), messages[i].begin() + kOffsetIrPacked, messages[i].end() - 1);
  }
  const Bytes& end = messages.back();
  joined.insert(joined.end(), end.begin() + kOffsetIrPacked,
                end.end() - static_cast<std::ptrdiff_t>(kTrailerChecksumFromEnd));
  EXPECT_EQ(joined, packed);
  const std::uint16_t checksum = StreamChecksumOf(packed);
  EXPECT_EQ(end[end.size() - kTrailerChecksumFromEnd], High7(checksum));
  EXPECT_EQ(end[end.size() - kTrailerChecksumFromEnd + 1], Low7(checksum));
}

TEST(Split, ExactMultipleLeavesAFullLastChunk) {
  const Bytes packed(2 * kIrChunkSize, 0x01);
  const auto messages = build::SplitIrTransfer(0, packed);
  ASSERT_EQ(messages.size(), 2u);  // Begin with 256, End with the other 256
  EXPECT_EQ(messages.back().size(), kIrDumpEndMaxSize);
}

TEST(Split, FirmwareOf480ByteImage) {
  const Bytes image(480, 0xA5);
  const Bytes packed = Pack(image);
  ASSERT_EQ(packed.size(), 549u);
  const auto messages = build::SplitFirmwareTransfer(packed);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].size(), kFirmwareFirstSize);
  EXPECT_EQ(messages[1].size(), kFirmwareDataSize);
  EXPECT_EQ(messages[2].size(), 78u);  // 69 bytes + 9
  EXPECT_EQ(Bytes(messages[0].begin() + kOffsetFirmwareTotalLength,
                  messages[0].begin() + kOffsetFirmwareFirstPacked),
            (Bytes{0x00, 0x04, 0x25}));
  const std::uint16_t checksum = StreamChecksumOf(packed);
  const Bytes& last = messages[2];
  EXPECT_EQ(last[last.size() - kTrailerChecksumFromEnd], High7(checksum));
  EXPECT_EQ(last[last.size() - kTrailerChecksumFromEnd + 1], Low7(checksum));
}

TEST(Split, TinyTransferPadsTheFirstAndEmptiesTheLast) {
  const Bytes packed = {0x01, 0x02};
  const auto messages = build::SplitIrTransfer(0, packed);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0][kOffsetIrBeginPacked], 0x01);
  EXPECT_EQ(messages[0][kOffsetIrBeginPacked + 2], 0x00);
  EXPECT_EQ(messages[1],
            (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03, 0x66, 0x0C, 0x00, 0x03,  // checksum 3, no data
                   0xF7}));
}

}  // namespace
}  // namespace kr7
