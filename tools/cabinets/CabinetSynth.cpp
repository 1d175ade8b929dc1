#include "tools/cabinets/CabinetSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kr7::tools {
namespace {

// Direct-form biquad with the usual audio-EQ coefficient recipes.
class Biquad {
 public:
  static Biquad Peak(double rate, double hz, double q, double db) {
    const double a = std::pow(10.0, db / 40.0);
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    return Biquad(1 + alpha * a, -2 * std::cos(w), 1 - alpha * a, 1 + alpha / a, -2 * std::cos(w), 1 - alpha / a);
  }
  static Biquad LowPass(double rate, double hz, double q) {
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
  }
  static Biquad HighPass(double rate, double hz, double q) {
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
  }

  void Run(std::vector<double>& x) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& s : x) {
      const double y = mB0 * s + mB1 * x1 + mB2 * x2 - mA1 * y1 - mA2 * y2;
      x2 = x1;
      x1 = s;
      y2 = y1;
      y1 = y;
      s = y;
    }
  }

 private:
  Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
      : mB0(b0 / a0), mB1(b1 / a0), mB2(b2 / a0), mA1(a1 / a0), mA2(a2 / a0) {}
  double mB0, mB1, mB2, mA1, mA2;
};

}  // namespace

std::vector<double> SynthesiseCabinet(const CabinetVoice& voice, double sampleRate, int frames) {
  std::vector<double> ir(static_cast<std::size_t>(frames), 0.0);
  ir[0] = 1.0;
  const auto reflection = static_cast<std::size_t>(voice.reflectionMs * sampleRate / 1000.0);
  if (reflection < ir.size()) {
    ir[reflection] += voice.reflectionGain;
  }
  if (2 * reflection + 3 < ir.size()) {
    ir[2 * reflection + 3] -= voice.reflectionGain * 0.45;
  }
  Biquad::HighPass(sampleRate, voice.lowCutHz, 0.7).Run(ir);
  Biquad::Peak(sampleRate, voice.resonanceHz, 1.6, voice.resonanceDb).Run(ir);
  Biquad::Peak(sampleRate, voice.dipHz, 1.2, voice.dipDb).Run(ir);
  Biquad::Peak(sampleRate, voice.presenceHz, 1.4, voice.presenceDb).Run(ir);
  Biquad::LowPass(sampleRate, voice.rollOffHz, 0.8).Run(ir);
  Biquad::LowPass(sampleRate, voice.rollOffHz * 1.15, 0.6).Run(ir);
  // A short fade keeps the tail from ending in a click when it is cut.
  const std::size_t fade = std::min<std::size_t>(ir.size() / 4, 256);
  for (std::size_t i = 0; i < fade; ++i) {
    ir[ir.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
  }
  double peak = 0.0;
  for (double s : ir) {
    peak = std::max(peak, std::fabs(s));
  }
  if (peak > 0.0) {
    for (double& s : ir) {
      s *= 0.89 / peak;
    }
  }
  return ir;
}

}  // namespace kr7::tools
