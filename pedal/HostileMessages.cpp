#include "pedal/HostileMessages.h"

#include <algorithm>
#include <array>

#include "device/Messages.h"

namespace kr7::pedal {

namespace {

constexpr std::array<HostileInfo, 13> kKinds = {{
    {HostileKind::TruncatedDump, "truncated-dump", "PresetDump cut to 100 bytes"},
    {HostileKind::BadChecksumDump, "bad-checksum", "PresetDump with a wrong block checksum"},
    {HostileKind::OversizedSysEx, "oversized", "600-byte SysEx under the pedal's header"},
    {HostileKind::ForeignNameReport, "foreign-42", "42-byte message that is not a NameReport"},
    {HostileKind::OverlongIrDump, "overlong-ir", "IR dump of 6000 packed bytes (slot 0)"},
    {HostileKind::OrphanIrDumpEnd, "orphan-ir-end", "IrDumpEnd without IrDumpBegin"},
    {HostileKind::StrayWriteOk, "stray-write-ok", "WriteOkAck outside any stream"},
    {HostileKind::StrayIrReady, "stray-ir-ready", "IrReadyAck outside any upload"},
    {HostileKind::StrayFirmwareDone, "stray-fw-done", "FirmwareDone outside a transfer"},
    {HostileKind::HighBitData, "high-bit", "PresetDump with payload bytes above 0x7F"},
    {HostileKind::MissingEnd, "missing-end", "267-byte PresetDump not ending in F7"},
    {HostileKind::AncientIdentity, "ancient-version", "identity block of version 0.5"},
    {HostileKind::EmptySysEx, "empty", "F0 F7"},
}};

constexpr std::size_t kTruncatedLength = 100;
constexpr std::size_t kOversizedLength = 600;
constexpr std::uint32_t kOverlongPacked = 6000;
constexpr std::uint8_t kAncientVersion = 5;
constexpr std::uint8_t kHighByte = 0xFF;
constexpr std::uint8_t kFiller = 0x55;

Bytes ActiveDump(const PedalState& state) {
  return build::PresetDump(static_cast<std::uint8_t>(state.activeSlot), state.editBuffer);
}

Bytes Header(std::uint8_t command) {
  return Bytes{kSysExStart,        kManufacturerId[0], kManufacturerId[1],
               kManufacturerId[2], kFamilyEditor,      command};
}

Bytes Padded(Bytes message, std::size_t length) {
  message.resize(length - 1, kFiller);
  message.push_back(kSysExEnd);
  return message;
}

std::vector<Bytes> OverlongIrDump() {
  const Bytes packed(kOverlongPacked, kFiller);
  // The builder sizes the transfer from the data; announce the same length.
  return build::SplitIrTransfer(0, packed);
}

}  // namespace

std::span<const HostileInfo> HostileKinds() { return kKinds; }

std::optional<HostileKind> HostileKindByName(std::string_view name) {
  const auto* it = std::find_if(kKinds.begin(), kKinds.end(),
                                [name](const HostileInfo& info) { return info.name == name; });
  return it == kKinds.end() ? std::nullopt : std::optional<HostileKind>(it->kind);
}

std::vector<Bytes> BuildHostile(HostileKind kind, const PedalState& state) {
  switch (kind) {
    case HostileKind::TruncatedDump: {
      Bytes dump = ActiveDump(state);
      dump.resize(kTruncatedLength - 1);
      dump.push_back(kSysExEnd);
      return {dump};
    }
    case HostileKind::BadChecksumDump: {
      Bytes dump = ActiveDump(state);
      dump[kOffsetBlockChecksumLow] ^= 0x01;
      return {dump};
    }
    case HostileKind::OversizedSysEx:
      return {Padded(Header(kCmdPresetDump), kOversizedLength)};
    case HostileKind::ForeignNameReport:
      return {Padded(Header(kCmdPresetDump), kNameReportSize)};
    case HostileKind::OverlongIrDump:
      return OverlongIrDump();
    case HostileKind::OrphanIrDumpEnd:
      return {build::IrDumpEnd(Bytes(kIrChunkSize, kFiller), 0)};
    case HostileKind::StrayWriteOk:
      return {build::ShortReply(kReplyWriteOk)};
    case HostileKind::StrayIrReady:
      return {build::ShortReply(kReplyIrReady)};
    case HostileKind::StrayFirmwareDone:
      return {build::LoaderReply(kCmdFirmwareDone)};
    case HostileKind::HighBitData: {
      Bytes dump = ActiveDump(state);
      std::fill_n(dump.begin() + kOffsetBlockContents + kPayloadNameOffset, kPayloadTextSize,
                  kHighByte);
      WriteBlockChecksum(dump);
      return {dump};
    }
    case HostileKind::MissingEnd: {
      Bytes dump = ActiveDump(state);
      dump.back() = kFiller;
      return {dump};
    }
    case HostileKind::AncientIdentity:
      return {build::IdentityBlock(kAncientVersion, state.serial)};
    case HostileKind::EmptySysEx:
      return {Bytes{kSysExStart, kSysExEnd}};
  }
  return {};
}

}  // namespace kr7::pedal
