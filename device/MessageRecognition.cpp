#include <algorithm>
#include <array>

#include "device/Messages.h"

namespace kr7 {

namespace {

bool HasHeader(ByteSpan m, std::uint8_t family) {
  return m.size() > kOffsetFamily &&
         std::equal(kManufacturerId.begin(), kManufacturerId.end(),
                    m.begin() + kOffsetManufacturer) &&
         m[kOffsetFamily] == family;
}

ByteSpan Contents(ByteSpan block) {
  return block.subspan(kOffsetBlockContents, kBlockContentsSize);
}

std::uint16_t TrailerChecksum(ByteSpan m) {
  return static_cast<std::uint16_t>(Read14(m.subspan(m.size() - kTrailerChecksumFromEnd)));
}

// ---- from the pedal -----------------------------------------------------------

PedalMessage RecogniseBlock(ByteSpan m, const RecognitionContext& context) {
  if (!HasHeader(m, kFamilyEditor)) return Dropped{DropReason::ForeignHeader};
  const bool checksumOk = BlockChecksumOk(m);
  switch (m[kOffsetCommand]) {
    case kCmdPresetDump:
      if (!context.connected) return Dropped{DropReason::NotConnected};
      return PresetDump{m[kOffsetSlot], Contents(m), checksumOk,
                        {m[kOffsetBlockChecksumHigh], m[kOffsetBlockChecksumLow]}};
    case kCmdGlobalBlock:
      return GlobalBlock{m[kOffsetBlockType], m[kOffsetFormat], Contents(m), checksumOk};
    case kCmdIrNames:
      if (!context.connected) return Dropped{DropReason::NotConnected};
      if (m[kOffsetFormat] != kFormatByte) return Dropped{DropReason::FormatByte};
      return IrNames{m[kOffsetSlot], Contents(m), checksumOk};
    default:
      return Dropped{DropReason::UnknownCommand};
  }
}

PedalMessage RecogniseNameReport(ByteSpan m) {
  if (!HasHeader(m, kFamilyEditor)) return Dropped{DropReason::ForeignHeader};
  if (m[kOffsetCommand] != kCmdNameReport) return Dropped{DropReason::UnknownCommand};
  if (m[kOffsetFormat] != kFormatByte) return Dropped{DropReason::FormatByte};
  return NameReport{m.subspan(kOffsetName, kTextFieldSize)};
}

// Shared by both directions: the dump parts have the same layout whoever
// sends them. Lengths are held exactly, so every field read lies inside `m`.
std::variant<Dropped, IrDumpPart> ReadIrPart(ByteSpan m, IrPartKind kind, bool imported) {
  IrDumpPart part{};
  part.kind = kind;
  part.imported = imported;
  switch (kind) {
    case IrPartKind::Begin:
      if (m.size() != kIrDumpBeginSize) return Dropped{DropReason::WrongLength};
      part.slot = static_cast<std::uint16_t>(Read14(m.subspan(kOffsetIrSlot)));
      part.totalLength = Read21(m.subspan(kOffsetIrTotalLength));
      part.packed = m.subspan(kOffsetIrBeginPacked, kIrChunkSize);
      break;
    case IrPartKind::Data:
      if (m.size() != kIrDumpDataSize) return Dropped{DropReason::WrongLength};
      part.packed = m.subspan(kOffsetIrPacked, kIrChunkSize);
      break;
    case IrPartKind::End:
      if (m.size() < kIrDumpEndOverhead || m.size() > kIrDumpEndMaxSize) {
        return Dropped{DropReason::WrongLength};
      }
      part.packed = m.subspan(kOffsetIrPacked, m.size() - kIrDumpEndOverhead);
      part.streamChecksum = TrailerChecksum(m);
      break;
  }
  return part;
}

template <typename Variant>
Variant Widen(std::variant<Dropped, IrDumpPart> v) {
  return std::visit([](auto&& alt) -> Variant { return alt; }, v);
}

PedalMessage RecogniseLongMessage(ByteSpan m, const RecognitionContext& context) {
  if (!HasHeader(m, kFamilyEditor)) return Dropped{DropReason::ForeignHeader};
  if (!context.connected) return Dropped{DropReason::NotConnected};
  switch (m[kOffsetCommand]) {
    case kCmdIrDumpBegin:
      return Widen<PedalMessage>(ReadIrPart(m, IrPartKind::Begin, false));
    case kCmdIrDumpData:
      return Widen<PedalMessage>(ReadIrPart(m, IrPartKind::Data, false));
    case kCmdIrDumpEnd:
      return Widen<PedalMessage>(ReadIrPart(m, IrPartKind::End, false));
    default:
      return Dropped{DropReason::UnknownCommand};
  }
}

struct ReplyName {
  std::uint8_t code;
  ShortReplyCode reply;
  std::string_view name;
};

constexpr std::array<ReplyName, 10> kShortReplies = {{
    {kReplyDone, ShortReplyCode::DoneAck, "DoneAck"},
    {kReplyIrSelect, ShortReplyCode::IrSelectAck, "IrSelectAck"},
    {kReplyIrStored, ShortReplyCode::IrStoredAck, "IrStoredAck"},
    {kReplyError, ShortReplyCode::ErrorAck, "ErrorAck"},
    {kReplyIrReady, ShortReplyCode::IrReadyAck, "IrReadyAck"},
    {kReplyWriteOk, ShortReplyCode::WriteOkAck, "WriteOkAck"},
    {kReplyWriteOkAlt, ShortReplyCode::WriteOkAck, "WriteOkAck"},
    {kReplyWriteFail, ShortReplyCode::WriteFailAck, "WriteFailAck"},
    {kReplyWriteFailAlt, ShortReplyCode::WriteFailAck, "WriteFailAck"},
    {kReplyWriteNext, ShortReplyCode::WriteNextAck, "WriteNextAck"},
}};

const ReplyName* FindShortReply(std::uint8_t code) {
  const auto it = std::find_if(kShortReplies.begin(), kShortReplies.end(),
                               [code](const ReplyName& r) { return r.code == code; });
  return it == kShortReplies.end() ? nullptr : &*it;
}

PedalMessage RecogniseShortMessage(ByteSpan m) {
  // Even the shortest reply, F0 00 51 21 03 c F7, has a byte 6 to test.
  if (m.size() < kShortReplyMinSize) return Dropped{DropReason::TooShort};
  const std::uint8_t command = m[kOffsetCommand];
  if (HasHeader(m, kFamilyEditor)) {
    if (m[kOffsetFormat] == kFormatByte) {
      if (command != kCmdParameterReport) return Dropped{DropReason::UnknownCommand};
      if (m.size() != kParameterMessageSize) return Dropped{DropReason::WrongLength};
      return ParameterReport{m[kOffsetParameterNumber], m[kOffsetParameterValue]};
    }
    const ReplyName* reply = FindShortReply(command);
    if (reply == nullptr) return Dropped{DropReason::UnknownCommand};
    return ShortReply{reply->reply, command};
  }
  if (HasHeader(m, kFamilyLoader)) {
    switch (command) {
      case kCmdFirmwareReady:
        return LoaderReply{LoaderReplyCode::FirmwareReady, command};
      case kCmdFirmwareDone:
        return LoaderReply{LoaderReplyCode::FirmwareDone, command};
      case kCmdFirmwareFailed:
        return LoaderReply{LoaderReplyCode::FirmwareFailed, command};
      default:
        return Dropped{DropReason::UnknownCommand};
    }
  }
  return Dropped{DropReason::ForeignHeader};
}

// ---- from the editor -------------------------------------------------------------

template <typename T>
EditorMessage SlotBlockOf(ByteSpan m) {
  T block;
  block.slot = m[kOffsetSlot];
  block.payload = Contents(m);
  block.checksumOk = BlockChecksumOk(m);
  return block;
}

EditorMessage RecogniseLoaderFromEditor(ByteSpan m) {
  const std::size_t len = m.size();
  switch (m[kOffsetCommand]) {
    case kCmdFirmwareStart:
      if (len != kFirmwareStartSize) return Dropped{DropReason::WrongLength};
      return FirmwareStart{};
    case kCmdFirmwareFirst:
      if (len != kFirmwareFirstSize) return Dropped{DropReason::WrongLength};
      return FirmwareFirst{Read21(m.subspan(kOffsetFirmwareTotalLength)),
                           m.subspan(kOffsetFirmwareFirstPacked, kFirmwareChunkSize)};
    case kCmdFirmwareData:
      if (len < kFirmwareLastOverhead || len > kFirmwareLastOverhead + kFirmwareChunkSize) {
        return Dropped{DropReason::WrongLength};
      }
      return FirmwareData{m.subspan(kOffsetFirmwarePacked, len - kOffsetFirmwarePacked - 1)};
    default:
      return Dropped{DropReason::UnknownCommand};
  }
}

EditorMessage RecogniseEditorFamily(ByteSpan m) {
  if (m[kOffsetFormat] != kFormatByte) return Dropped{DropReason::FormatByte};
  const std::size_t len = m.size();
  const bool block = len == kBlockMessageSize;
  const bool slotMessage = len == kSlotMessageSize;
  const bool bare = len == kBareMessageSize;
  // Every field is read only after the length check that proves it is there.
  switch (m[kOffsetCommand]) {
    case kCmdPresetStore:
      if (!block) return Dropped{DropReason::WrongLength};
      return SlotBlockOf<PresetStore>(m);
    case kCmdFactoryPresetWrite:
      if (!block) return Dropped{DropReason::WrongLength};
      return SlotBlockOf<FactoryPresetWrite>(m);
    case kCmdImportPresetWrite:
      if (!block) return Dropped{DropReason::WrongLength};
      return SlotBlockOf<ImportPresetWrite>(m);
    case kCmdGlobalBlock:
      if (!block) return Dropped{DropReason::WrongLength};
      return GlobalBlock{m[kOffsetBlockType], m[kOffsetFormat], Contents(m), BlockChecksumOk(m)};
    case kCmdPresetSelect:
      if (!slotMessage) return Dropped{DropReason::WrongLength};
      return PresetSelect{m[kOffsetSlot]};
    case kCmdPresetRequest:
      if (!slotMessage) return Dropped{DropReason::WrongLength};
      return PresetRequest{m[kOffsetSlot]};
    case kCmdGlobalRequest:
      if (!slotMessage) return Dropped{DropReason::WrongLength};
      return GlobalRequest{m[kOffsetSlot]};
    case kCmdFactoryReset:
      if (!slotMessage) return Dropped{DropReason::WrongLength};
      return FactoryReset{m[kOffsetSlot]};
    case kCmdIrNamesRequest:
      if (!slotMessage) return Dropped{DropReason::WrongLength};
      return IrNamesRequest{m[kOffsetSlot]};
    case kCmdParameterSet:
      if (len != kParameterMessageSize) return Dropped{DropReason::WrongLength};
      return ParameterSet{m[kOffsetParameterNumber], m[kOffsetParameterValue]};
    case kCmdIrRequest:
      if (len != kIrRequestSize) return Dropped{DropReason::WrongLength};
      return IrRequest{static_cast<std::uint16_t>(Read14(m.subspan(kOffsetIrSlot)))};
    case kCmdBulkBegin:
      if (!bare) return Dropped{DropReason::WrongLength};
      return BulkBegin{};
    case kCmdBulkEnd:
      if (!bare) return Dropped{DropReason::WrongLength};
      return BulkEnd{};
    case kCmdEditorClosed:
      if (!bare) return Dropped{DropReason::WrongLength};
      return EditorClosed{};
    case kCmdIrDumpBegin:
    case kCmdImportIrBegin:
      return Widen<EditorMessage>(
          ReadIrPart(m, IrPartKind::Begin, m[kOffsetCommand] == kCmdImportIrBegin));
    case kCmdIrDumpData:
    case kCmdImportIrData:
      return Widen<EditorMessage>(
          ReadIrPart(m, IrPartKind::Data, m[kOffsetCommand] == kCmdImportIrData));
    case kCmdIrDumpEnd:
    case kCmdImportIrEnd:
      return Widen<EditorMessage>(
          ReadIrPart(m, IrPartKind::End, m[kOffsetCommand] == kCmdImportIrEnd));
    default:
      return Dropped{DropReason::UnknownCommand};
  }
}

}  // namespace

PedalMessage Recognise(ByteSpan message, const RecognitionContext& context) {
  const std::size_t len = message.size();
  if (len == kBlockMessageSize) return RecogniseBlock(message, context);
  if (len == kNameReportSize && !context.firmwareRunning) return RecogniseNameReport(message);
  if (len > kShortReplyMaxSize) return RecogniseLongMessage(message, context);
  return RecogniseShortMessage(message);
}

EditorMessage RecogniseFromEditor(ByteSpan message) {
  // The shortest editor message (FirmwareStart) is seven bytes.
  if (message.size() < kFirmwareStartSize) return Dropped{DropReason::TooShort};
  if (HasHeader(message, kFamilyLoader)) return RecogniseLoaderFromEditor(message);
  if (HasHeader(message, kFamilyEditor)) return RecogniseEditorFamily(message);
  return Dropped{DropReason::ForeignHeader};
}

namespace {

struct CommandName {
  std::uint8_t command;
  std::string_view name;
};

constexpr std::array<CommandName, 24> kEditorFamilyNames = {{
    {kCmdPresetStore, "PresetStore"},
    {kCmdPresetSelect, "PresetSelect"},
    {kCmdPresetRequest, "PresetRequest"},
    {kCmdPresetDump, "PresetDump"},
    {kCmdParameterSet, "ParameterSet"},
    {kCmdParameterReport, "ParameterReport"},
    {kCmdGlobalBlock, "GlobalBlock"},
    {kCmdGlobalRequest, "GlobalRequest"},
    {kCmdFactoryReset, "FactoryReset"},
    {kCmdBulkBegin, "BulkBegin"},
    {kCmdBulkEnd, "BulkEnd"},
    {kCmdEditorClosed, "EditorClosed"},
    {kCmdIrDumpBegin, "IrDumpBegin"},
    {kCmdIrDumpData, "IrDumpData"},
    {kCmdIrDumpEnd, "IrDumpEnd"},
    {kCmdIrRequest, "IrRequest"},
    {kCmdIrNamesRequest, "IrNamesRequest"},
    {kCmdIrNames, "IrNames"},
    {kCmdNameReport, "NameReport"},
    {kCmdFactoryPresetWrite, "FactoryPresetWrite"},
    {kCmdImportPresetWrite, "ImportPresetWrite"},
    {kCmdImportIrBegin, "ImportIrBegin"},
    {kCmdImportIrData, "ImportIrData"},
    {kCmdImportIrEnd, "ImportIrEnd"},
}};

constexpr std::array<CommandName, 6> kLoaderFamilyNames = {{
    {kCmdFirmwareStart, "FirmwareStart"},
    {kCmdFirmwareReady, "FirmwareReady"},
    {kCmdFirmwareFirst, "FirmwareFirst"},
    {kCmdFirmwareDone, "FirmwareDone"},
    {kCmdFirmwareFailed, "FirmwareFailed"},
    {kCmdFirmwareData, "FirmwareData"},
}};

constexpr std::string_view kUnknownName = "Unknown";

template <std::size_t N>
std::string_view Lookup(const std::array<CommandName, N>& table, std::uint8_t command) {
  const auto it = std::find_if(table.begin(), table.end(),
                               [command](const CommandName& c) { return c.command == command; });
  return it == table.end() ? kUnknownName : it->name;
}

}  // namespace

std::string_view MessageName(ByteSpan message) {
  if (message.size() < kShortReplyMinSize) return kUnknownName;
  const std::uint8_t command = message[kOffsetCommand];
  if (HasHeader(message, kFamilyLoader)) return Lookup(kLoaderFamilyNames, command);
  if (!HasHeader(message, kFamilyEditor)) return kUnknownName;
  // Among messages of ten bytes or fewer, only the short replies lack the
  // 0x0C format byte (the identity block may too, but it is 267 bytes long).
  if (message.size() <= kShortReplyMaxSize && message[kOffsetFormat] != kFormatByte) {
    const ReplyName* reply = FindShortReply(command);
    return reply == nullptr ? kUnknownName : reply->name;
  }
  return Lookup(kEditorFamilyNames, command);
}

// ---- accessors of recognised values --------------------------------------------

std::uint8_t GlobalBlock::At(std::size_t messageByte) const {
  if (messageByte < kOffsetBlockContents) return 0;
  const std::size_t i = ContentsIndex(messageByte);
  return i < contents.size() ? contents[i] : 0;
}

std::string GlobalBlock::TextAt(std::size_t messageByte) const {
  if (messageByte < kOffsetBlockContents) return {};
  const std::size_t i = ContentsIndex(messageByte);
  if (i >= contents.size()) return {};
  return std::string(TrimTrailingSpaces(ReadText(contents.subspan(i))));
}

std::string IrNames::Name(std::size_t k) const {
  if (k >= kIrNamesPerPage || names.size() < (k + 1) * kTextFieldSize) return {};
  return std::string(
      TrimTrailingSpaces(ReadText(names.subspan(k * kTextFieldSize, kTextFieldSize))));
}

std::string NameReport::Text() const { return std::string(TrimTrailingSpaces(ReadText(name))); }

ByteSpan FirmwareData::PackedIfLast() const {
  return fields.size() < kField14Size ? ByteSpan{} : fields.first(fields.size() - kField14Size);
}

std::uint16_t FirmwareData::ChecksumIfLast() const {
  if (fields.size() < kField14Size) return 0;
  return static_cast<std::uint16_t>(Read14(fields.last(kField14Size)));
}

}  // namespace kr7
