#include "model/Parameters.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using iplug::IParam;
using Type = IParam::EParamType;
using kr7::ParameterTable;

class ParametersTest : public ::testing::Test {
 protected:
  IParam& Param(int index) {
    IParam* param = mTable.GetParam(index);
    EXPECT_NE(param, nullptr) << index;
    return *param;
  }
  // Display text of index at value v.
  std::string TextAt(int index, double v) { return Param(index).DisplayTextForValue(v); }

  ParameterTable mTable;
};

TEST_F(ParametersTest, LookupOutsideTableYieldsNothing) {
  EXPECT_EQ(mTable.GetParam(kr7::kNumParams), nullptr);
  EXPECT_EQ(mTable.GetParam(-1), nullptr);
  EXPECT_NE(mTable.GetParam(kr7::kLastParam), nullptr);
  EXPECT_EQ(ParameterTable::NumParams(), 139);
}

TEST_F(ParametersTest, ReservedIndicesStayUninitialised) {
  for (int index : {kr7::kParamReserved65, kr7::kParamReserved66, kr7::kParamReserved67,
                    kr7::kParamReserved68, kr7::kParamGraphSelector, kr7::kParamReserved75,
                    kr7::kParamReserved76}) {
    const IParam& param = Param(index);
    EXPECT_EQ(param.Type(), Type::kTypeNone) << index;
    EXPECT_EQ(param.Name(), "") << index;
    EXPECT_EQ(param.GetMin(), 0.0) << index;
    EXPECT_EQ(param.GetMax(), 1.0) << index;
    EXPECT_FALSE(param.IsStepped()) << index;
    EXPECT_EQ(param.Value(), 0.0) << index;
  }
}

TEST_F(ParametersTest, EveryOtherParameterIsInitialisedWithStepOne) {
  int initialised = 0;
  for (int i = 0; i < kr7::kNumParams; ++i) {
    const IParam& param = Param(i);
    EXPECT_EQ(param.GetStep(), 1.0) << i;
    EXPECT_TRUE(param.Group().empty()) << i;
    initialised += param.Type() != Type::kTypeNone ? 1 : 0;
  }
  EXPECT_EQ(initialised, kr7::kNumParams - 7);
}

TEST_F(ParametersTest, PresetParametersAreSteppedIntegers) {
  for (int i = kr7::kFirstPresetParam; i <= kr7::kLastPresetParam; ++i) {
    EXPECT_EQ(Param(i).Type(), Type::kTypeInt) << i;
    EXPECT_TRUE(Param(i).IsStepped()) << i;
  }
}

TEST_F(ParametersTest, PresetParameterSamples) {
  EXPECT_EQ(Param(kr7::kParamLevel).Name(), "Level");
  EXPECT_EQ(Param(kr7::kParamLevel).Value(), 64.0);
  EXPECT_EQ(Param(kr7::kParamReverbDiffusion).Value(), 100.0);
  EXPECT_EQ(Param(kr7::kParamReverbRoomSize).Label(), "[Room...Arena]");
  EXPECT_EQ(Param(kr7::kParamExpanderAttack).Label(), "[0.5ms...100ms]");
  EXPECT_EQ(Param(kr7::kParamAutoGain).Value(), 1.0);
  EXPECT_EQ(Param(kr7::kParamAutoGain).Label(), "On/Off");
  EXPECT_EQ(Param(kr7::kParamTuner).GetMax(), 2.0);
  EXPECT_EQ(Param(kr7::kParamReverbMode).GetMax(), 4.0);
  EXPECT_EQ(Param(kr7::kParamReverbMode).Label(), "[Room, Hall, Arena, Spring, Plate]");
  EXPECT_EQ(Param(kr7::kParamAutoFilerLevel).GetMax(), 1.0);
  EXPECT_EQ(Param(kr7::kParamAutoFilerLevel2).GetMax(), 127.0);
  EXPECT_EQ(Param(kr7::kParamAfRelease).Name(), "AF. Release");
  EXPECT_EQ(Param(kr7::kParamPresetLevel).Name(), "Preset Level");
  EXPECT_EQ(Param(kr7::kParamPresetLevel).Value(), 32.0);
  EXPECT_EQ(Param(kr7::kParamUserIrAMsb).Name(), "User IR7 Preset MSB");
  EXPECT_EQ(Param(kr7::kParamUserIrB).Name(), "User IR8 Preset");
}

