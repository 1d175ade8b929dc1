#include "device/Messages.h"

#include <algorithm>

namespace kr7 {

namespace {

// Copies `src` into `dest` as MIDI data bytes: at most dest.size() bytes are
// taken and each is masked to seven bits, so a stray 8-bit value cannot put a
// status byte inside the message. Bytes of `dest` not covered keep their value.
void CopyData(MutableByteSpan dest, ByteSpan src) {
  const std::size_t n = std::min(dest.size(), src.size());
  std::transform(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(n), dest.begin(),
                 [](std::uint8_t b) { return static_cast<std::uint8_t>(b & kDataByteMask); });
}

Bytes NewMessage(std::uint8_t family, std::uint8_t command, std::size_t length) {
  Bytes m(length, 0);
  m[0] = kSysExStart;
  for (std::size_t i = 0; i < kManufacturerId.size(); ++i)
    m[kOffsetManufacturer + i] = kManufacturerId[i];
  m[kOffsetFamily] = family;
  m[kOffsetCommand] = command;
  m.back() = kSysExEnd;
  return m;
}

Bytes NewEditorMessage(std::uint8_t command, std::size_t length) {
  Bytes m = NewMessage(kFamilyEditor, command, length);
  m[kOffsetFormat] = kFormatByte;
  return m;
}

MutableByteSpan Field(Bytes& m, std::size_t offset, std::size_t size) {
  return MutableByteSpan(m).subspan(offset, size);
}

Bytes Block(std::uint8_t command, std::uint8_t byte7, ByteSpan contents, std::uint8_t formatByte) {
  Bytes m = NewEditorMessage(command, kBlockMessageSize);
  m[kOffsetFormat] = formatByte & kDataByteMask;
  m[kOffsetSlot] = byte7 & kDataByteMask;
  CopyData(Field(m, kOffsetBlockContents, kBlockContentsSize), contents);
  WriteBlockChecksum(m);
  return m;
}

Bytes OneField(std::uint8_t command, std::uint8_t value) {
  Bytes m = NewEditorMessage(command, kSlotMessageSize);
  m[kOffsetSlot] = value & kDataByteMask;
  return m;
}

void WriteTrailerChecksum(Bytes& m, std::uint16_t checksum) {
  Write14(Field(m, m.size() - kTrailerChecksumFromEnd, kField14Size), checksum);
}

// Cuts a packed transfer into first / middle / last messages; `chunk` is the
// data carried by each of the first and middle messages.
template <typename First, typename Middle, typename Last>
std::vector<Bytes> Split(ByteSpan packed, std::size_t chunk, First first, Middle middle,
                         Last last) {
  const std::uint16_t checksum = StreamChecksumOf(packed);
  std::vector<Bytes> out;
  std::size_t position = std::min(packed.size(), chunk);
  out.push_back(first(packed.first(position)));
  while (packed.size() - position > chunk) {
    out.push_back(middle(packed.subspan(position, chunk)));
    position += chunk;
  }
  out.push_back(last(packed.subspan(position), checksum));
  return out;
}

}  // namespace

namespace build {

Bytes PresetStore(std::uint8_t slot, ByteSpan payload) {
  return Block(kCmdPresetStore, slot, payload, kFormatByte);
}

Bytes PresetSelect(std::uint8_t slot) { return OneField(kCmdPresetSelect, slot); }

Bytes PresetRequest(std::uint8_t slot) { return OneField(kCmdPresetRequest, slot); }

Bytes ParameterSet(std::uint8_t deviceNumber, std::uint8_t value) {
  Bytes m = NewEditorMessage(kCmdParameterSet, kParameterMessageSize);
  m[kOffsetParameterNumber] = deviceNumber & kDataByteMask;
  m[kOffsetParameterValue] = value & kDataByteMask;
  return m;
}

Bytes GlobalRequest(std::uint8_t type) { return OneField(kCmdGlobalRequest, type); }

Bytes FactoryReset(std::uint8_t scope) { return OneField(kCmdFactoryReset, scope); }

Bytes BulkBegin() { return NewEditorMessage(kCmdBulkBegin, kBareMessageSize); }

Bytes BulkEnd() { return NewEditorMessage(kCmdBulkEnd, kBareMessageSize); }

Bytes EditorClosed() { return NewEditorMessage(kCmdEditorClosed, kBareMessageSize); }

Bytes IrRequest(std::uint16_t slot) {
  Bytes m = NewEditorMessage(kCmdIrRequest, kIrRequestSize);
  Write14(Field(m, kOffsetIrSlot, kField14Size), slot);
  return m;
}

Bytes IrNamesRequest(std::uint8_t page) { return OneField(kCmdIrNamesRequest, page); }

Bytes FactoryPresetWrite(std::uint8_t slot, ByteSpan payload) {
  return Block(kCmdFactoryPresetWrite, slot, payload, kFormatByte);
}

Bytes ControllerMap(ByteSpan values) {
  Bytes contents(kBlockContentsSize, 0);
  CopyData(
      MutableByteSpan(contents).subspan(ContentsIndex(kControllerMapByte), kControllerMapSentCount),
      values);
  return GlobalBlock(kGlobalControllerMap, contents);
}

Bytes GlobalBlock(std::uint8_t type, ByteSpan contents, std::uint8_t formatByte) {
  return Block(kCmdGlobalBlock, type, contents, formatByte);
}

Bytes IrDumpBegin(std::uint16_t slot, std::uint32_t totalLength, ByteSpan firstPacked) {
  Bytes m = NewEditorMessage(kCmdIrDumpBegin, kIrDumpBeginSize);
  Write14(Field(m, kOffsetIrSlot, kField14Size), slot);
  Write21(Field(m, kOffsetIrTotalLength, kField21Size), totalLength);
  CopyData(Field(m, kOffsetIrBeginPacked, kIrChunkSize), firstPacked);
  return m;
}

Bytes IrDumpData(ByteSpan packed) {
  Bytes m = NewEditorMessage(kCmdIrDumpData, kIrDumpDataSize);
  CopyData(Field(m, kOffsetIrPacked, kIrChunkSize), packed);
  return m;
}

Bytes IrDumpEnd(ByteSpan lastPacked, std::uint16_t streamChecksum) {
  const std::size_t n = std::min(lastPacked.size(), kIrChunkSize);
  Bytes m = NewEditorMessage(kCmdIrDumpEnd, n + kIrDumpEndOverhead);
  CopyData(Field(m, kOffsetIrPacked, n), lastPacked);
  WriteTrailerChecksum(m, streamChecksum);
  return m;
}

Bytes PresetDump(std::uint8_t slot, ByteSpan payload) {
  return Block(kCmdPresetDump, slot, payload, kFormatByte);
}

Bytes ParameterReport(std::uint8_t index, std::uint8_t value) {
  Bytes m = NewEditorMessage(kCmdParameterReport, kParameterMessageSize);
  m[kOffsetParameterNumber] = index & kDataByteMask;
  m[kOffsetParameterValue] = value & kDataByteMask;
  return m;
}

Bytes IdentityBlock(std::uint8_t versionTimesTen, std::string_view serial) {
  Bytes contents(kBlockContentsSize, 0);
  WriteText(MutableByteSpan(contents).subspan(ContentsIndex(kIdentitySerialByte), kTextFieldSize),
            serial);
  return GlobalBlock(kGlobalIdentity, contents, versionTimesTen);
}

Bytes IrNames(std::uint8_t page, ByteSpan names) {
  return Block(kCmdIrNames, page, names, kFormatByte);
}

Bytes NameReport(std::string_view name) {
  Bytes m = NewEditorMessage(kCmdNameReport, kNameReportSize);
  WriteText(Field(m, kOffsetName, kTextFieldSize), name);
  return m;
}

Bytes ShortReply(std::uint8_t code) {
  return NewMessage(kFamilyEditor, code & kDataByteMask, kShortReplyMinSize);
}

Bytes ShortReply(std::uint8_t code, ByteSpan extra) {
  const std::size_t n = std::min(extra.size(), kShortReplyMaxSize - kShortReplyMinSize);
  Bytes m = NewMessage(kFamilyEditor, code & kDataByteMask, kShortReplyMinSize + n);
  CopyData(Field(m, kOffsetFormat, n), extra);
  return m;
}

Bytes LoaderReply(std::uint8_t code) {
  return NewMessage(kFamilyLoader, code & kDataByteMask, kShortReplyMinSize);
}

Bytes FirmwareStart() { return NewMessage(kFamilyLoader, kCmdFirmwareStart, kFirmwareStartSize); }

Bytes FirmwareFirst(std::uint32_t totalLength, ByteSpan firstPacked) {
  Bytes m = NewMessage(kFamilyLoader, kCmdFirmwareFirst, kFirmwareFirstSize);
  Write21(Field(m, kOffsetFirmwareTotalLength, kField21Size), totalLength);
  CopyData(Field(m, kOffsetFirmwareFirstPacked, kFirmwareChunkSize), firstPacked);
  return m;
}

Bytes FirmwareData(ByteSpan packed) {
  Bytes m = NewMessage(kFamilyLoader, kCmdFirmwareData, kFirmwareDataSize);
  CopyData(Field(m, kOffsetFirmwarePacked, kFirmwareChunkSize), packed);
  return m;
}

Bytes FirmwareDataLast(ByteSpan lastPacked, std::uint16_t streamChecksum) {
  const std::size_t n = std::min(lastPacked.size(), kFirmwareChunkSize);
  Bytes m = NewMessage(kFamilyLoader, kCmdFirmwareData, n + kFirmwareLastOverhead);
  CopyData(Field(m, kOffsetFirmwarePacked, n), lastPacked);
  WriteTrailerChecksum(m, streamChecksum);
  return m;
}

std::vector<Bytes> SplitIrTransfer(std::uint16_t slot, ByteSpan packed) {
  const auto total = static_cast<std::uint32_t>(packed.size());
  return Split(
      packed, kIrChunkSize, [&](ByteSpan first) { return IrDumpBegin(slot, total, first); },
      IrDumpData, IrDumpEnd);
}

std::vector<Bytes> SplitFirmwareTransfer(ByteSpan packed) {
  const auto total = static_cast<std::uint32_t>(packed.size());
  return Split(
      packed, kFirmwareChunkSize, [&](ByteSpan first) { return FirmwareFirst(total, first); },
      FirmwareData, FirmwareDataLast);
}

}  // namespace build

}  // namespace kr7
