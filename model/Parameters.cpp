#include "model/Parameters.h"

#include <cstdio>
#include <span>
#include <string>

namespace kr7 {

namespace {

using iplug::IParam;

struct IntSpec {
  std::string_view name;
  int minValue;
  int maxValue;
  int defaultValue;
  std::string_view label;
};

// Indices 0..64 in order; every one is a stepped integer.
constexpr std::array<IntSpec, kNumPresetParams> kPresetParams = {{
    {"Level", 0, 127, 64, ""},
    {"Gain", 0, 127, 64, ""},
    {"Buzz", 0, 127, 64, ""},
    {"Punch", 0, 127, 64, ""},
    {"Crunch", 0, 127, 64, ""},
    {"Drive", 0, 127, 64, ""},
    {"Low", 0, 127, 64, ""},
    {"High", 0, 127, 64, ""},
    {"Reverb", 0, 127, 0, ""},
    {"Gate", 0, 127, 0, ""},
    {"Dynamics", 0, 127, 64, ""},
    {"Punch Freq", 0, 127, 64, ""},
    {"Mid", 0, 127, 64, ""},
    {"Mid Shift", 0, 127, 64, ""},
    {"IR", 0, 127, 0, ""},
    {"AnalogSim", 0, 127, 64, ""},
    {"Reverb Room Size", 0, 127, 64, "[Room...Arena]"},
    {"Reverb Decay Time", 0, 127, 64, ""},
    {"Reverb Diffusion", 0, 127, 100, ""},
    {"Reverb Extension Factor", 2, 5, 2, "[2...5 semitones]"},
    {"Reverb Fbk. Delay Size", 0, 127, 64, ""},
    {"Reverb Fbk. Filter", 0, 127, 127, "[500...5000Hz]"},
    {"Reverb Fbk. Damper Factor", 0, 127, 0, ""},
    {"Reverb LP Filter", 0, 127, 127, "[500...5000Hz]"},
    {"Reverb HP Filter", 0, 127, 0, "[20...2000Hz]"},
    {"Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
    {"Compressor Output Gain", 0, 127, 64, "[-30dB...18dB]"},
    {"Compressor Attack", 0, 127, 64, "[0ms...100ms]"},
    {"Compressor Release", 0, 127, 64, "[50ms...5000ms]"},
    {"Expander Ratio", 0, 127, 0, "[1:1...1:16]"},
    {"Expander Output Gain", 0, 127, 64, "[-30dB...18dB]"},
    {"Expander Attack", 0, 127, 64, "[0.5ms...100ms]"},
    {"Expander Release", 0, 127, 64, "[50ms...5000ms]"},
    {"Soft Clipping", 0, 127, 127, ""},
    {"AnalogSim Gain", 0, 127, 127, "[0...1x]"},
    {"Anti-aliasing Filter", 0, 127, 127, ""},
    {"Clean Input Level", 0, 127, 127, ""},
    {"Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
    {"Gate Attack", 0, 127, 0, ""},
    {"Gate Release", 0, 127, 64, ""},
    {"IR Mode", 0, 1, 0, ""},
    {"IR Mode", 0, 1, 0, ""},
    {"User IR Gain", 0, 127, 64, ""},
    {"User IR Gain", 0, 127, 64, ""},
    {"Buzz Q", 0, 127, 64, ""},
    {"Punch Q", 0, 127, 64, ""},
    {"Crunch Q", 0, 127, 64, ""},
    {"Mid Q", 0, 127, 64, ""},
    {"Low Q", 0, 127, 64, ""},
    {"High Q", 0, 127, 64, ""},
    {"Auto Gain", 0, 1, 1, "On/Off"},
    {"Lookahead", 0, 1, 0, "On/Off"},
    {"Tuner", 0, 2, 0, "Off/Mute/Bypass"},
    {"User IR7 Preset MSB", 0, 127, 0, ""},
    {"User IR7 Preset", 0, 127, 0, ""},
    {"User IR8 Preset MSB", 0, 127, 0, ""},
    {"User IR8 Preset", 0, 127, 0, ""},
    {"Reverb Mode", 0, 4, 0, "[Room, Hall, Arena, Spring, Plate]"},
    {"Reverb Modulation Depth", 0, 127, 0, ""},
    {"Reverb Modulation Rate", 0, 127, 0, "[0...5Hz]"},
    {"AutoFiler Level", 0, 1, 0, ""},
    {"AutoFiler Level", 0, 127, 64, ""},
    {"AF. Attack", 0, 127, 64, ""},
    {"AF. Release", 0, 127, 64, ""},
    {"Preset Level", 0, 127, 32, ""},
}};

constexpr std::array<int, kNumDeviceParameterNumbers> MakeDeviceParameterNumbers() {
  std::array<int, kNumDeviceParameterNumbers> numbers{};
  for (int i = 0; i <= 15; ++i) {
    numbers[static_cast<std::size_t>(i)] = i;
  }
  for (int i = 16; i <= 63; ++i) {
    numbers[static_cast<std::size_t>(i)] = i + 4;
  }
  numbers[kParamPresetLevel] = 16;
  // Never sent; kept so the table's length and contents match the pedal's.
  numbers[65] = 17;
  numbers[66] = kDeviceParamStorePreset;
  numbers[67] = 0;
  return numbers;
}

constexpr std::array<int, kNumDeviceParameterNumbers> kDeviceParameterNumbers =
    MakeDeviceParameterNumbers();

std::string Format(const char* format, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

using Texts = std::span<const std::string_view>;

constexpr std::array<std::string_view, 2> kDisabledEnabled = {"Disabled", "Enabled"};
constexpr std::array<std::string_view, 2> kOffOn = {"Off", "On"};
constexpr std::array<std::string_view, 2> kPatchOffsets = {"0-127", "1-128"};
constexpr std::array<std::string_view, 2> kPotDisplayModes = {"Digits",
                                                              "Numerical Value (0-127)"};
constexpr std::array<std::string_view, 2> kPotEngagement = {"All pots engaged",
                                                            "All pots disengaged"};
constexpr std::array<std::string_view, 3> kDetunes = {"Disabled", "b", "bb"};
constexpr std::array<std::string_view, 2> kJackModes = {"Pedal", "Switches"};
constexpr std::array<std::string_view, 2> kJackPolarities = {"Tip", "Ring"};
constexpr std::array<std::string_view, 3> kPedalModes = {"Control", "Aftertouch", "Bend"};
constexpr std::array<std::string_view, 2> kOperations = {"Momentary", "Latching"};
constexpr std::array<std::string_view, 7> kFunctionModes = {
    "Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"};

constexpr int kNumCustomIrBanks = 8;
constexpr int kNumMidiChannels = 16;
constexpr int kNumTunerFrequencies = 25;
constexpr int kLowestTunerFrequency = 428;

std::vector<std::string> MidiChannelTexts() {
  std::vector<std::string> texts;
  for (int c = 1; c <= kNumMidiChannels; ++c) {
    texts.push_back(Format("%d", c));
  }
  return texts;
}

// One pedal input of the jack page: channel, mode, controller, output and
// calibration ranges (indices first .. first + 6).
void InitPedalInput(std::array<IParam, kNumParams>& params, int first, std::string_view prefix,
                    const std::vector<std::string>& channels) {
  const std::string p(prefix);
  params[first].InitEnum(p + " Midi Channel", 0, channels);
  params[first + 1].InitEnum(p + " Mode", 0, Texts(kPedalModes));
  params[first + 2].InitInt(p + " Controller", 0, 0, 127);
  params[first + 3].InitInt(p + " Out Minimum", 0, 0, 127);
  params[first + 4].InitInt(p + " Out Maximum", 0, 0, 127);
  params[first + 5].InitInt(p + " Calibration Low End", 0, 0, 127);
  params[first + 6].InitInt(p + " Calibration High End", 0, 0, 127);
}

// One footswitch input: channel, operation, function mode, controller
// (indices first .. first + 3).
void InitSwitchInput(std::array<IParam, kNumParams>& params, int first, std::string_view prefix,
                     const std::vector<std::string>& channels) {
  const std::string p(prefix);
  params[first].InitEnum(p + " Midi Channel", 0, channels);
  params[first + 1].InitEnum(p + " Operation", 0, Texts(kOperations));
  params[first + 2].InitEnum(p + " Function Mode", 0, Texts(kFunctionModes));
  params[first + 3].InitInt(p + " Controller", 0, 0, 127);
}

void InitPresetParams(std::array<IParam, kNumParams>& params) {
  for (int i = 0; i < kNumPresetParams; ++i) {
    const IntSpec& entry = kPresetParams[static_cast<std::size_t>(i)];
    params[i].InitInt(entry.name, entry.defaultValue, entry.minValue, entry.maxValue, entry.label);
  }
}

void InitEditorParams(std::array<IParam, kNumParams>& params) {
  params[kParamCompression].InitInt("Compression", 64, 64, 127);
  params[kParamScroll].InitInt("Scroll", 109, 0, 109);
  params[kParamPresetListHover].InitDouble("", 0.0, 0.0, 19.0, 1.0);
  params[kParamIrListHover].InitDouble("", 0.0, 0.0, 9.0, 1.0);
  params[kParamEditorIr].InitInt("IR", 0, 0, 127);
  IParam& bank = params[kParamCustomIrBank];
  bank.InitEnum("Custom IR Bank", 0, kNumCustomIrBanks + 1);
  for (int v = 0; v < kNumCustomIrBanks; ++v) {
    bank.SetDisplayText(v, Format("Custom Bank %d", v + 1));
  }
  bank.SetDisplayText(kNumCustomIrBanks, "Factory Bank");
  params[kParamUserIrBrowserLeftHover].InitDouble("", 0.0, 0.0, 16.0, 1.0);
  params[kParamUserIrBrowserRightHover].InitDouble("", 0.0, 0.0, 16.0, 1.0);
}

void InitGlobalParams(std::array<IParam, kNumParams>& params) {
  params[kParamDefineMidiMapping].InitEnum("DEFINE MIDI MAPPING", 0, Texts(kDisabledEnabled));
  params[kParamMidiThruMode].InitEnum("MIDI THRU MODE", 0, Texts(kDisabledEnabled));
  params[kParamPatchOffset].InitEnum("PATCH OFFSET", 0, Texts(kPatchOffsets));
  params[kParamMidiCcMode].InitEnum("MIDI CC MODE", 0, Texts(kDisabledEnabled));
  IParam& ccChannel = params[kParamMidiCcChannel];
  ccChannel.InitEnum("MIDI CC CHANNEL", 0, kNumMidiChannels + 1);
  ccChannel.SetDisplayText(0, "OMNI");
  for (int c = 1; c <= kNumMidiChannels; ++c) {
    ccChannel.SetDisplayText(c, Format("Channel %d", c));
  }
  params[kParamEditPotDisplayMode].InitEnum("EDIT POT DISPLAY MODE", 0, Texts(kPotDisplayModes));
  params[kParamDisengageAllPots].InitEnum("DISENGAGE ALL POTS", 0, Texts(kPotEngagement));
  IParam& tuner = params[kParamTunerFrequency];
  tuner.InitEnum("TUNER FREQUENCY", 12, kNumTunerFrequencies);
  for (int i = 0; i < kNumTunerFrequencies; ++i) {
    tuner.SetDisplayText(i, Format("%dHz", kLowestTunerFrequency + i));
  }
  params[kParamPresetProtectionWriter].InitEnum("PRESET PROTECTION WRITER", 0, Texts(kOffOn));
  params[kParamTunerDetune].InitEnum("TUNER DETUNE", 0, Texts(kDetunes));
  params[kParamCabinetBypass].InitEnum("CABINET BYPASS", 0, Texts(kOffOn));
}

void InitMappingParams(std::array<IParam, kNumParams>& params) {
  for (int i = 0; i < kNumControllerMap; ++i) {
    params[kParamControllerMap0 + i].InitInt("", i, 0, 127);
  }
  params[kParamControllerProgram].InitInt("Controller Program", 0, 0, 127);
  params[kParamRxa3Program].InitInt("RXA3 Program", 0, 0, 127);
  params[kParamJack2Mode].InitEnum("JACK2 Mode", 0, Texts(kJackModes));
  params[kParamJack2Polarity].InitEnum("JACK2 Mode", 0, Texts(kJackPolarities));
  params[kParamJack1Mode].InitEnum("JACK 1 Mode", 0, Texts(kJackModes));
  params[kParamJack1Polarity].InitEnum("JACK 1 Polarity", 0, Texts(kJackPolarities));
  const std::vector<std::string> channels = MidiChannelTexts();
  InitPedalInput(params, kParamPedal2MidiChannel, "PEDAL2", channels);
  InitSwitchInput(params, kParamSwitchA2MidiChannel, "SWITCHA2", channels);
  InitSwitchInput(params, kParamSwitchB2MidiChannel, "SWITCHB2", channels);
  params[kParamSwitch2SpecialCtrlLower].InitInt("SWITCH2 Special Ctrl Lower", 0, 0, 127);
  params[kParamSwitch2SpecialCtrlUpper].InitInt("SWITCH2 Special Ctrl Upper", 0, 0, 127);
  InitPedalInput(params, kParamPedal1MidiChannel, "PEDAL1", channels);
  InitSwitchInput(params, kParamSwitchA1MidiChannel, "SWITCHA1", channels);
  InitSwitchInput(params, kParamSwitchB1MidiChannel, "SWITCHB1", channels);
  params[kParamSwitch1SpecialCtrlLower].InitInt("SWITCH1 Special Ctrl Lower", 0, 0, 127);
  params[kParamSwitch1SpecialCtrlUpper].InitInt("SWITCH1 Special Ctrl Upper", 0, 0, 127);
}

}  // namespace

int DeviceParameterNumber(int index) {
  if (index < 0 || index >= kNumDeviceParameterNumbers) {
    return -1;
  }
  return kDeviceParameterNumbers[static_cast<std::size_t>(index)];
}

ParameterTable::ParameterTable() {
  InitPresetParams(mParams);
  InitEditorParams(mParams);
  InitGlobalParams(mParams);
  InitMappingParams(mParams);
}

iplug::IParam* ParameterTable::GetParam(int index) {
  if (index < 0 || index >= kNumParams) {
    return nullptr;
  }
  return &mParams[static_cast<std::size_t>(index)];
}

const iplug::IParam* ParameterTable::GetParam(int index) const {
  if (index < 0 || index >= kNumParams) {
    return nullptr;
  }
  return &mParams[static_cast<std::size_t>(index)];
}

}  // namespace kr7
