#include <gtest/gtest.h>

#include "MessagesTestSupport.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

using testing::RampPayload;

constexpr RecognitionContext kConnected{true, false};
constexpr RecognitionContext kDisconnected{false, false};
constexpr RecognitionContext kFirmwareConnected{true, true};

// By value: the spans inside still point into the message, which outlives
// every use here, while the variant returned by Recognise may be a temporary.
template <typename T>
T As(const PedalMessage& m) {
  EXPECT_TRUE(std::holds_alternative<T>(m)) << "variant index " << m.index();
  const T* p = std::get_if<T>(&m);
  return p != nullptr ? *p : T{};
}

DropReason ReasonOf(const PedalMessage& m) { return As<Dropped>(m).reason; }

TEST(Recognise, SevenByteWriteOkAck) {
  const Bytes m = {
      0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
      0x71,                          // reply code
      0xF7,                          // byte 6 is F7, not 0x0C
  };
  const PedalMessage r = Recognise(m, kDisconnected);
  EXPECT_EQ(As<ShortReply>(r).code, ShortReplyCode::WriteOkAck);
  EXPECT_EQ(As<ShortReply>(r).raw, kReplyWriteOk);
}

TEST(Recognise, TenByteWithFormatByteIsNotAReply) {
  const Bytes m = {
      0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
      0x71,                          // not 0x51
      0x0C,                          // format byte: only ParameterReport is used
      0x00, 0x00, 0xF7,
  };
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::UnknownCommand);
}

TEST(Recognise, EveryShortReplyCode) {
  const std::vector<std::pair<std::uint8_t, ShortReplyCode>> codes = {
      {0x57, ShortReplyCode::DoneAck},      {0x5F, ShortReplyCode::IrSelectAck},
      {0x61, ShortReplyCode::IrStoredAck},  {0x62, ShortReplyCode::ErrorAck},
      {0x63, ShortReplyCode::IrReadyAck},   {0x71, ShortReplyCode::WriteOkAck},
      {0x7D, ShortReplyCode::WriteOkAck},   {0x72, ShortReplyCode::WriteFailAck},
      {0x7E, ShortReplyCode::WriteFailAck}, {0x73, ShortReplyCode::WriteNextAck},
  };
  for (const auto& [code, expected] : codes) {
    const Bytes reply = build::ShortReply(code);
    EXPECT_EQ(As<ShortReply>(Recognise(reply, kConnected)).code, expected) << int(code);
    // Longer forms up to ten bytes, byte 6 anything but 0x0C.
    const Bytes filler = {0x00, 0x01, 0x02};
    const Bytes longReply = build::ShortReply(code, filler);
    EXPECT_EQ(As<ShortReply>(Recognise(longReply, kConnected)).code, expected) << int(code);
  }
  const Bytes unknownReply = build::ShortReply(0x58);
  EXPECT_EQ(ReasonOf(Recognise(unknownReply, kConnected)), DropReason::UnknownCommand);
}

TEST(Recognise, ParameterReport) {
  const Bytes m = {
      0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
      0x51,                          // ParameterReport
      0x0C,                          // format byte
      0x00,                          // parameter 0
      0x64,                          // value 100
      0xF7,
  };
  const auto& r = As<ParameterReport>(Recognise(m, kConnected));
  EXPECT_EQ(r.index, 0);
  EXPECT_EQ(r.value, 100);
}

TEST(Recognise, ParameterReportTooShortToHoldItsValue) {
  const Bytes m = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x51, 0x0C, 0x00, 0xF7};
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::WrongLength);
}

TEST(Recognise, LoaderReplies) {
  const Bytes ready = build::LoaderReply(0x12);
  EXPECT_EQ(As<LoaderReply>(Recognise(ready, kDisconnected)).code, LoaderReplyCode::FirmwareReady);
  const Bytes done = build::LoaderReply(0x14);
  EXPECT_EQ(As<LoaderReply>(Recognise(done, kConnected)).code, LoaderReplyCode::FirmwareDone);
  const Bytes failedLong = {
      0xF0, 0x00, 0x51, 0x21, 0x02,  // loader header
      0x15,                          // FirmwareFailed
      0x01, 0x02, 0x03,              // not read
      0xF7,
  };
  EXPECT_EQ(As<LoaderReply>(Recognise(failedLong, kConnected)).code,
            LoaderReplyCode::FirmwareFailed);
  const Bytes notAReply = build::LoaderReply(0x13);
  EXPECT_EQ(ReasonOf(Recognise(notAReply, kConnected)), DropReason::UnknownCommand);
}

