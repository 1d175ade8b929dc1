#pragma once
// Everything the virtual pedal remembers: its 128 preset slots and the
// factory bank behind them, the active slot and its edit buffer, the global
// blocks the editor reads and writes, the user impulse responses with the
// eight factory cabinets, and the identity it reports.
//
// A plain value: VirtualPedal guards it with its own lock, the state store
// copies it to and from a folder.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/Parameters.h"
#include "model/PresetPayload.h"

namespace kr7::pedal {

inline constexpr int kNumSlots = 128;

// User impulse responses 0..287 (nine banks of 32); transfers address factory
// cabinet k as 384 + k.
inline constexpr int kNumUserIrs = 288;
inline constexpr int kNumCabinets = 8;
inline constexpr int kFirstCabinetSlot = 384;
inline constexpr int kNumIrEntries = kNumUserIrs + kNumCabinets;
inline constexpr std::size_t kIrImageSize = 2436;
// Layout of an impulse-response image (little-endian): kind, gain, name, samples.
inline constexpr std::size_t kIrKindOffset = 0;
inline constexpr std::size_t kIrGainOffset = 2;
inline constexpr std::size_t kIrNameOffset = 4;
inline constexpr std::size_t kIrSamplesOffset = 36;
inline constexpr int kIrSampleCount = 1200;
using IrImage = std::array<std::uint8_t, kIrImageSize>;

// Global settings 80..90 ("DEFINE MIDI MAPPING" .. "CABINET BYPASS").
inline constexpr int kFirstGlobalParam = kParamDefineMidiMapping;
inline constexpr int kNumGlobalSettings = kParamCabinetBypass - kParamDefineMidiMapping + 1;
// The pedal reports 16 controller-map values (parameters 91..106) and takes 8.
inline constexpr int kNumControllerValues = 16;
inline constexpr int kNumControllerValuesFromEditor = kNumControllerMap;
inline constexpr int kNumProgramEntries = 128;

inline constexpr std::uint8_t kDefaultVersion = 12;
inline constexpr std::string_view kDefaultSerial = "KR7-VIRTUAL-000001";

struct PedalState {
  std::array<PresetPayload, kNumSlots> presets{};
  // What FactoryReset 1 restores; FactoryPresetWrite replaces entries.
  std::array<PresetPayload, kNumSlots> factoryBank{};
  int activeSlot = 0;
  // The sound playing now: the active slot as loaded, plus knob turns and
  // live edits that have not been stored.
  PresetPayload editBuffer{};
  // Parameters 80..90 as raw bytes ("EDIT POT DISPLAY MODE" keeps the byte
  // the editor sent, 2 for on).
  std::array<std::uint8_t, kNumGlobalSettings> globals{};
  std::array<std::uint8_t, kNumControllerValues> controllerMap{};
  std::array<std::uint8_t, kNumProgramEntries> programMap{};
  // Index: user IR number, or kNumUserIrs + k for factory cabinet k.
  std::vector<std::optional<IrImage>> irs = std::vector<std::optional<IrImage>>(kNumIrEntries);
  std::string serial{kDefaultSerial};
  std::uint8_t version = kDefaultVersion;
  // Last firmware image the loader accepted (unpacked), empty before.
  std::vector<std::uint8_t> firmware;
};

// Index into PedalState::irs for a transfer slot, or nullopt for a slot the
// pedal does not have (288..383, above 391).
std::optional<int> IrEntryForSlot(int slot);

// The value of preset parameter `index` in a payload.
std::uint8_t PayloadValue(const PresetPayload& payload, int index);
void SetPayloadValue(PresetPayload& payload, int index, std::uint8_t value);

// Preset parameter index for a device parameter number, or nullopt for a
// number that addresses no preset parameter (17, 18, 19, above 67).
std::optional<int> PresetIndexForDeviceNumber(int deviceNumber);

// A raw value brought into preset parameter index's range, as the pedal's
// own controls would keep it.
std::uint8_t ClampToParameterRange(int index, int raw);

// Settings, controller map and program map at their power-on defaults.
void ResetGlobalBlocks(PedalState& state);

// Name field of an impulse-response image with trailing spaces removed.
std::string IrImageName(const IrImage& image);

}  // namespace kr7::pedal
