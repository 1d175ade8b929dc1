// The value texts and the recognition tables of live editing.

#include <gtest/gtest.h>

#include "editor/BlockSelection.h"
#include "model/ControlTags.h"
#include "editor/ValueTexts.h"
#include "model/Parameters.h"

namespace kr7 {
namespace {

std::string Knob(int index, int m) { return KnobValueText(index, m).value_or(TagText{}).text; }

TEST(ValueTexts, FormulasAndFormats) {
  const struct {
    std::string actual;
    std::string expected;
  } cases[] = {
      {ReadDynamics(0, 0, 0).text, "-inf."},
      {ReadDynamics(1, 0, 0).text, "-59.05"},
      {std::string(ReadDynamics(1, 0, 0).title), "EXPANDER"},
      {ReadDynamics(64, 0, 0).text, "Bypass"},
      {std::string(ReadDynamics(64, 0, 0).title), "DYNAMICS"},
      {ReadDynamics(127, 0, 0).text, "-60.00"},
      {std::string(ReadDynamics(127, 0, 0).title), "COMPRESSOR"},
      {GateThresholdText(0), "Bypass"},
      {GateThresholdText(127), "-30.00"},
      {Knob(kParamMidShift, 64), "1000"},
      {Knob(kParamMidShift, 0), "100"},
      {Knob(kParamMidShift, 127), "1900"},
      {Knob(kParamLowQ, 64), "1.0"},
      {Knob(kParamLowQ, 0), "0.5"},
      {Knob(kParamLowQ, 127), "2.0"},
      {ReadAnalogSim(0).text + " " + std::string(ReadAnalogSim(0).title), "100 DIGITAL SMOOTH"},
      {ReadAnalogSim(127).text + " " + std::string(ReadAnalogSim(127).title), "100 ANALOG SMOOTH"},
      {ReadAnalogSim(64).text + " " + std::string(ReadAnalogSim(64).title), "Bypass SMOOTHING"},
      {IrPositionText(127), "80"},
      {IrPositionText(0), "00"},
      {Knob(kParamGain, 0), "1"},
      {CompressionText(100), "57"},
      {Knob(kParamUserIrGainA, 64), "0.00"},
      {CompressorRatioText(127), "20.0:1"},
      {ExpanderRatioText(0), "1:1.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
  EXPECT_EQ(KnobValueText(kParamLow, 64)->tag, kTagLowGainValue);
  EXPECT_FALSE(KnobValueText(kParamDynamics, 64));
}

TEST(Recognition, ComparesOnlyTheModelsOwnFields) {
  const ParameterTable params;
  std::array<std::atomic<int>, kNumParams> device{};
  for (int i = 0; i < kNumParams; ++i) device[static_cast<std::size_t>(i)] = params.GetParam(i)->Int();
  // Every model's "Punch Freq" differs from the default 64.
  EXPECT_EQ(RecogniseAmpModel(device), kNoAmpModel);
  EXPECT_EQ(RecogniseAmbienceType(device), kNoAmbienceType);

  const int compared[] = {kParamBuzz, kParamPunch, kParamBuzzQ, kParamPunchQ, kParamCrunchQ,
                          kParamPunchFreq};
  const int fields[] = {1, 2, 4, 5, 6, 7};
  for (int j = 0; j < 6; ++j) device[compared[j]] = kAmpModels[2][fields[j]];
  device[kParamGain] = 3;
  EXPECT_EQ(RecogniseAmpModel(device), 2);

  for (int j = 0; j < 7; ++j) device[kParamReverbDiffusion + j] = kAmbienceTypes[6][1 + j];
  device[kParamReverbModulationDepth] = kAmbienceTypes[6][8];
  device[kParamReverbModulationRate] = kAmbienceTypes[6][9];
  EXPECT_EQ(RecogniseAmbienceType(device), 6);
}

}  // namespace
}  // namespace kr7