TEST(Recognise, PresetDumpOnlyWhileConnected) {
  const Bytes m = build::PresetDump(9, RampPayload());
  const PedalMessage r = Recognise(m, kConnected);
  const auto& dump = As<PresetDump>(r);
  EXPECT_EQ(dump.slot, 9);
  EXPECT_TRUE(dump.checksumOk);
  EXPECT_EQ(dump.payload.size(), kPresetPayloadSize);
  EXPECT_EQ(dump.payload.data(), m.data() + kOffsetBlockContents);
  EXPECT_EQ(ReasonOf(Recognise(m, kDisconnected)), DropReason::NotConnected);
}

TEST(Recognise, WrongBlockChecksumIsFlagged) {
  Bytes m = build::PresetDump(1, RampPayload());
  m[kOffsetBlockChecksumLow] ^= 0x01;
  EXPECT_FALSE(As<PresetDump>(Recognise(m, kConnected)).checksumOk);
  Bytes g = build::GlobalBlock(kGlobalSettings, RampPayload());
  g[kOffsetBlockContents] ^= 0x01;
  EXPECT_FALSE(As<GlobalBlock>(Recognise(g, kConnected)).checksumOk);
}

TEST(Recognise, GlobalBlockWhetherConnectedOrNot) {
  const Bytes m = build::GlobalBlock(kGlobalSettings, RampPayload());
  EXPECT_EQ(As<GlobalBlock>(Recognise(m, kDisconnected)).type, kGlobalSettings);
  EXPECT_EQ(As<GlobalBlock>(Recognise(m, kConnected)).type, kGlobalSettings);
}

TEST(Recognise, IdentityBlockWithVersionAndSerial) {
  const Bytes m = build::IdentityBlock(12, "SN-000042");
  const auto& block = As<GlobalBlock>(Recognise(m, kDisconnected));
  EXPECT_EQ(block.type, kGlobalIdentity);
  EXPECT_EQ(block.formatByte, 12);
  EXPECT_TRUE(block.checksumOk);
  EXPECT_EQ(block.TextAt(kIdentitySerialByte), "SN-000042");
  // An old pedal: version 0.9, still an identity block.
  const Bytes oldPedal = build::IdentityBlock(9, "X");
  EXPECT_EQ(As<GlobalBlock>(Recognise(oldPedal, kDisconnected)).formatByte, 9);
}

TEST(Recognise, ControllerMapFromThePedalHasSixteenValues) {
  Bytes contents(kBlockContentsSize, 0);
  for (std::size_t i = 0; i < kControllerMapReceivedCount; ++i) {
    contents[ContentsIndex(kControllerMapByte) + i] = static_cast<std::uint8_t>(100 + i);
  }
  const Bytes m = build::GlobalBlock(kGlobalControllerMap, contents);
  const auto& block = As<GlobalBlock>(Recognise(m, kConnected));
  EXPECT_EQ(block.At(kControllerMapByte), 100);
  EXPECT_EQ(block.At(kControllerMapByte + kControllerMapReceivedCount - 1), 115);
  EXPECT_EQ(block.At(kControllerMapByte + kControllerMapReceivedCount), 0);
  EXPECT_EQ(block.At(kOffsetBlockChecksumHigh), 0);  // outside the contents
}

TEST(Recognise, SettingsSwitchByteAsReceived) {
  Bytes contents(kBlockContentsSize, 0);
  contents[ContentsIndex(kSettingsSwitchByte)] = 2;
  const Bytes settings = build::GlobalBlock(kGlobalSettings, contents);
  const auto block = As<GlobalBlock>(Recognise(settings, kConnected));
  EXPECT_EQ(DecodeSettingsSwitch(block.At(kSettingsSwitchByte)), 1);
}

TEST(Recognise, IrNamesNeedConnectionAndFormatByte) {
  Bytes names(kBlockContentsSize, kTextPad);
  const std::string first = "MY CAB";
  std::copy(first.begin(), first.end(), names.begin());
  names[kTextFieldSize * 7] = 'Z';
  Bytes m = build::IrNames(5, names);
  const PedalMessage r = Recognise(m, kConnected);
  const auto& irNames = As<IrNames>(r);
  EXPECT_EQ(irNames.page, 5);
  EXPECT_EQ(irNames.Name(0), "MY CAB");
  EXPECT_EQ(irNames.Name(1), "");
  EXPECT_EQ(irNames.Name(7), "Z");
  EXPECT_EQ(irNames.Name(8), "");
  EXPECT_EQ(ReasonOf(Recognise(m, kDisconnected)), DropReason::NotConnected);
  m[kOffsetFormat] = 0x0B;
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::FormatByte);
}

TEST(Recognise, BlockOfOtherCommandIsDropped) {
  Bytes m = build::PresetStore(0, RampPayload());  // what the editor sends, not the pedal
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::UnknownCommand);
  m[kOffsetFamily] = kFamilyLoader;
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::ForeignHeader);
}

