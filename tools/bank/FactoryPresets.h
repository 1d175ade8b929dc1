#pragma once
// The musical content of the factory bank: 128 presets described by the
// knobs a guitarist would set, each built on an amp model and, mostly, an
// ambience type of the pedal.

#include <array>
#include <cstdint>
#include <string>

namespace kr7::tools {

inline constexpr int kBankSlots = 128;
inline constexpr int kPresetValues = 65;
inline constexpr int kNoAmbience = -1;

// The knobs of the pedal's face, 0..127 each.
struct KnobSettings {
  int gain, drive, low, mid, high, reverb, gate, level;
};

struct PresetRecipe {
  std::string name;
  int ampModel;  // 0..9
  int ambience;  // 0..6 or kNoAmbience
  KnobSettings knobs;
  int cabinet;  // cabinet position 0..8
};

PresetRecipe FactoryRecipe(int slot);

// Values of preset parameters 0..64 for a recipe: the defaults, then the amp
// model and ambience type as the editor applies them, then the knobs.
std::array<std::uint8_t, kPresetValues> PresetValues(const PresetRecipe& recipe);

}  // namespace kr7::tools
