#pragma once
// Synthesises a plausible guitar-cabinet impulse response: an impulse run
// through a low resonance, a cone-breakup dip, a presence peak and a steep
// high roll-off, with a few early reflections from the cabinet walls.

#include <vector>

namespace kr7::tools {

struct CabinetVoice {
  double lowCutHz;        // the cabinet's back-panel low cut
  double resonanceHz;     // speaker resonance in the box
  double resonanceDb;
  double dipHz;           // cone breakup dip
  double dipDb;
  double presenceHz;
  double presenceDb;
  double rollOffHz;       // high roll-off, two poles twice
  double reflectionMs;    // first wall reflection
  double reflectionGain;
};

// frames samples at the given rate, peak-normalised to 0.89.
std::vector<double> SynthesiseCabinet(const CabinetVoice& voice, double sampleRate, int frames);

}  // namespace kr7::tools
