#include "tools/bank/FactoryPresets.h"

#include <algorithm>
#include <cmath>

namespace kr7::tools {
namespace {

// Defaults of preset parameters 0..64, in index order.
constexpr std::array<std::uint8_t, kPresetValues> kDefaults = {
    64, 64, 64, 64, 64, 64, 64, 64, 0, 0,        // 0..9
    64, 64, 64, 64, 0, 64, 64, 64, 100, 2,       // 10..19
    64, 127, 0, 127, 0, 0, 64, 64, 64, 0,        // 20..29
    64, 64, 64, 127, 127, 127, 127, 0, 0, 64,    // 30..39
    0, 0, 64, 64, 64, 64, 64, 64, 64, 64,        // 40..49
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0,                // 50..59
    0, 64, 64, 64, 32};                          // 60..64

// Amp models: Gain, Buzz, Punch, Crunch, Buzz Q, Punch Q, Crunch Q, Punch
// Freq, Drive, compression, Preset Level.
constexpr int kAmpFields = 11;
constexpr std::array<std::array<int, kAmpFields>, 10> kAmpModels = {{
    {65, 29, 17, 112, 64, 10, 64, 58, 26, 88, 32},
    {27, 47, 17, 126, 64, 127, 64, 82, 7, 84, 127},
    {97, 53, 49, 105, 64, 64, 64, 54, 15, 64, 32},
    {64, 64, 64, 64, 64, 64, 64, 54, 64, 64, 32},
    {91, 45, 98, 91, 64, 64, 64, 94, 63, 64, 32},
    {61, 29, 33, 94, 64, 64, 64, 69, 30, 94, 32},
    {98, 47, 88, 96, 64, 64, 64, 41, 111, 64, 32},
    {98, 51, 48, 100, 64, 64, 64, 54, 30, 64, 32},
    {91, 45, 64, 91, 64, 64, 64, 54, 64, 64, 32},
    {80, 0, 114, 80, 64, 47, 64, 66, 100, 64, 32},
}};
constexpr std::array<const char*, 10> kAmpNames = {"Blond",      "Liverpool", "British", "Cali Classic",
                                                   "Boutique A", "Tweed",     "Top Boost", "Plexi",
                                                   "Cali Metal", "Boutique B"};

// Ambience types: Room Size, Diffusion .. HP Filter (18..24), Modulation
// Depth, Modulation Rate.
constexpr std::array<std::array<int, 10>, 7> kAmbiences = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127},
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},
}};
// The pedal's own reverb mode that suits each ambience type.
constexpr std::array<int, 7> kReverbModes = {0, 1, 3, 4, 0, 0, 1};

// Cabinet positions land exactly on a cabinet at these "IR" values.
int CabinetValue(int position) {
  return static_cast<int>(std::ceil(position * 127.0 / 8.0));
}

// Signature sounds, named the way players talk about them.
const std::array<PresetRecipe, 32> kSignatures = {{
    {"Glassy Clean", 0, 1, {30, 10, 70, 60, 82, 30, 0, 80}, 2},
    {"Liverpool Chime", 1, 0, {35, 8, 60, 70, 88, 20, 0, 85}, 1},
    {"Brit Crunch", 2, 0, {80, 40, 66, 72, 70, 18, 10, 72}, 7},
    {"Cali Rhythm", 3, 0, {75, 64, 70, 58, 66, 12, 20, 70}, 5},
    {"Boutique Overdrive", 4, 1, {70, 50, 64, 76, 64, 24, 8, 74}, 8},
    {"Tweed Blues", 5, 0, {68, 40, 60, 74, 62, 22, 0, 76}, 3},
    {"Top Boost Jangle", 6, 3, {50, 20, 58, 66, 86, 28, 0, 80}, 6},
    {"Plexi Stack", 7, 1, {96, 60, 72, 78, 70, 20, 18, 70}, 8},
    {"Metal Rhythm", 8, kNoAmbience, {110, 100, 80, 40, 76, 0, 60, 66}, 5},
    {"Singing Lead", 9, 6, {104, 96, 66, 80, 68, 40, 30, 72}, 8},
    {"Surf Spring", 6, 2, {30, 10, 56, 60, 90, 80, 0, 82}, 6},
    {"Texas Blues", 5, 0, {84, 54, 66, 80, 64, 20, 8, 74}, 3},
    {"Jazz Box", 0, 1, {20, 4, 80, 62, 40, 26, 0, 84}, 4},
    {"Country Twang", 0, 2, {28, 12, 54, 58, 96, 34, 0, 82}, 2},
    {"Funk Rhythm", 1, 0, {26, 6, 52, 74, 90, 10, 12, 84}, 4},
    {"Classic Rock", 7, 0, {90, 58, 68, 76, 72, 16, 12, 72}, 7},
    {"Hard Rock Lead", 7, 5, {110, 80, 70, 82, 70, 34, 22, 72}, 8},
    {"Modern High Gain", 8, 0, {124, 112, 82, 44, 80, 10, 70, 64}, 5},
    {"Thrash Chug", 8, kNoAmbience, {127, 120, 86, 30, 84, 0, 84, 62}, 5},
    {"Shoegaze Wash", 4, 3, {96, 80, 62, 70, 72, 110, 0, 70}, 6},
    {"Ambient Swells", 0, 6, {40, 16, 60, 64, 70, 120, 0, 78}, 2},
    {"Slapback Rockabilly", 5, 5, {56, 30, 62, 70, 80, 40, 0, 78}, 3},
    {"Chorus Clean", 0, 4, {30, 10, 64, 64, 76, 50, 0, 80}, 2},
    {"80s Chorus Lead", 3, 4, {100, 84, 64, 72, 74, 54, 16, 72}, 5},
    {"Indie Crunch", 1, 0, {70, 36, 58, 72, 80, 18, 6, 76}, 6},
    {"Grunge Fuzz", 9, 0, {120, 110, 84, 50, 62, 10, 30, 68}, 8},
    {"Blues Breaker", 2, 1, {88, 56, 64, 80, 66, 22, 8, 72}, 7},
    {"Vintage Stack", 2, 0, {100, 64, 70, 76, 68, 14, 16, 70}, 7},
    {"Fusion Lead", 4, 6, {96, 76, 60, 84, 66, 36, 20, 72}, 8},
    {"Doom Riff", 9, 1, {124, 116, 96, 40, 56, 24, 40, 66}, 5},
    {"Edge Of Breakup", 5, 0, {60, 30, 62, 68, 70, 20, 0, 78}, 3},
    {"Acoustic Sim", 0, 0, {10, 0, 50, 60, 100, 30, 0, 86}, 0},
}};