TEST_F(ParametersTest, DuplicatedNamesAreDistinctIndices) {
  EXPECT_EQ(Param(kr7::kParamCompressorRatio).Name(), "Compressor Ratio");
  EXPECT_EQ(Param(kr7::kParamCompressorRatio2).Name(), "Compressor Ratio");
  EXPECT_EQ(Param(kr7::kParamUserIrGainA).Name(), "User IR Gain");
  EXPECT_EQ(Param(kr7::kParamUserIrGainB).Name(), "User IR Gain");
  EXPECT_EQ(Param(kr7::kParamAutoFilerLevel).Name(), "AutoFiler Level");
  EXPECT_EQ(Param(kr7::kParamAutoFilerLevel2).Name(), "AutoFiler Level");
  EXPECT_EQ(Param(kr7::kParamJack2Mode).Name(), "JACK2 Mode");
  EXPECT_EQ(Param(kr7::kParamJack2Polarity).Name(), "JACK2 Mode");
  EXPECT_EQ(TextAt(kr7::kParamJack2Polarity, 1), "Ring");
}

TEST_F(ParametersTest, IrModesAreIndependentlySettable) {
  IParam& a = Param(kr7::kParamIrModeA);
  IParam& b = Param(kr7::kParamIrModeB);
  EXPECT_EQ(a.Name(), "IR Mode");
  EXPECT_EQ(b.Name(), "IR Mode");
  a.SetNormalized(1.0);
  EXPECT_EQ(a.Int(), 1);
  EXPECT_EQ(b.Int(), 0);
  b.SetNormalized(1.0);
  a.SetNormalized(0.0);
  EXPECT_EQ(a.Int(), 0);
  EXPECT_EQ(b.Int(), 1);
}

TEST_F(ParametersTest, ReverbExtensionFactorFromRaw) {
  IParam& param = Param(kr7::kParamReverbExtensionFactor);
  EXPECT_EQ(param.Name(), "Reverb Extension Factor");
  EXPECT_EQ(param.Label(), "[2...5 semitones]");
  param.SetFromRaw(0);
  EXPECT_EQ(param.Value(), 2.0);
  param.SetFromRaw(127);
  EXPECT_EQ(param.Value(), 5.0);
  param.SetFromRaw(3);
  EXPECT_EQ(param.Value(), 3.0);
}

TEST_F(ParametersTest, RawValuesRoundTripOnFullRangeParameters) {
  IParam& param = Param(kr7::kParamGain);
  for (int raw = 0; raw <= 127; ++raw) {
    param.SetFromRaw(raw);
    ASSERT_EQ(param.Int(), raw);
  }
}

TEST_F(ParametersTest, CompressionPositionZeroIs64) {
  IParam& param = Param(kr7::kParamCompression);
  EXPECT_EQ(param.Name(), "Compression");
  param.SetNormalized(0.0);
  EXPECT_EQ(param.Value(), 64.0);
  param.SetNormalized(1.0);
  EXPECT_EQ(param.Value(), 127.0);
}

TEST_F(ParametersTest, EditorParameters) {
  EXPECT_EQ(Param(kr7::kParamScroll).Name(), "Scroll");
  EXPECT_EQ(Param(kr7::kParamScroll).Value(), 109.0);
  EXPECT_EQ(Param(kr7::kParamScroll).GetMax(), 109.0);
  EXPECT_EQ(Param(kr7::kParamEditorIr).Name(), "IR");
  struct Hover {
    int index;
    double max;
  };
  for (Hover hover : {Hover{kr7::kParamPresetListHover, 19.0}, Hover{kr7::kParamIrListHover, 9.0},
                      Hover{kr7::kParamUserIrBrowserLeftHover, 16.0},
                      Hover{kr7::kParamUserIrBrowserRightHover, 16.0}}) {
    const IParam& param = Param(hover.index);
    EXPECT_EQ(param.Type(), Type::kTypeDouble) << hover.index;
    EXPECT_FALSE(param.IsStepped()) << hover.index;
    EXPECT_EQ(param.Name(), "") << hover.index;
    EXPECT_EQ(param.GetMax(), hover.max) << hover.index;
  }
}

