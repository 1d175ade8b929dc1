#include "editor/ValueTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/ControlTags.h"
#include "model/Parameters.h"
#include "model/UserTexts.h"

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
    {kParamLevel, kTagMasterLevelValue, "%.0f", Percent},
    {kParamGain, kTagDrivePreAmpValue, "%.0f", [](int m) { return std::max(1.0, Percent(m)); }},
    {kParamCrunch, kTagDrivePresenceValue, "%.0f", Percent},
    {kParamLow, kTagLowGainValue, "%.1f", EqGainDb},
    {kParamHigh, kTagHighGainValue, "%.1f", EqGainDb},
    {kParamMid, kTagMidGainValue, "%.1f", EqGainDb},
    {kParamMidShift, kTagMidFrequencyValue, "%.0f",
     [](int m) { return m == kNeutral ? 1000.0 : static_cast<double>(Unit(m)) * 1800.0 + 100.0; }},
    {kParamReverb, kTagAmbienceLevelValue, "%.0f", Percent},
    {kParamReverbRoomSize, kTagAmbienceTimeValue, "%.0f",
     [](int m) { return std::pow(static_cast<double>(Unit(m)), 1.7543859869269236) * 500.0 + 100.0; }},
    {kParamReverbDecayTime, kTagAmbienceDecayValue, "%.0f", Percent},
    {kParamCleanInputLevel, kTagParallelCleanValue, "%.0f", Percent},
    {kParamGateRelease, kTagGateReleaseValue, "%.1f",
     [](int m) { return static_cast<double>(Unit(m) * Unit(m)) * 990.0 + 10.0; }},
    {kParamMidQ, kTagMidQualityValue, "%.1f", Quality},
    {kParamLowQ, kTagLowQualityValue, "%.1f", Quality},
    {kParamHighQ, kTagHighQualityValue, "%.1f", Quality},
    {kParamUserIrGainA, kTagUserIrGainValueA, "%.2f", UserIrGainDb},
    {kParamUserIrGainB, kTagUserIrGainValueB, "%.2f", UserIrGainDb},
    {kParamAutoFilerLevel2, kTagAutoFilterLevelValue, "%.0f", Percent},
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
  return m == 0 ? std::string(kBypassText) : Format("%.2f", GateThresholdDb(m));
}

DynamicsReading ReadDynamics(int m, int compressorRatio, int expanderRatio) {
  DynamicsReading reading;
  if (m < kNeutral) {
    reading.title = kExpanderTitle;
    reading.thresholdDb = (m / 63.0 - 1.0) * 60.0;
    reading.ratio = 1.0 / ExpanderRatio(expanderRatio);
  } else if (m > kNeutral) {
    reading.title = kCompressorTitle;
    reading.thresholdDb = (m - 65) / 62.0 * -60.0;
    reading.ratio = CompressorRatio(compressorRatio);
  } else {
    reading.title = kDynamicsTitle;
  }
  if (m == 0) {
    reading.text = kMinusInfinityText;
  } else if (m == kNeutral) {
    reading.text = kBypassText;
  } else {
    reading.text = Format("%.2f", reading.thresholdDb);
  }
  return reading;
}

// In double like the dynamics graph's ratio, so the graph and the text agree;
// no step lies near a rounding tie of the one-decimal texts.
double CompressorRatio(int m) { return m / 127.0 * 19.0 + 1.0; }
std::string CompressorRatioText(int m) { return Format("%.1f:1", CompressorRatio(m)); }
double ExpanderRatio(int m) { return m / 127.0 * 11.0 + 1.0; }
std::string ExpanderRatioText(int m) { return Format("1:%.1f", ExpanderRatio(m)); }
double GateRatio(int m) { return Unit(m) * 9.0 + 1.0; }
std::string GateRatioText(int m) { return Format("%.1f:1", GateRatio(m)); }

std::string IrPositionText(int m) { return TwoDigits(static_cast<int>(Unit(m) * 80.5f)); }

AnalogSimReading ReadAnalogSim(int m) {
  if (m == kNeutral) return {kSmoothingCaption, std::string(kBypassText)};
  if (m < kNeutral) return {kDigitalSmoothCaption, Format("%.0f", (kNeutral - m) * 0.015625 * 100.0)};
  return {kAnalogSmoothCaption, Format("%.0f", (m - kNeutral) / 63.0 * 100.0)};
}

std::string CompressionText(int m) { return Format("%.0f", (m - 64) / 63.0 * 100.0); }

}  // namespace kr7
