#include "editor/ValueTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/LiveEditTags.h"
#include "model/Parameters.h"

namespace kr7 {

namespace {

constexpr int kNeutral = 64;
constexpr std::size_t kTextBufferSize = 256;

float Unit(int m) { return static_cast<float>(m) / 127.0f; }

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[kTextBufferSize];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

double Percent(int m) { return Unit(m) * 100.0; }
double EqGainDb(int m) { return m == kNeutral ? 0.0 : Unit(m) * 24.0 - 12.0; }
double UserIrGainDb(int m) { return m == kNeutral ? 0.0 : (Unit(m) - 1.0) * 24.0 + 12.0; }
double Quality(int m) { return m == kNeutral ? 1.0 : std::pow(2.0, 2.0 * Unit(m) - 1.0); }

struct KnobEntry {
  int index;
  int tag;
  const char* format;
  double (*value)(int m);
};

constexpr KnobEntry kKnobEntries[] = {
    {kParamLevel, kTagLevel, "%.0f", Percent},
    {kParamGain, kTagGain, "%.0f", [](int m) { return std::max(1.0, Percent(m)); }},
    {kParamCrunch, kTagCrunch, "%.0f", Percent},
    {kParamLow, kTagLow, "%.1f", EqGainDb},
    {kParamHigh, kTagHigh, "%.1f", EqGainDb},
    {kParamMid, kTagMid, "%.1f", EqGainDb},
    {kParamMidShift, kTagMidShift, "%.0f",
     [](int m) { return m == kNeutral ? 1000.0 : static_cast<double>(Unit(m)) * 1800.0 + 100.0; }},
    {kParamReverb, kTagReverb, "%.0f", Percent},
    {kParamReverbRoomSize, kTagReverbRoomSize, "%.0f",
     [](int m) { return std::pow(static_cast<double>(Unit(m)), 1.7543859869269236) * 500.0 + 100.0; }},
    {kParamReverbDecayTime, kTagReverbDecayTime, "%.0f", Percent},
    {kParamCleanInputLevel, kTagCleanInputLevel, "%.0f", Percent},
    {kParamGateRelease, kTagGateRelease, "%.1f",
     [](int m) { return static_cast<double>(Unit(m) * Unit(m)) * 990.0 + 10.0; }},
    {kParamMidQ, kTagMidQ, "%.1f", Quality},
    {kParamLowQ, kTagLowQ, "%.1f", Quality},
    {kParamHighQ, kTagHighQ, "%.1f", Quality},
    {kParamUserIrGainA, kTagUserIrGainA, "%.2f", UserIrGainDb},
    {kParamUserIrGainB, kTagUserIrGainB, "%.2f", UserIrGainDb},
    {kParamAutoFilerLevel2, kTagAutoFilterLevel, "%.0f", Percent},
};

}  // namespace

std::string TwoDigits(int number) { return Format("%02d", number); }

std::optional<TagText> KnobValueText(int index, int m) {
  for (const KnobEntry& entry : kKnobEntries) {
    if (entry.index == index) return TagText{entry.tag, Format(entry.format, entry.value(m))};
  }
  return std::nullopt;
}

double GateThresholdDb(int m) { return (Unit(m) - 1.0) * 70.0 - 30.0; }

std::string GateThresholdText(int m) {
  return m == 0 ? std::string("Bypass") : Format("%.2f", GateThresholdDb(m));
}

DynamicsReading ReadDynamics(int m, int compressorRatio, int expanderRatio) {
  DynamicsReading reading;
  if (m < kNeutral) {
    reading.title = "EXPANDER";
    reading.thresholdDb = (m / 63.0 - 1.0) * 60.0;
    reading.ratio = 1.0 / (expanderRatio / 127.0 * 11.0 + 1.0);
  } else if (m > kNeutral) {
    reading.title = "COMPRESSOR";
    reading.thresholdDb = (m - 65) / 62.0 * -60.0;
    reading.ratio = compressorRatio / 127.0 * 19.0 + 1.0;
  } else {
    reading.title = "DYNAMICS";
  }
  if (m == 0) {
    reading.text = "-inf.";
  } else if (m == kNeutral) {
    reading.text = "Bypass";
  } else {
    reading.text = Format("%.2f", reading.thresholdDb);
  }
  return reading;
}

double CompressorRatio(int m) { return Unit(m) * 19.0 + 1.0; }
std::string CompressorRatioText(int m) { return Format("%.1f:1", CompressorRatio(m)); }
double ExpanderRatio(int m) { return Unit(m) * 11.0 + 1.0; }
std::string ExpanderRatioText(int m) { return Format("1:%.1f", ExpanderRatio(m)); }
double GateRatio(int m) { return Unit(m) * 9.0 + 1.0; }
std::string GateRatioText(int m) { return Format("%.1f:1", GateRatio(m)); }

std::string IrPositionText(int m) { return TwoDigits(static_cast<int>(Unit(m) * 80.5f)); }

AnalogSimReading ReadAnalogSim(int m) {
  if (m == kNeutral) return {"SMOOTHING", "Bypass"};
  if (m < kNeutral) return {"DIGITAL SMOOTH", Format("%.0f", (kNeutral - m) * 0.015625 * 100.0)};
  return {"ANALOG SMOOTH", Format("%.0f", (m - kNeutral) / 63.0 * 100.0)};
}

std::string CompressionText(int m) { return Format("%.0f", (m - 64) / 63.0 * 100.0); }

}  // namespace kr7
