#pragma once
// Messages a broken or malicious pedal might send, for testing that the
// editor survives them: wrong lengths, wrong checksums, transfers that would
// overrun its buffers, replies nobody asked for. Each kind has a name for the
// control interface.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "device/Packing.h"
#include "pedal/PedalState.h"

namespace kr7::pedal {

enum class HostileKind {
  TruncatedDump,      // a PresetDump cut short, still ending in F7
  BadChecksumDump,    // a PresetDump of the active slot with a wrong checksum
  OversizedSysEx,     // 600 bytes under our header: more than the input queue takes
  ForeignNameReport,  // a 42-byte message that is not a NameReport
  OverlongIrDump,     // an impulse-response dump announcing and sending 6000 packed bytes
  OrphanIrDumpEnd,    // an IrDumpEnd with no IrDumpBegin before it
  StrayWriteOk,       // WriteOkAck while no stream runs
  StrayIrReady,       // IrReadyAck while no upload runs
  StrayFirmwareDone,  // FirmwareDone while no firmware transfer runs
  HighBitData,        // a PresetDump whose payload holds bytes above 0x7F
  MissingEnd,         // a PresetDump whose last byte is not F7
  AncientIdentity,    // an identity block of version 0.5
  EmptySysEx,         // F0 F7
};

struct HostileInfo {
  HostileKind kind;
  std::string_view name;
  std::string_view description;
};

std::span<const HostileInfo> HostileKinds();
std::optional<HostileKind> HostileKindByName(std::string_view name);

// The messages of one hostile kind, built from the pedal's present state.
std::vector<Bytes> BuildHostile(HostileKind kind, const PedalState& state);

}  // namespace kr7::pedal
