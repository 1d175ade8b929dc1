#include <gtest/gtest.h>

#include "MessagesTestSupport.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

using testing::RampPayload;

template <typename T>
T As(const EditorMessage& m) {
  EXPECT_TRUE(std::holds_alternative<T>(m)) << "variant index " << m.index();
  const T* p = std::get_if<T>(&m);
  return p != nullptr ? *p : T{};
}

DropReason ReasonOf(const EditorMessage& m) { return As<Dropped>(m).reason; }

TEST(FromEditor, PresetBlocks) {
  const Bytes store = build::PresetStore(3, RampPayload());
  const auto s = As<PresetStore>(RecogniseFromEditor(store));
  EXPECT_EQ(s.slot, 3);
  EXPECT_TRUE(s.checksumOk);
  EXPECT_EQ(s.payload.data(), store.data() + kOffsetBlockContents);
  const Bytes factoryWrite = build::FactoryPresetWrite(4, RampPayload());
  EXPECT_EQ(As<FactoryPresetWrite>(RecogniseFromEditor(factoryWrite)).slot, 4);
  Bytes import = build::PresetDump(5, RampPayload());
  import[kOffsetCommand] = kCmdImportPresetWrite;
  EXPECT_EQ(As<ImportPresetWrite>(RecogniseFromEditor(import)).slot, 5);
  Bytes bad = build::PresetStore(3, RampPayload());
  bad[kOffsetBlockChecksumHigh] ^= 0x01;
  EXPECT_FALSE(As<PresetStore>(RecogniseFromEditor(bad)).checksumOk);
}

TEST(FromEditor, SmallRequests) {
  const Bytes select = build::PresetSelect(7);
  EXPECT_EQ(As<PresetSelect>(RecogniseFromEditor(select)).slot, 7);
  const Bytes request = build::PresetRequest(8);
  EXPECT_EQ(As<PresetRequest>(RecogniseFromEditor(request)).slot, 8);
  const Bytes globalRequest = build::GlobalRequest(3);
  EXPECT_EQ(As<GlobalRequest>(RecogniseFromEditor(globalRequest)).type, 3);
  const Bytes reset = build::FactoryReset(2);
  EXPECT_EQ(As<FactoryReset>(RecogniseFromEditor(reset)).scope, 2);
  const Bytes namesRequest = build::IrNamesRequest(12);
  EXPECT_EQ(As<IrNamesRequest>(RecogniseFromEditor(namesRequest)).page, 12);
  const Bytes irRequest = build::IrRequest(300);
  EXPECT_EQ(As<IrRequest>(RecogniseFromEditor(irRequest)).slot, 300);
  const Bytes parameterSet = build::ParameterSet(53, 2);
  const auto p = As<ParameterSet>(RecogniseFromEditor(parameterSet));
  EXPECT_EQ(p.deviceNumber, 53);
  EXPECT_EQ(p.value, 2);
  const Bytes bulkBegin = build::BulkBegin();
  EXPECT_TRUE(std::holds_alternative<BulkBegin>(RecogniseFromEditor(bulkBegin)));
  const Bytes bulkEnd = build::BulkEnd();
  EXPECT_TRUE(std::holds_alternative<BulkEnd>(RecogniseFromEditor(bulkEnd)));
  const Bytes editorClosed = build::EditorClosed();
  EXPECT_TRUE(std::holds_alternative<EditorClosed>(RecogniseFromEditor(editorClosed)));
}

TEST(FromEditor, ControllerMapBlock) {
  const Bytes values = {10, 11, 12, 13, 14, 15, 16, 17};
  const Bytes controllerMap = build::ControllerMap(values);
  const auto g = As<GlobalBlock>(RecogniseFromEditor(controllerMap));
  EXPECT_EQ(g.type, kGlobalControllerMap);
  EXPECT_EQ(g.At(kControllerMapByte), 10);
  EXPECT_EQ(g.At(kControllerMapByte + kControllerMapSentCount - 1), 17);
  EXPECT_TRUE(g.checksumOk);
}

TEST(FromEditor, IrUploadAndImportParts) {
  const Bytes packed(600, 0x05);
  const auto messages = build::SplitIrTransfer(17, packed);
  ASSERT_EQ(messages.size(), 3u);
  const auto begin = As<IrDumpPart>(RecogniseFromEditor(messages[0]));
  EXPECT_EQ(begin.kind, IrPartKind::Begin);
  EXPECT_EQ(begin.slot, 17);
  EXPECT_EQ(begin.totalLength, 600u);
  EXPECT_FALSE(begin.imported);
  const auto end = As<IrDumpPart>(RecogniseFromEditor(messages[2]));
  EXPECT_EQ(end.packed.size(), 600u - 2 * kIrChunkSize);
  EXPECT_EQ(end.streamChecksum, StreamChecksumOf(packed));

  Bytes importData = messages[1];
  importData[kOffsetCommand] = kCmdImportIrData;
  const auto data = As<IrDumpPart>(RecogniseFromEditor(importData));
  EXPECT_EQ(data.kind, IrPartKind::Data);
  EXPECT_TRUE(data.imported);
}