TEST(Recognise, NameReport) {
  const Bytes m = build::NameReport("TONE NAME");
  EXPECT_EQ(As<NameReport>(Recognise(m, kDisconnected)).Text(), "TONE NAME");
}

TEST(Recognise, OtherFortyTwoByteMessagesAreDropped) {
  Bytes m = build::NameReport("X");
  m[kOffsetCommand] = 0x7A;
  EXPECT_EQ(ReasonOf(Recognise(m, kConnected)), DropReason::UnknownCommand);
  Bytes wrongFormat = build::NameReport("X");
  wrongFormat[kOffsetFormat] = 0x0B;
  EXPECT_EQ(ReasonOf(Recognise(wrongFormat, kConnected)), DropReason::FormatByte);
  // A 42-byte impulse-response end part (n = 32) is not taken outside a
  // firmware transfer: the 42-byte rule comes first.
  const Bytes end = build::IrDumpEnd(Bytes(32, 0x01), 32);
  ASSERT_EQ(end.size(), kNameReportSize);
  EXPECT_TRUE(std::holds_alternative<Dropped>(Recognise(end, kConnected)));
}

TEST(Recognise, FortyTwoBytesDuringFirmwareUseTheLongRule) {
  const Bytes nameReport = build::NameReport("X");
  EXPECT_EQ(ReasonOf(Recognise(nameReport, kFirmwareConnected)), DropReason::UnknownCommand);
  const Bytes end = build::IrDumpEnd(Bytes(32, 0x01), 32);
  const auto& part = As<IrDumpPart>(Recognise(end, kFirmwareConnected));
  EXPECT_EQ(part.kind, IrPartKind::End);
  EXPECT_EQ(part.packed.size(), 32u);
  EXPECT_EQ(part.streamChecksum, 32);
}

TEST(Recognise, IrDumpParts) {
  Bytes packed(2785);
  for (std::size_t i = 0; i < packed.size(); ++i) packed[i] = static_cast<std::uint8_t>(i & 0x7F);
  const auto messages = build::SplitIrTransfer(300, packed);
  const auto& begin = As<IrDumpPart>(Recognise(messages.front(), kConnected));
  EXPECT_EQ(begin.kind, IrPartKind::Begin);
  EXPECT_FALSE(begin.imported);
  EXPECT_EQ(begin.slot, 300);
  EXPECT_EQ(begin.totalLength, 2785u);
  EXPECT_EQ(begin.packed.data(), messages.front().data() + kOffsetIrBeginPacked);
  EXPECT_EQ(begin.packed.size(), kIrChunkSize);
  const auto& data = As<IrDumpPart>(Recognise(messages[1], kConnected));
  EXPECT_EQ(data.kind, IrPartKind::Data);
  EXPECT_EQ(data.packed.size(), kIrChunkSize);
  const auto& end = As<IrDumpPart>(Recognise(messages.back(), kConnected));
  EXPECT_EQ(end.kind, IrPartKind::End);
  EXPECT_EQ(end.packed.size(), 225u);
  EXPECT_EQ(end.streamChecksum, StreamChecksumOf(packed));
  EXPECT_EQ(ReasonOf(Recognise(messages[1], kDisconnected)), DropReason::NotConnected);
}

TEST(Recognise, IrDumpPartsOfImpossibleLengthAreDropped) {
  Bytes begin = build::IrDumpBegin(0, 2785, {});
  begin.resize(kIrDumpBeginSize - 1);  // one byte short of its fields
  EXPECT_EQ(ReasonOf(Recognise(begin, kConnected)), DropReason::WrongLength);
  Bytes data = build::IrDumpData({});
  data.push_back(kSysExEnd);
  EXPECT_EQ(ReasonOf(Recognise(data, kConnected)), DropReason::WrongLength);
  Bytes end = build::IrDumpEnd(Bytes(kIrChunkSize, 0), 0);
  end.insert(end.end() - 1, {0x00, 0x00});  // 258 data bytes cannot be an end part
  EXPECT_EQ(ReasonOf(Recognise(end, kConnected)), DropReason::WrongLength);
}

TEST(Recognise, ForeignMessagesAreDropped) {
  const Bytes otherMaker = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  EXPECT_EQ(ReasonOf(Recognise(otherMaker, kConnected)), DropReason::ForeignHeader);
  EXPECT_EQ(ReasonOf(Recognise(ByteSpan{}, kConnected)), DropReason::TooShort);
  const Bytes six = {0xF0, 0x00, 0x51, 0x21, 0x03, 0x71};
  EXPECT_EQ(ReasonOf(Recognise(six, kConnected)), DropReason::TooShort);
}

}  // namespace
}  // namespace kr7
