#pragma once
// A page-sized set of every control kind with drawn-in-code artwork, for
// looking at the toolkit's drawing (headless PNGs) and for timing redraws.
// It is not the editor's layout; that is built by the application.

#include <cstdint>
#include <deque>
#include <span>

#include "ui/IEditorDelegate.h"
#include "ui/IGraphics.h"

namespace igraphics {

class IFreqResponseGraph;
class IDynamicsResponseGraph;
class IVKnobControl;

// Parameters for the sample page; changes from controls are simply stored.
class SampleDelegate : public iplug::IEditorDelegate {
 public:
  static constexpr int kNumParams = 16;
  SampleDelegate();
  iplug::IParam* GetParam(int paramIdx) override;
  const iplug::IParam* GetParam(int paramIdx) const override;
  void SendParameterValueFromUI(int paramIdx, double normalisedValue) override;

 private:
  std::deque<iplug::IParam> mParams;
};

struct SamplePage {
  IVKnobControl* BlockKnob = nullptr;
  IFreqResponseGraph* FreqGraph = nullptr;
  IDynamicsResponseGraph* DynamicsGraph = nullptr;
};

// Builds the page into g (1920 x 1200). fontData, when not empty, is
// registered as the default font.
SamplePage BuildSamplePage(IGraphics& g, std::span<const std::uint8_t> fontData);

// A decaying, seeded pseudo-random impulse response of n samples.
std::vector<double> SampleImpulseResponse(std::size_t n, std::uint32_t seed);

}  // namespace igraphics