TEST(FromEditor, LoaderFamily) {
  const Bytes start = build::FirmwareStart();
  EXPECT_TRUE(std::holds_alternative<FirmwareStart>(RecogniseFromEditor(start)));
  const Bytes packed = Pack(Bytes(480, 0x5A));
  const auto messages = build::SplitFirmwareTransfer(packed);
  const auto first = As<FirmwareFirst>(RecogniseFromEditor(messages[0]));
  EXPECT_EQ(first.totalLength, 549u);
  EXPECT_EQ(first.packed.size(), kFirmwareChunkSize);
  const auto full = As<FirmwareData>(RecogniseFromEditor(messages[1]));
  EXPECT_EQ(full.fields.size(), kFirmwareChunkSize);
  const auto last = As<FirmwareData>(RecogniseFromEditor(messages[2]));
  EXPECT_EQ(last.PackedIfLast().size(), 69u);
  EXPECT_EQ(last.ChecksumIfLast(), StreamChecksumOf(packed));
}

TEST(FromEditor, A247ByteFirmwareDataReadsBothWays) {
  // A last message with 238 data bytes is exactly as long as a full one.
  const Bytes last = build::FirmwareDataLast(Bytes(238, 0x01), 238);
  ASSERT_EQ(last.size(), kFirmwareDataSize);
  const auto d = As<FirmwareData>(RecogniseFromEditor(last));
  EXPECT_EQ(d.fields.size(), kFirmwareChunkSize);
  EXPECT_EQ(d.PackedIfLast().size(), 238u);
  EXPECT_EQ(d.ChecksumIfLast(), 238);
}

TEST(FromEditor, StrictFraming) {
  Bytes wrongFormat = build::PresetSelect(1);
  wrongFormat[kOffsetFormat] = 0x0B;
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(wrongFormat)), DropReason::FormatByte);
  Bytes longSelect = build::PresetSelect(1);
  longSelect.insert(longSelect.end() - 1, 0x00);
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(longSelect)), DropReason::WrongLength);
  Bytes shortBlock = build::PresetStore(1, RampPayload());
  shortBlock.pop_back();
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(shortBlock)), DropReason::WrongLength);
  const Bytes reply = build::ShortReply(kReplyWriteOk);
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(reply)), DropReason::FormatByte);
  const Bytes loaderReply = build::LoaderReply(kCmdFirmwareReady);
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(loaderReply)), DropReason::UnknownCommand);
  const Bytes twoBytes = {0xF0, 0xF7};
  EXPECT_EQ(ReasonOf(RecogniseFromEditor(twoBytes)), DropReason::TooShort);
}

TEST(MessageNames, NameEveryKind) {
  EXPECT_EQ(MessageName(build::PresetStore(0, {})), "PresetStore");
  EXPECT_EQ(MessageName(build::PresetDump(0, {})), "PresetDump");
  EXPECT_EQ(MessageName(build::IdentityBlock(9, "")), "GlobalBlock");
  EXPECT_EQ(MessageName(build::EditorClosed()), "EditorClosed");
  EXPECT_EQ(MessageName(build::ShortReply(kReplyIrSelect)), "IrSelectAck");
  EXPECT_EQ(MessageName(build::ShortReply(kReplyWriteOkAlt)), "WriteOkAck");
  EXPECT_EQ(MessageName(build::ShortReply(kReplyWriteFailAlt, Bytes{0x00})), "WriteFailAck");
  EXPECT_EQ(MessageName(build::ParameterReport(1, 2)), "ParameterReport");
  EXPECT_EQ(MessageName(build::IrDumpEnd({}, 0)), "IrDumpEnd");
  EXPECT_EQ(MessageName(build::NameReport("")), "NameReport");
  EXPECT_EQ(MessageName(build::FirmwareStart()), "FirmwareStart");
  EXPECT_EQ(MessageName(build::FirmwareDataLast({}, 0)), "FirmwareData");
  EXPECT_EQ(MessageName(build::LoaderReply(kCmdFirmwareFailed)), "FirmwareFailed");
  Bytes import = build::IrDumpBegin(0, 0, {});
  import[kOffsetCommand] = kCmdImportIrBegin;
  EXPECT_EQ(MessageName(import), "ImportIrBegin");
  EXPECT_EQ(MessageName(Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}), "Unknown");
  EXPECT_EQ(MessageName({}), "Unknown");
}

}  // namespace
}  // namespace kr7