TEST_F(ParametersTest, CustomIrBankTexts) {
  IParam& bank = Param(kr7::kParamCustomIrBank);
  EXPECT_EQ(bank.Type(), Type::kTypeEnum);
  EXPECT_EQ(bank.GetMax(), 8.0);  // a list of nine values
  for (int v = 0; v < 8; ++v) {
    EXPECT_EQ(TextAt(kr7::kParamCustomIrBank, v), "Custom Bank " + std::to_string(v + 1));
  }
  EXPECT_EQ(TextAt(kr7::kParamCustomIrBank, 8), "Factory Bank");
  bank.SetNormalized(1.0);
  EXPECT_EQ(bank.Value(), 8.0);
  EXPECT_EQ(bank.DisplayText(), "Factory Bank");
  EXPECT_EQ(bank.DisplayLabel(), "");
}

TEST_F(ParametersTest, GlobalSettingTexts) {
  EXPECT_EQ(TextAt(kr7::kParamDefineMidiMapping, 1), "Enabled");
  EXPECT_EQ(TextAt(kr7::kParamMidiThruMode, 0), "Disabled");
  EXPECT_EQ(TextAt(kr7::kParamPatchOffset, 0), "0-127");
  EXPECT_EQ(TextAt(kr7::kParamPatchOffset, 1), "1-128");
  EXPECT_EQ(TextAt(kr7::kParamMidiCcChannel, 0), "OMNI");
  EXPECT_EQ(TextAt(kr7::kParamMidiCcChannel, 1), "Channel 1");
  EXPECT_EQ(TextAt(kr7::kParamMidiCcChannel, 16), "Channel 16");
  EXPECT_EQ(Param(kr7::kParamMidiCcChannel).GetMax(), 16.0);
  EXPECT_EQ(TextAt(kr7::kParamEditPotDisplayMode, 1), "Numerical Value (0-127)");
  EXPECT_EQ(TextAt(kr7::kParamDisengageAllPots, 0), "All pots engaged");
  EXPECT_EQ(TextAt(kr7::kParamTunerFrequency, 0), "428Hz");
  EXPECT_EQ(TextAt(kr7::kParamTunerFrequency, 12), "440Hz");
  EXPECT_EQ(TextAt(kr7::kParamTunerFrequency, 24), "452Hz");
  EXPECT_EQ(Param(kr7::kParamTunerFrequency).GetMax(), 24.0);
  EXPECT_EQ(Param(kr7::kParamTunerFrequency).DisplayText(), "440Hz");
  EXPECT_EQ(TextAt(kr7::kParamPresetProtectionWriter, 1), "On");
  EXPECT_EQ(TextAt(kr7::kParamTunerDetune, 2), "bb");
  EXPECT_EQ(TextAt(kr7::kParamCabinetBypass, 0), "Off");
  for (int i = kr7::kParamDefineMidiMapping; i <= kr7::kParamCabinetBypass; ++i) {
    EXPECT_EQ(Param(i).Type(), Type::kTypeEnum) << i;
  }
}

TEST_F(ParametersTest, MappingParameters) {
  for (int i = 0; i < kr7::kNumControllerMap; ++i) {
    const IParam& param = Param(kr7::kParamControllerMap0 + i);
    EXPECT_EQ(param.Name(), "");
    EXPECT_EQ(param.Int(), i);
    EXPECT_EQ(param.GetMax(), 127.0);
  }
  EXPECT_EQ(Param(kr7::kParamRxa3Program).Name(), "RXA3 Program");
  EXPECT_EQ(Param(kr7::kParamJack1Mode).Name(), "JACK 1 Mode");
  EXPECT_EQ(TextAt(kr7::kParamJack1Mode, 1), "Switches");
  EXPECT_EQ(Param(kr7::kParamPedal2MidiChannel).Name(), "PEDAL2 Midi Channel");
  EXPECT_EQ(TextAt(kr7::kParamPedal2MidiChannel, 0), "1");
  EXPECT_EQ(TextAt(kr7::kParamPedal2MidiChannel, 15), "16");
  EXPECT_EQ(Param(kr7::kParamPedal2MidiChannel).GetMax(), 15.0);
  EXPECT_EQ(TextAt(kr7::kParamPedal1Mode, 2), "Bend");
  EXPECT_EQ(Param(kr7::kParamPedal1CalibrationHighEnd).Name(), "PEDAL1 Calibration High End");
  EXPECT_EQ(Param(kr7::kParamSwitchA2Operation).Name(), "SWITCHA2 Operation");
  EXPECT_EQ(TextAt(kr7::kParamSwitchB1Operation, 1), "Latching");
  EXPECT_EQ(Param(kr7::kParamSwitchB1FunctionMode).GetMax(), 6.0);
  EXPECT_EQ(TextAt(kr7::kParamSwitchA1FunctionMode, 1), "Note On/Off");
  EXPECT_EQ(TextAt(kr7::kParamSwitchA1FunctionMode, 6), "Pedal");
  EXPECT_EQ(Param(kr7::kParamSwitch2SpecialCtrlLower).Name(), "SWITCH2 Special Ctrl Lower");
  EXPECT_EQ(Param(kr7::kParamSwitch1SpecialCtrlUpper).Name(), "SWITCH1 Special Ctrl Upper");
  EXPECT_EQ(Param(kr7::kParamSwitchB2Controller).Name(), "SWITCHB2 Controller");
}