struct Style {
  const char* name;
  KnobSettings knobs;
};
const std::array<Style, 10> kStyles = {{
    {"Clean", {30, 10, 64, 62, 74, 30, 0, 82}},
    {"Sparkle", {36, 14, 58, 60, 88, 36, 0, 80}},
    {"Edge", {60, 30, 64, 68, 70, 22, 0, 78}},
    {"Crunch", {80, 44, 66, 72, 70, 18, 8, 74}},
    {"Rhythm", {92, 62, 72, 58, 72, 12, 20, 70}},
    {"Drive", {100, 74, 68, 74, 68, 20, 16, 70}},
    {"Lead", {110, 90, 64, 82, 68, 34, 24, 72}},
    {"Solo", {116, 98, 62, 86, 66, 44, 24, 74}},
    {"Ambient", {50, 20, 60, 64, 72, 110, 0, 76}},
    {"Heavy", {124, 110, 84, 44, 78, 8, 60, 66}},
}};
constexpr std::array<const char*, 7> kAmbienceNames = {"Room", "Hall", "Spring", "Plate", "Chorus", "Echo",
                                                      "Echoverb"};

void Set(std::array<std::uint8_t, kPresetValues>& values, int index, int value) {
  values[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

}  // namespace

PresetRecipe FactoryRecipe(int slot) {
  if (slot < static_cast<int>(kSignatures.size())) {
    return kSignatures[static_cast<std::size_t>(slot)];
  }
  const int amp = slot % 10;
  const int styleIndex = slot / 10 - 3;
  const int ambience = (slot * 3) % 7;
  const Style& style = kStyles[static_cast<std::size_t>(styleIndex)];
  PresetRecipe r;
  r.name = std::string(kAmpNames[static_cast<std::size_t>(amp)]) + " " + style.name + " " +
           kAmbienceNames[static_cast<std::size_t>(ambience)];
  r.ampModel = amp;
  r.ambience = ambience;
  r.knobs = style.knobs;
  r.cabinet = 1 + (amp + styleIndex) % 8;
  return r;
}

std::array<std::uint8_t, kPresetValues> PresetValues(const PresetRecipe& recipe) {
  auto values = kDefaults;
  const auto& amp = kAmpModels[static_cast<std::size_t>(recipe.ampModel)];
  Set(values, 1, amp[0]);
  Set(values, 11, amp[7]);
  Set(values, 5, amp[8]);
  Set(values, 64, amp[10]);
  // The editor keeps "Dynamics" at the model's compression when it is above
  // the neutral point, else at 64.
  Set(values, 10, amp[9] > 63 ? amp[9] : 64);
  for (int j = 0; j < 3; ++j) {
    Set(values, 2 + j, amp[static_cast<std::size_t>(1 + j)]);
    Set(values, 44 + j, amp[static_cast<std::size_t>(4 + j)]);
  }
  if (recipe.ambience != kNoAmbience) {
    const auto& amb = kAmbiences[static_cast<std::size_t>(recipe.ambience)];
    Set(values, 16, amb[0]);
    Set(values, 58, amb[8]);
    Set(values, 59, amb[9]);
    for (int j = 0; j < 7; ++j) {
      Set(values, 18 + j, amb[static_cast<std::size_t>(1 + j)]);
    }
    Set(values, 57, kReverbModes[static_cast<std::size_t>(recipe.ambience)]);
  }
  Set(values, 1, recipe.knobs.gain);
  Set(values, 5, recipe.knobs.drive);
  Set(values, 6, recipe.knobs.low);
  Set(values, 12, recipe.knobs.mid);
  Set(values, 7, recipe.knobs.high);
  Set(values, 8, recipe.ambience == kNoAmbience ? 0 : recipe.knobs.reverb);
  Set(values, 9, recipe.knobs.gate);
  Set(values, 0, recipe.knobs.level);
  Set(values, 14, CabinetValue(recipe.cabinet));
  return values;
}

}  // namespace kr7::tools
