#pragma once
// The System Exclusive messages exchanged with the KR7 pedal: named byte
// constants, builders that return complete messages (F0 ... F7), and two
// recognisers that turn a received message into a typed value — one for what
// the editor receives from the pedal, one for what the pedal (or the virtual
// pedal) receives from the editor.
//
// Editor family:  F0 00 51 21 03 <command> <format 0x0C> <fields...> F7
// Loader family:  F0 00 51 21 02 <command> <fields...> F7   (no format byte)
//
// Recognised values hold spans into the message they came from: they stay
// valid only while that message buffer lives and is not modified.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "device/Checksums.h"
#include "device/Packing.h"
#include "model/PresetChecksum.h"
#include "model/PresetPayload.h"

namespace kr7 {

// ---- framing ---------------------------------------------------------------

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::array<std::uint8_t, 3> kManufacturerId = {0x00, 0x51, 0x21};
inline constexpr std::uint8_t kFamilyEditor = 0x03;
inline constexpr std::uint8_t kFamilyLoader = 0x02;
// Read by the pedal as "version 1.2"; every editor-family message we send has it.
inline constexpr std::uint8_t kFormatByte = 0x0C;

inline constexpr std::size_t kOffsetManufacturer = 1;
inline constexpr std::size_t kOffsetFamily = 4;
inline constexpr std::size_t kOffsetCommand = 5;
inline constexpr std::size_t kOffsetFormat = 6;
inline constexpr std::size_t kOffsetFields = 7;        // editor family
inline constexpr std::size_t kOffsetLoaderFields = 6;  // loader family
inline constexpr std::size_t kHeaderSize = 5;          // F0 00 51 21 <family>

// ---- commands, editor family ------------------------------------------------

inline constexpr std::uint8_t kCmdPresetStore = 0x20;
inline constexpr std::uint8_t kCmdPresetSelect = 0x23;
inline constexpr std::uint8_t kCmdPresetRequest = 0x40;
inline constexpr std::uint8_t kCmdPresetDump = 0x41;
inline constexpr std::uint8_t kCmdParameterSet = 0x50;
inline constexpr std::uint8_t kCmdParameterReport = 0x51;
inline constexpr std::uint8_t kCmdGlobalBlock = 0x52;
inline constexpr std::uint8_t kCmdGlobalRequest = 0x55;
inline constexpr std::uint8_t kCmdFactoryReset = 0x56;
inline constexpr std::uint8_t kCmdBulkBegin = 0x5A;
inline constexpr std::uint8_t kCmdBulkEnd = 0x5B;
inline constexpr std::uint8_t kCmdEditorClosed = 0x5F;
inline constexpr std::uint8_t kCmdIrDumpBegin = 0x60;
inline constexpr std::uint8_t kCmdIrDumpData = 0x65;
inline constexpr std::uint8_t kCmdIrDumpEnd = 0x66;
inline constexpr std::uint8_t kCmdIrRequest = 0x69;
inline constexpr std::uint8_t kCmdIrNamesRequest = 0x6A;
inline constexpr std::uint8_t kCmdIrNames = 0x6B;
inline constexpr std::uint8_t kCmdNameReport = 0x7B;
inline constexpr std::uint8_t kCmdFactoryPresetWrite = 0x7C;
inline constexpr std::uint8_t kCmdImportPresetWrite = 0x7F;
inline constexpr std::uint8_t kCmdImportIrBegin = 0x77;
inline constexpr std::uint8_t kCmdImportIrData = 0x78;
inline constexpr std::uint8_t kCmdImportIrEnd = 0x79;

// ---- short reply codes (byte 5 of a reply of at most 10 bytes) --------------

inline constexpr std::uint8_t kReplyDone = 0x57;
inline constexpr std::uint8_t kReplyIrSelect = 0x5F;
inline constexpr std::uint8_t kReplyIrStored = 0x61;
inline constexpr std::uint8_t kReplyError = 0x62;
inline constexpr std::uint8_t kReplyIrReady = 0x63;
inline constexpr std::uint8_t kReplyWriteOk = 0x71;
inline constexpr std::uint8_t kReplyWriteOkAlt = 0x7D;
inline constexpr std::uint8_t kReplyWriteFail = 0x72;
inline constexpr std::uint8_t kReplyWriteFailAlt = 0x7E;
inline constexpr std::uint8_t kReplyWriteNext = 0x73;

// ---- commands, loader family -------------------------------------------------

inline constexpr std::uint8_t kCmdFirmwareStart = 0x10;
inline constexpr std::uint8_t kCmdFirmwareReady = 0x12;
inline constexpr std::uint8_t kCmdFirmwareFirst = 0x13;
inline constexpr std::uint8_t kCmdFirmwareDone = 0x14;
inline constexpr std::uint8_t kCmdFirmwareFailed = 0x15;
inline constexpr std::uint8_t kCmdFirmwareData = 0x20;

// ---- lengths (whole message, F0 and F7 included) ----------------------------

inline constexpr std::size_t kBlockContentsSize = 256;
inline constexpr std::size_t kBlockMessageSize = 267;
inline constexpr std::size_t kSlotMessageSize =
    9;  // PresetSelect, PresetRequest, GlobalRequest, FactoryReset, IrNamesRequest
inline constexpr std::size_t kParameterMessageSize = 10;  // ParameterSet, ParameterReport
inline constexpr std::size_t kBareMessageSize = 8;        // BulkBegin, BulkEnd, EditorClosed
inline constexpr std::size_t kIrRequestSize = 10;
inline constexpr std::size_t kIrChunkSize = 256;
inline constexpr std::size_t kIrDumpBeginSize = 269;
inline constexpr std::size_t kIrDumpDataSize = 264;
inline constexpr std::size_t kIrDumpEndOverhead = 10;  // IrDumpEnd is n + 10
inline constexpr std::size_t kIrDumpEndMaxSize = kIrDumpEndOverhead + kIrChunkSize;
inline constexpr std::size_t kNameReportSize = 42;
inline constexpr std::size_t kShortReplyMaxSize = 10;
inline constexpr std::size_t kShortReplyMinSize = 7;  // F0 00 51 21 03 c F7
inline constexpr std::size_t kFirmwareChunkSize = 240;
inline constexpr std::size_t kFirmwareStartSize = 7;
inline constexpr std::size_t kFirmwareFirstSize = 250;
inline constexpr std::size_t kFirmwareDataSize = 247;
inline constexpr std::size_t kFirmwareLastOverhead = 9;  // last FirmwareData is n + 9

// ---- field offsets -----------------------------------------------------------

inline constexpr std::size_t kOffsetSlot = 7;  // preset slot / block type / page / scope
inline constexpr std::size_t kOffsetBlockType = 7;
inline constexpr std::size_t kOffsetBlockContents = 8;
inline constexpr std::size_t kOffsetBlockChecksumHigh = 264;
inline constexpr std::size_t kOffsetBlockChecksumLow = 265;
inline constexpr std::size_t kOffsetParameterNumber = 7;
inline constexpr std::size_t kOffsetParameterValue = 8;
inline constexpr std::size_t kOffsetIrSlot = 7;               // 14-bit
inline constexpr std::size_t kOffsetIrTotalLength = 9;        // 21-bit
inline constexpr std::size_t kOffsetIrBeginPacked = 12;       // IrDumpBegin
inline constexpr std::size_t kOffsetIrPacked = 7;             // IrDumpData, IrDumpEnd
inline constexpr std::size_t kOffsetName = 7;                 // NameReport
inline constexpr std::size_t kOffsetFirmwareTotalLength = 6;  // 21-bit
inline constexpr std::size_t kOffsetFirmwareFirstPacked = 9;
inline constexpr std::size_t kOffsetFirmwarePacked = 6;
// Stream checksum of a transfer's last message: the two bytes before F7.
inline constexpr std::size_t kTrailerChecksumFromEnd = 3;  // high at length - 3, low at length - 2

// ---- global blocks (offsets are message byte positions) ---------------------

inline constexpr std::uint8_t kGlobalSettings = 0;
inline constexpr std::uint8_t kGlobalControllerMap = 1;
inline constexpr std::uint8_t kGlobalProgramMap = 2;
inline constexpr std::uint8_t kGlobalPresetChecksums = 3;
inline constexpr std::uint8_t kGlobalIdentity = 15;

inline constexpr std::size_t kSettingsActiveSlotByte = 8;
inline constexpr std::size_t kSettingsFirstGroupByte = 9;  // 10 parameters from 9
inline constexpr std::size_t kSettingsFirstGroupCount = 10;
inline constexpr std::size_t kSettingsSecondGroupByte = 19;  // 3 parameters from 19
inline constexpr std::size_t kSettingsSecondGroupCount = 3;
inline constexpr std::size_t kSettingsLastParameterByte = 24;
inline constexpr std::size_t kSettingsSwitchByte = 14;  // sent as 2 for on
inline constexpr std::uint8_t kSettingsSwitchOnSent = 2;
inline constexpr std::size_t kControllerMapByte = 8;
inline constexpr std::size_t kControllerMapSentCount = 8;       // editor sends 8..15
inline constexpr std::size_t kControllerMapReceivedCount = 16;  // pedal sends 8..23
inline constexpr std::size_t kProgramMapByte = 8;
inline constexpr std::size_t kProgramMapEntries = 128;
inline constexpr std::size_t kPresetChecksumsByte = 8;  // slot s: high at 8 + 2s, low at 9 + 2s
inline constexpr std::size_t kPresetSlotCount = 128;
inline constexpr std::size_t kIdentitySerialByte = 232;  // 32-byte text to 263
// IrNames: eight 32-byte names from byte 8.
inline constexpr std::size_t kIrNamesPerPage = 8;
inline constexpr std::size_t kIrNamesPageCount = 36;

// Index into a block's 256 contents of a message byte position (8..263).
constexpr std::size_t ContentsIndex(std::size_t messageByte) {
  return messageByte - kOffsetBlockContents;
}
// Settings byte 14: the editor sends on as 2; the pedal's any non-zero means on.
constexpr std::uint8_t EncodeSettingsSwitch(int value) {
  return value != 0 ? kSettingsSwitchOnSent : 0;
}
constexpr int DecodeSettingsSwitch(std::uint8_t byte) { return byte != 0 ? 1 : 0; }

// ---- recognition results -------------------------------------------------------

enum class DropReason {
  TooShort,        // cannot even hold the fields its rule reads
  ForeignHeader,   // bytes 1..4 are not ours
  NotConnected,    // the rule needs the connected flag
  UnknownCommand,  // our header, but no rule uses this command at this length
  WrongLength,     // known command with an impossible length
  FormatByte,      // format byte does not fit the rule
};

struct Dropped {
  DropReason reason;
};

// 0x41 from the pedal.
struct PresetDump {
  std::uint8_t slot;
  ByteSpan payload;  // 256 bytes
  bool checksumOk;
  PresetChecksum checksum;  // as carried (bytes 264, 265), whether it held or not
};

// 0x52, either direction.
struct GlobalBlock {
  std::uint8_t type;
  std::uint8_t formatByte;  // pedal version × 10 in the identity block
  ByteSpan contents;        // 256 bytes, contents[0] is message byte 8
  bool checksumOk;