TEST_F(ParametersTest, LabelHiddenWhereValueTextMatches) {
  EXPECT_EQ(Param(kr7::kParamReverbRoomSize).DisplayLabel(), "[Room...Arena]");
  EXPECT_EQ(Param(kr7::kParamTunerDetune).DisplayLabel(), "");
  EXPECT_EQ(Param(kr7::kParamLevel).DisplayText(), "64");
}

TEST(DeviceParameterNumbers, FollowTheMapping) {
  EXPECT_EQ(kr7::DeviceParameterNumber(kr7::kParamLevel), 0);
  EXPECT_EQ(kr7::DeviceParameterNumber(kr7::kParamAnalogSim), 15);
  EXPECT_EQ(kr7::DeviceParameterNumber(kr7::kParamReverbRoomSize), 20);
  EXPECT_EQ(kr7::DeviceParameterNumber(kr7::kParamAfRelease), 67);
  EXPECT_EQ(kr7::DeviceParameterNumber(kr7::kParamPresetLevel), 16);
  EXPECT_EQ(kr7::DeviceParameterNumber(65), 17);
  EXPECT_EQ(kr7::DeviceParameterNumber(66), kr7::kDeviceParamStorePreset);
  EXPECT_EQ(kr7::DeviceParameterNumber(67), 0);
  EXPECT_EQ(kr7::DeviceParameterNumber(68), -1);
  EXPECT_EQ(kr7::DeviceParameterNumber(-1), -1);
  for (int i = kr7::kParamReverbRoomSize; i <= kr7::kParamAfRelease; ++i) {
    EXPECT_EQ(kr7::DeviceParameterNumber(i), i + 4);
  }
}

TEST(PluginConfig, FixedRecord) {
  const kr7::PluginConfig& config = kr7::kPluginConfig;
  EXPECT_EQ(config.pluginName, "KR7Control");
  EXPECT_EQ(config.productName, "KR7Control");
  EXPECT_EQ(config.makerName, "Norvane");
  EXPECT_EQ(config.numParams, 139);
  EXPECT_EQ(config.numPresets, 1);
  EXPECT_EQ(config.channelIo, "0-2");
  EXPECT_EQ(config.version, 0x00010200u);
  EXPECT_TRUE(config.midiIn);
  EXPECT_TRUE(config.midiOut);
  EXPECT_TRUE(config.hasUi);
  EXPECT_EQ(config.designWidth, 1920);
  EXPECT_EQ(config.designHeight, 1200);
  EXPECT_EQ(config.minWidth * 3, config.designWidth);
  EXPECT_EQ(config.minHeight * 3, config.designHeight);
  EXPECT_EQ(config.maxWidth, config.designWidth * 3);
  EXPECT_EQ(config.maxHeight, config.designHeight * 3);
}

TEST(CabinetNames, NineFactoryCabinets) {
  EXPECT_EQ(kr7::kCabinetNames.size(), 9u);
  EXPECT_EQ(kr7::kCabinetNames[0], "FLAT RESPONSE");
  EXPECT_EQ(kr7::kCabinetNames[kr7::kCabinetPositionA], "BRIT 2x12");
  EXPECT_EQ(kr7::kCabinetNames[kr7::kCabinetPositionB], "BOUTIQUE 4x12");
  EXPECT_EQ(kr7::kDefaultUserIrScale, 1.0);
}

}  // namespace
