#pragma once
// The editor's parameter table: 139 parameters addressed by index only
// (several names occur twice), created once in ParameterTable's constructor
// and never reshaped afterwards. Indices 0..64 are preset parameters (payload
// byte 34 + index, sent live under a device parameter number), 69..79 live
// only in the editor, 80..90 are the pedal's global settings and 91..138 its
// MIDI mapping and jack settings. 65..68 and 74..76 stay uninitialised.
//
// Threading: the table's shape is immutable after construction; values are
// std::atomic<double> inside each IParam and may be set from any thread.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/IParam.h"

namespace kr7 {

inline constexpr int kNumParams = 139;

// --- Preset parameters (payload and live edits) -----------------------------
inline constexpr int kParamLevel = 0;
inline constexpr int kParamGain = 1;
inline constexpr int kParamBuzz = 2;
inline constexpr int kParamPunch = 3;
inline constexpr int kParamCrunch = 4;
inline constexpr int kParamDrive = 5;
inline constexpr int kParamLow = 6;
inline constexpr int kParamHigh = 7;
inline constexpr int kParamReverb = 8;
inline constexpr int kParamGate = 9;
inline constexpr int kParamDynamics = 10;
inline constexpr int kParamPunchFreq = 11;
inline constexpr int kParamMid = 12;
inline constexpr int kParamMidShift = 13;
inline constexpr int kParamIr = 14;
inline constexpr int kParamAnalogSim = 15;
inline constexpr int kParamReverbRoomSize = 16;
inline constexpr int kParamReverbDecayTime = 17;
inline constexpr int kParamReverbDiffusion = 18;
inline constexpr int kParamReverbExtensionFactor = 19;
inline constexpr int kParamReverbFbkDelaySize = 20;
inline constexpr int kParamReverbFbkFilter = 21;
inline constexpr int kParamReverbFbkDamperFactor = 22;
inline constexpr int kParamReverbLpFilter = 23;
inline constexpr int kParamReverbHpFilter = 24;
inline constexpr int kParamCompressorRatio = 25;
inline constexpr int kParamCompressorOutputGain = 26;
inline constexpr int kParamCompressorAttack = 27;
inline constexpr int kParamCompressorRelease = 28;
inline constexpr int kParamExpanderRatio = 29;
inline constexpr int kParamExpanderOutputGain = 30;
inline constexpr int kParamExpanderAttack = 31;
inline constexpr int kParamExpanderRelease = 32;
inline constexpr int kParamSoftClipping = 33;
inline constexpr int kParamAnalogSimGain = 34;
inline constexpr int kParamAntiAliasingFilter = 35;
inline constexpr int kParamCleanInputLevel = 36;
inline constexpr int kParamCompressorRatio2 = 37;  // second "Compressor Ratio"
inline constexpr int kParamGateAttack = 38;
inline constexpr int kParamGateRelease = 39;
inline constexpr int kParamIrModeA = 40;  // "IR Mode" of cabinet position 7
inline constexpr int kParamIrModeB = 41;  // "IR Mode" of cabinet position 8
inline constexpr int kParamUserIrGainA = 42;
inline constexpr int kParamUserIrGainB = 43;
inline constexpr int kParamBuzzQ = 44;
inline constexpr int kParamPunchQ = 45;
inline constexpr int kParamCrunchQ = 46;
inline constexpr int kParamMidQ = 47;
inline constexpr int kParamLowQ = 48;
inline constexpr int kParamHighQ = 49;
inline constexpr int kParamAutoGain = 50;
inline constexpr int kParamLookahead = 51;
inline constexpr int kParamTuner = 52;
inline constexpr int kParamUserIrAMsb = 53;  // "User IR7 Preset MSB"
inline constexpr int kParamUserIrA = 54;     // "User IR7 Preset"
inline constexpr int kParamUserIrBMsb = 55;  // "User IR8 Preset MSB"
inline constexpr int kParamUserIrB = 56;     // "User IR8 Preset"
inline constexpr int kParamReverbMode = 57;
inline constexpr int kParamReverbModulationDepth = 58;
inline constexpr int kParamReverbModulationRate = 59;
inline constexpr int kParamAutoFilerLevel = 60;
inline constexpr int kParamAutoFilerLevel2 = 61;  // second "AutoFiler Level"
inline constexpr int kParamAfAttack = 62;
inline constexpr int kParamAfRelease = 63;
inline constexpr int kParamPresetLevel = 64;

inline constexpr int kFirstPresetParam = kParamLevel;
inline constexpr int kLastPresetParam = kParamPresetLevel;
inline constexpr int kNumPresetParams = kLastPresetParam + 1;  // 65

// --- Never initialised ---------------------------------------------------------
inline constexpr int kParamReserved65 = 65;
inline constexpr int kParamReserved66 = 66;
inline constexpr int kParamReserved67 = 67;
inline constexpr int kParamReserved68 = 68;

// --- Editor-only parameters ---------------------------------------------------
inline constexpr int kParamCompression = 69;
inline constexpr int kParamScroll = 70;
inline constexpr int kParamPresetListHover = 71;  // row under the pointer, preset list
inline constexpr int kParamIrListHover = 72;      // row under the pointer, IR list
inline constexpr int kParamEditorIr = 73;         // the editor's own "IR"
// Never initialised, but bound to the selector over the main page's graph.
inline constexpr int kParamGraphSelector = 74;
inline constexpr int kParamReserved75 = 75;
inline constexpr int kParamReserved76 = 76;
inline constexpr int kParamCustomIrBank = 77;
inline constexpr int kParamUserIrBrowserLeftHover = 78;
inline constexpr int kParamUserIrBrowserRightHover = 79;

// --- Global settings ---------------------------------------------------------
inline constexpr int kParamDefineMidiMapping = 80;
inline constexpr int kParamMidiThruMode = 81;
inline constexpr int kParamPatchOffset = 82;
inline constexpr int kParamMidiCcMode = 83;
inline constexpr int kParamMidiCcChannel = 84;
inline constexpr int kParamEditPotDisplayMode = 85;
inline constexpr int kParamDisengageAllPots = 86;
inline constexpr int kParamTunerFrequency = 87;
inline constexpr int kParamPresetProtectionWriter = 88;
inline constexpr int kParamTunerDetune = 89;
inline constexpr int kParamCabinetBypass = 90;

// --- MIDI mapping and jack settings -------------------------------------------
// Control-change numbers of DRIVE, LOW, MID, HIGH, REVERB, GATE, FILTER, LEVEL.
inline constexpr int kParamControllerMap0 = 91;
inline constexpr int kParamControllerMap1 = 92;
inline constexpr int kParamControllerMap2 = 93;
inline constexpr int kParamControllerMap3 = 94;
inline constexpr int kParamControllerMap4 = 95;
inline constexpr int kParamControllerMap5 = 96;
inline constexpr int kParamControllerMap6 = 97;
inline constexpr int kParamControllerMap7 = 98;
inline constexpr int kNumControllerMap = 8;
inline constexpr int kParamControllerProgram = 99;
inline constexpr int kParamRxa3Program = 100;
inline constexpr int kParamJack2Mode = 101;
inline constexpr int kParamJack2Polarity = 102;  // second "JACK2 Mode"
inline constexpr int kParamJack1Mode = 103;
inline constexpr int kParamJack1Polarity = 104;
inline constexpr int kParamPedal2MidiChannel = 105;
inline constexpr int kParamPedal2Mode = 106;
inline constexpr int kParamPedal2Controller = 107;
inline constexpr int kParamPedal2OutMinimum = 108;
inline constexpr int kParamPedal2OutMaximum = 109;
inline constexpr int kParamPedal2CalibrationLowEnd = 110;
inline constexpr int kParamPedal2CalibrationHighEnd = 111;
inline constexpr int kParamSwitchA2MidiChannel = 112;
inline constexpr int kParamSwitchA2Operation = 113;
inline constexpr int kParamSwitchA2FunctionMode = 114;
inline constexpr int kParamSwitchA2Controller = 115;
inline constexpr int kParamSwitchB2MidiChannel = 116;
inline constexpr int kParamSwitchB2Operation = 117;
inline constexpr int kParamSwitchB2FunctionMode = 118;
inline constexpr int kParamSwitchB2Controller = 119;
inline constexpr int kParamSwitch2SpecialCtrlLower = 120;
inline constexpr int kParamSwitch2SpecialCtrlUpper = 121;
inline constexpr int kParamPedal1MidiChannel = 122;
inline constexpr int kParamPedal1Mode = 123;
inline constexpr int kParamPedal1Controller = 124;
inline constexpr int kParamPedal1OutMinimum = 125;
inline constexpr int kParamPedal1OutMaximum = 126;
inline constexpr int kParamPedal1CalibrationLowEnd = 127;
inline constexpr int kParamPedal1CalibrationHighEnd = 128;
inline constexpr int kParamSwitchA1MidiChannel = 129;
inline constexpr int kParamSwitchA1Operation = 130;
inline constexpr int kParamSwitchA1FunctionMode = 131;
inline constexpr int kParamSwitchA1Controller = 132;
inline constexpr int kParamSwitchB1MidiChannel = 133;
inline constexpr int kParamSwitchB1Operation = 134;
inline constexpr int kParamSwitchB1FunctionMode = 135;
inline constexpr int kParamSwitchB1Controller = 136;
inline constexpr int kParamSwitch1SpecialCtrlLower = 137;
inline constexpr int kParamSwitch1SpecialCtrlUpper = 138;
inline constexpr int kLastParam = kParamSwitch1SpecialCtrlUpper;

// --- Device parameter numbers for live edits ----------------------------------
inline constexpr int kNumDeviceParameterNumbers = 68;
// Sent by the main page's save procedure with the target slot as value.
inline constexpr int kDeviceParamStorePreset = 18;

// The pedal's number for preset parameter index (0..64: 0-15 -> index,
// 16-63 -> index + 4, 64 -> 16). Entries 65..67 hold 17, 18 and 0 but are
// not meant to be sent. Returns -1 outside 0..67.
int DeviceParameterNumber(int index);

// --- Other fixed data -----------------------------------------------------------
inline constexpr int kNumCabinets = 9;
inline constexpr std::array<std::string_view, kNumCabinets> kCabinetNames = {
    "FLAT RESPONSE", "VALVORA",   "BLONDE 2x12", "TWEED 4x10",    "CALI 1x12",
    "CALI 4x12",     "BLUE 2x12", "BRIT 2x12",   "BOUTIQUE 4x12"};
// Cabinet positions whose factory names show while "IR Mode" 40 / 41 is 0.
inline constexpr int kCabinetPositionA = 7;
inline constexpr int kCabinetPositionB = 8;

// Scale applied to user impulse responses until one is chosen.
inline constexpr double kDefaultUserIrScale = 1.0;

// The fixed record handed to the application base.
struct PluginConfig {
  std::string_view pluginName;
  std::string_view productName;
  std::string_view makerName;
  int numParams;
  int numPresets;
  std::string_view channelIo;
  std::uint32_t version;  // major in byte 2, minor in byte 1, patch in byte 0
  bool midiIn;
  bool midiOut;
  bool hasUi;
  int designWidth;
  int designHeight;
  int minWidth;
  int minHeight;
  int maxWidth;
  int maxHeight;
};

inline constexpr PluginConfig kPluginConfig = {
    "KR7Control", "KR7Control", "Norvane", kNumParams, 1, "0-2", 0x00010200u, true, true, true,
    1920,         1200,         640,       400,        5760, 3600};

// Owns the 139 parameters. Not copyable (the values are atomics); build one
// per application object.
class ParameterTable {
 public:
  ParameterTable();
  ParameterTable(const ParameterTable&) = delete;
  ParameterTable& operator=(const ParameterTable&) = delete;

  // nullptr outside 0..kNumParams-1.
  iplug::IParam* GetParam(int index);
  const iplug::IParam* GetParam(int index) const;
  static constexpr int NumParams() { return kNumParams; }

 private:
  std::array<iplug::IParam, kNumParams> mParams;
};

}  // namespace kr7
