#include "editor/JackFunctions.h"

#include <cstdio>
#include <utility>

namespace kr7 {

namespace {

constexpr int kNumControllers = 128;
constexpr int kNotesPerOctave = 12;
// MIDI note 60 is "C3" on the pedal's display.
constexpr int kOctaveOffset = 2;

using NamedRange = std::pair<int, std::string_view>;

// Controller numbers with a name; the unlisted ones have none.
constexpr auto kControllerNames = std::to_array<NamedRange>({
    {0, "Bank Select"},
    {1, "Modulation Wheel"},
    {2, "Breath Ctrl"},
    {4, "Foot Pedal"},
    {5, "Portamento"},
    {6, "Data Entry (MSB)"},
    {7, "MIDI Volume"},
    {8, "Stereo Balance"},
    {10, "Pan Position"},
    {11, "Expression Pedal"},
    {12, "Fx Ctrl 1"},
    {13, "Fx Ctrl 2"},
    {16, "Slider, Knob or Ribbon Controller"},
    {17, "Slider, Knob or Ribbon Controller"},
    {18, "Slider, Knob or Ribbon Controller"},
    {19, "Slider, Knob or Ribbon Controller"},
    {32, "Bank Select (LSB)"},
    {33, "Mod. Wheel (LSB)"},
    {34, "Breath Ctrl (LSB)"},
    {36, "Foot Pedal (LSB)"},
    {37, "Portamento/Glide Time (LSB)"},
    {38, "Data Entry (LSB)"},
    {39, "Volume (LSB)"},
    {40, "Balance (LSB)"},
    {42, "Pan Position (LSB)"},
    {43, "Expression (LSB)"},
    {44, "Fx Ctrl 1 (LSB)"},
    {45, "Fx Ctrl 2 (LSB)"},
    {64, "Sustain Pedal"},
    {65, "Portamento Sw."},
    {66, "Sostenuto Switch"},
    {67, "Soft Pedal Sw."},
    {68, "Legato Switch"},
    {69, "Hold Pedal 2"},
    {70, "Sound Controller 1"},
    {71, "Filter Resonance"},
    {72, "Envelope Decay"},
    {73, "Envelope Attack"},
    {74, "Filter Cutoff"},
    {75, "Sound Ctrl 6"},
    {76, "Sound Ctrl 7"},
    {77, "Sound Ctrl 8"},
    {78, "Sound Ctrl 9"},
    {79, "Sound Ctrl 10"},
    {80, "General Purpose"},
    {81, "General Purpose"},
    {82, "General Purpose"},
    {83, "General Purpose"},
    {84, "Portamento CC"},
    {88, "Velocity"},
    {91, "Fx 1 Reverb"},
    {92, "Fx 2 Tremolo"},
    {93, "Fx 3 Chorus"},
    {94, "Fx 4 Detuning"},
    {95, "Fx 5 Phaser"},
    {96, "Data Bound Inc (+1)"},
    {97, "Data Bound Dec (-1)"},
    {98, "NRPN LSB"},
    {99, "NRPN MSB"},
    {100, "RPN LSB"},
    {101, "RPN MSB"},
    {120, "Channel Mute"},
    {121, "Reset All Ctrl"},
    {122, "Local Keyboard"},
    {123, "All Notes OFF"},
    {124, "OMNI Mode OFF"},
    {125, "OMNI Mode ON"},
    {126, "Mono Mode"},
    {127, "Poly Mode"},
});

constexpr std::array<std::string_view, kNotesPerOctave> kNoteNames = {
    "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

std::string Format(const char* format, int channel) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, channel + 1);
  return buffer;
}

std::string ChannelAndController(int channel, int controller) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "CH %d - CC %d", channel + 1, controller);
  return buffer;
}

std::string ChannelAndNote(int channel, int note) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, "CH %d NOTE %s%d", channel + 1,
                std::string(NoteName(note)).c_str(), note / kNotesPerOctave - kOctaveOffset);
  return buffer;
}

}  // namespace

std::optional<int> JackFunctionOf(int paramIndex) {
  for (int f = 0; f < kNumJackFunctions; ++f) {
    const JackFunction& function = kJackFunctions[static_cast<std::size_t>(f)];
    if (paramIndex == function.channelParam || paramIndex == function.modeParam ||
        paramIndex == function.controllerParam) {
      return f;
    }
  }
  return std::nullopt;
}

std::optional<int> JackOfMode(int paramIndex) {
  for (int j = 0; j < static_cast<int>(kJacks.size()); ++j) {
    if (kJacks[static_cast<std::size_t>(j)].modeParam == paramIndex) return j;
  }
  return std::nullopt;
}

std::string_view ControlChangeName(int controller) {
  if (controller < 0 || controller >= kNumControllers) return {};
  for (const auto& [number, name] : kControllerNames) {
    if (number == controller) return name;
  }
  return {};
}

std::string_view NoteName(int note) {
  const int pitchClass = ((note % kNotesPerOctave) + kNotesPerOctave) % kNotesPerOctave;
  return kNoteNames[static_cast<std::size_t>(pitchClass)];
}

JackLines DescribePedal(int mode, int channel, int controller) {
  JackLines lines;
  switch (mode) {
    case kPedalControl:
      lines[0] = ChannelAndController(channel, controller);
      lines[1] = ControlChangeName(controller);
      break;
    case kPedalAftertouch:
      lines[0] = Format("CH %d AFTERTOUCH", channel);
      break;
    case kPedalBend:
      lines[0] = Format("CH %d PITCH BEND", channel);
      break;
    default:
      break;
  }
  return lines;
}

JackLines DescribeSwitch(int mode, int channel, int controller) {
  JackLines lines;
  switch (mode) {
    case kSwitchNote:
      lines[0] = ChannelAndNote(channel, controller);
      break;
    case kSwitchStart:
    case kSwitchStop:
      lines[0] = "START/STOP";
      break;
    case kSwitchProgramChange:
      lines[0] = Format("CH %d PRG. CHANGE", channel);
      break;
    case kSwitchPedal:
      lines[2] = "PEDAL";
      [[fallthrough]];
    case kSwitchControl:
    case kSwitchSpecialControl:
      lines[0] = ChannelAndController(channel, controller);
      lines[1] = ControlChangeName(controller);
      break;
    default:
      break;
  }
  return lines;
}

}  // namespace kr7
