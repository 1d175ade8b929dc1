#pragma once
// What a new virtual pedal holds before anyone writes to it: a deterministic
// preset bank (until the program's embedded factory bank is handed in), the
// 32 impulse responses of the "Factory Bank" (user IRs 256..287) and the
// eight factory cabinets. Everything is computed from the slot number alone,
// so two pedals built the same way hold identical bytes.

#include <optional>
#include <string>

#include "device/Packing.h"
#include "pedal/PedalState.h"

namespace kr7::pedal {

inline constexpr int kFirstFactoryBankIr = 256;
inline constexpr std::size_t kFactoryBankFileSize = 34176;  // 128 messages of 267 bytes

// The deterministic preset of slot s: marker bytes, the name "VIRTUAL %03d",
// every parameter inside its range; some slots use user IRs of the
// "Factory Bank" so the editor has impulse responses to fetch.
PresetPayload DeterministicPreset(int slot);

// Deterministic impulse-response image with the given name: kind 1, gain 1.0
// and a decaying, sign-alternating response shaped by seed.
IrImage DeterministicIr(std::string_view name, int seed);

// Presets, factory bank, global blocks and impulse responses of a new pedal.
// The factory bank and the presets are the deterministic bank.
PedalState MakeFactoryState();

// Reads a bank of 128 FactoryPresetWrite messages (the embedded bank's
// format). Every message must be framed, numbered 0..127 in order and carry
// a right block checksum; otherwise nullopt and a reason in *error.
std::optional<std::array<PresetPayload, kNumSlots>> ParseFactoryBank(ByteSpan bank,
                                                                     std::string* error);

// Installs a bank as both the factory bank and the presets.
void InstallBank(PedalState& state, const std::array<PresetPayload, kNumSlots>& bank);

}  // namespace kr7::pedal