  // Value of a message byte position (8..263); 0 outside the contents.
  std::uint8_t At(std::size_t messageByte) const;
  // 32-byte text from a message byte position (the identity block's serial
  // at kIdentitySerialByte), padding removed; cut at the end of the contents.
  std::string TextAt(std::size_t messageByte) const;
};

// 0x6B from the pedal.
struct IrNames {
  std::uint8_t page;
  ByteSpan names;  // 8 × 32 bytes
  bool checksumOk;

  // Name k (0..7) with the padding removed; empty for k out of range.
  std::string Name(std::size_t k) const;
};

// 0x7B from the pedal.
struct NameReport {
  ByteSpan name;             // 32 bytes
  std::string Text() const;  // padding removed
};

// 0x51 from the pedal.
struct ParameterReport {
  std::uint8_t index;
  std::uint8_t value;
};

enum class IrPartKind { Begin, Data, End };

// 0x60 / 0x65 / 0x66 (and, from the editor, the import forms 0x77 / 0x78 / 0x79).
struct IrDumpPart {
  IrPartKind kind;
  bool imported = false;             // an Import* form (editor side only)
  std::uint16_t slot = 0;            // Begin only
  std::uint32_t totalLength = 0;     // Begin only: N packed bytes in the transfer
  ByteSpan packed;                   // the packed data bytes this part carries
  std::uint16_t streamChecksum = 0;  // End only, 14-bit
};

enum class ShortReplyCode {
  DoneAck,
  IrSelectAck,
  IrStoredAck,
  ErrorAck,
  IrReadyAck,
  WriteOkAck,
  WriteFailAck,
  WriteNextAck,
};

struct ShortReply {
  ShortReplyCode code;
  std::uint8_t raw;  // byte 5 (0x71 and 0x7D are both WriteOkAck, ...)
};

enum class LoaderReplyCode { FirmwareReady, FirmwareDone, FirmwareFailed };

struct LoaderReply {
  LoaderReplyCode code;
  std::uint8_t raw;
};

// What the editor's receive handler dispatches on.
using PedalMessage = std::variant<Dropped, PresetDump, GlobalBlock, IrNames, NameReport,
                                  ParameterReport, IrDumpPart, ShortReply, LoaderReply>;

struct RecognitionContext {
  bool connected = false;
  bool firmwareRunning = false;  // a firmware transfer is in progress
};

// Applies the receive rules in their fixed order (267 bytes; 42 bytes unless
// a firmware transfer runs; other lengths above 10; 10 or less). Never reads
// outside `message`; anything not used is Dropped. Byte 0 and the final F7
// are not tested: the port layer delivers complete SysEx messages only.
// A 267-byte message matches at most one of its three commands, so the first
// match is the answer. Checksums are reported, not enforced.
PedalMessage Recognise(ByteSpan message, const RecognitionContext& context);
// The result would point into a destroyed temporary.
PedalMessage Recognise(const Bytes&& message, const RecognitionContext& context) = delete;

// ---- what the pedal receives from the editor ---------------------------------

struct SlotBlockFields {
  std::uint8_t slot;
  ByteSpan payload;  // 256 bytes
  bool checksumOk;
};
struct PresetStore : SlotBlockFields {};
struct FactoryPresetWrite : SlotBlockFields {};
struct ImportPresetWrite : SlotBlockFields {};

struct PresetSelect {
  std::uint8_t slot;
};
struct PresetRequest {
  std::uint8_t slot;
};
struct ParameterSet {
  std::uint8_t deviceNumber;
  std::uint8_t value;
};
struct GlobalRequest {
  std::uint8_t type;
};
struct FactoryReset {
  std::uint8_t scope;
};  // 0 all, 1 presets, 2 settings
struct BulkBegin {};
struct BulkEnd {};
struct EditorClosed {};
struct IrRequest {
  std::uint16_t slot;
};
struct IrNamesRequest {
  std::uint8_t page;
};
struct FirmwareStart {};
struct FirmwareFirst {
  std::uint32_t totalLength;
  ByteSpan packed;  // 240 bytes
};
// A full FirmwareData (247 bytes) carries 240 packed bytes; the last one
// carries n packed bytes and the stream checksum. A 247-byte message can be
// either (n = 238), so only the receiver, counting against the announced
// total, can tell; both readings are offered.
struct FirmwareData {
  ByteSpan fields;  // bytes 6 .. length-2
  ByteSpan PackedIfLast() const;
  std::uint16_t ChecksumIfLast() const;
};

using EditorMessage =
    std::variant<Dropped, PresetStore, PresetSelect, PresetRequest, ParameterSet, GlobalBlock,
                 GlobalRequest, FactoryReset, BulkBegin, BulkEnd, EditorClosed, IrDumpPart,
                 IrRequest, IrNamesRequest, FactoryPresetWrite, ImportPresetWrite, FirmwareStart,
                 FirmwareFirst, FirmwareData>;

// Strict reading of editor messages: our header, format byte 0x0C for the
// editor family, and the exact length of the command. Never reads outside
// `message`.
EditorMessage RecogniseFromEditor(ByteSpan message);
EditorMessage RecogniseFromEditor(const Bytes&& message) = delete;

// Name of any message of either direction ("PresetDump", "WriteOkAck",
// "FirmwareData", ...), or "Unknown". For traces and monitors.
std::string_view MessageName(ByteSpan message);

// ---- builders --------------------------------------------------------------------
//
// Every builder returns a complete message. Spans shorter than the field are
// zero-filled, longer ones are cut to the field: a builder never reads past its
// input nor writes a message of the wrong length. Field values are masked to
// seven (or 14 / 21) bits.

namespace build {

// Editor → pedal.
Bytes PresetStore(std::uint8_t slot, ByteSpan payload);
Bytes PresetSelect(std::uint8_t slot);
Bytes PresetRequest(std::uint8_t slot);
Bytes ParameterSet(std::uint8_t deviceNumber, std::uint8_t value);
Bytes GlobalRequest(std::uint8_t type);
Bytes FactoryReset(std::uint8_t scope);
Bytes BulkBegin();
Bytes BulkEnd();
Bytes EditorClosed();
Bytes IrRequest(std::uint16_t slot);
Bytes IrNamesRequest(std::uint8_t page);
Bytes FactoryPresetWrite(std::uint8_t slot, ByteSpan payload);
// GlobalBlock type 1 as the editor sends it: the first eight values go to
// bytes 8..15, everything else is 0 (the pedal's reply carries sixteen).
Bytes ControllerMap(ByteSpan values);

// Both directions. The editor's blocks carry format byte 0x0C; the pedal's
// identity block carries its version × 10 instead.
Bytes GlobalBlock(std::uint8_t type, ByteSpan contents, std::uint8_t formatByte = kFormatByte);
Bytes IrDumpBegin(std::uint16_t slot, std::uint32_t totalLength, ByteSpan firstPacked);
Bytes IrDumpData(ByteSpan packed);
Bytes IrDumpEnd(ByteSpan lastPacked, std::uint16_t streamChecksum);

// Pedal → editor.
Bytes PresetDump(std::uint8_t slot, ByteSpan payload);
Bytes ParameterReport(std::uint8_t index, std::uint8_t value);
Bytes IdentityBlock(std::uint8_t versionTimesTen, std::string_view serial);
Bytes IrNames(std::uint8_t page, ByteSpan names);  // names: 8 × 32 bytes
Bytes NameReport(std::string_view name);
// Seven-byte form F0 00 51 21 03 c F7.
Bytes ShortReply(std::uint8_t code);
// Longer form: `extra` goes from byte 6 and is cut so the message stays at most
// ten bytes. The caller keeps extra[0] other than 0x0C for it to be a reply.
Bytes ShortReply(std::uint8_t code, ByteSpan extra);
// F0 00 51 21 02 c F7.
Bytes LoaderReply(std::uint8_t code);

// Loader family, editor → pedal.
Bytes FirmwareStart();
Bytes FirmwareFirst(std::uint32_t totalLength, ByteSpan firstPacked);
Bytes FirmwareData(ByteSpan packed);
Bytes FirmwareDataLast(ByteSpan lastPacked, std::uint16_t streamChecksum);

// A whole packed transfer cut into its messages, stream checksum included.
// Begin/First carry the first chunk (zero-padded when the transfer is
// shorter); while more than a chunk remains a Data message carries the next;
// the rest goes in the End/last message. With N at most one chunk, the End
// message carries no data bytes, only the checksum.
std::vector<Bytes> SplitIrTransfer(std::uint16_t slot, ByteSpan packed);
std::vector<Bytes> SplitFirmwareTransfer(ByteSpan packed);

}  // namespace build

}  // namespace kr7
