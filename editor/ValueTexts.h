#pragma once
// The texts and numbers that the parameter-change handler writes for a
// parameter's integer value m: the value texts inside the block knobs, the
// two-digit display, the dynamics titles and the inputs of the dynamics
// graph. Pure functions, so each formula is checked without a window.
//
// Formulas work on n = m / 127 in single precision; texts are printf-style
// formats written into a 256-byte buffer.

#include <optional>
#include <string>
#include <string_view>

namespace kr7 {

// "%02d" of number (the two-digit display, preset numbers).
std::string TwoDigits(int number);

// A text control (tag) and what it shows.
struct TagText {
  int tag = 0;
  std::string text;
};

// The knob value text of the parameters whose entry is a single formula
// (Level, Gain, Crunch, Low, High, Mid, Mid Shift, Reverb, Reverb Room Size,
// Reverb Decay Time, Clean Input Level, Gate Release, the three Qs, the two
// User IR Gains, the auto-filter level); nullopt for any other index.
std::optional<TagText> KnobValueText(int index, int m);

// "Gate": threshold in dB and its text ("Bypass" at 0).
double GateThresholdDb(int m);
std::string GateThresholdText(int m);

// "Dynamics", neutral at 64: expander below, compressor above.
struct DynamicsReading {
  std::string_view title;  // "EXPANDER", "DYNAMICS" or "COMPRESSOR"
  std::string text;        // "-inf." at 0, "Bypass" at 64, else the threshold
  double thresholdDb = 0.0;
  // The graph's ratio from the expander ratio (below 64) or the compressor
  // ratio (above 64), values of parameters 29 and 25.
  double ratio = 1.0;
};
DynamicsReading ReadDynamics(int m, int compressorRatio, int expanderRatio);

// Ratios of the compressor, expander and gate, and their texts.
double CompressorRatio(int m);
std::string CompressorRatioText(int m);
double ExpanderRatio(int m);
std::string ExpanderRatioText(int m);
double GateRatio(int m);
std::string GateRatioText(int m);

// "IR" on the two-digit display: the cabinet position times ten, 0..80.
std::string IrPositionText(int m);

// "AnalogSim": title and value text.
struct AnalogSimReading {
  std::string_view title;
  std::string text;
};
AnalogSimReading ReadAnalogSim(int m);

// "Compression" (64..127) as a percentage of its range.
std::string CompressionText(int m);

}  // namespace kr7
