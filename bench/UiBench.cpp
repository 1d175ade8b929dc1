// Redraw and graph-update timings of the control toolkit.
//
// Targets: a full redraw of a page at scale 1 under 16 ms (one frame at 60
// Hz), a knob-drag redraw under 2 ms, and an impulse-response update of the
// graph under 1 ms (the "IR" knob is dragged continuously).

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "ui/HeadlessHost.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/IGraphics.h"
#include "ui/IVKnobControl.h"
#include "ui/SamplePage.h"

namespace {

using igraphics::HeadlessHost;
using igraphics::IGraphics;

constexpr const char* kFontPath = "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf";

std::vector<std::uint8_t> FontBytes() {
  std::ifstream in(kFontPath, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The page, its host and the font it draws with, built once per benchmark.
struct Fixture {
  explicit Fixture(float scale) : font(FontBytes()), graphics(&delegate, 1920, 1200, scale), host(graphics) {
    page = igraphics::BuildSamplePage(graphics, font);
    host.Render();  // the first frame fills the caches
  }
  std::vector<std::uint8_t> font;
  igraphics::SampleDelegate delegate;
  IGraphics graphics;
  HeadlessHost host;
  igraphics::SamplePage page;
};

void BM_FullRedraw(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  Fixture f(scale);
  for (auto _ : state) {
    f.graphics.SetAllControlsDirty();
    benchmark::DoNotOptimize(f.host.Render());
  }
  state.SetLabel("scale " + std::to_string(scale).substr(0, 4));
}
BENCHMARK(BM_FullRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_KnobDragRedraw(benchmark::State& state) {
  Fixture f(1.f);
  const auto& r = f.page.BlockKnob->GetRECT();
  f.graphics.OnMouseDown(r.MW(), r.MH(), {});
  float direction = -1.f;
  for (auto _ : state) {
    // Sweep up and down so every step changes the value.
    if (f.page.BlockKnob->GetValue() >= 1.0) direction = 1.f;
    if (f.page.BlockKnob->GetValue() <= 0.0) direction = -1.f;
    f.graphics.OnMouseDrag(r.MW(), r.MH(), 0.f, direction * 4.f, {});
    benchmark::DoNotOptimize(f.host.Render());
  }
  f.graphics.OnMouseUp(r.MW(), r.MH(), {});
}
BENCHMARK(BM_KnobDragRedraw)->Unit(benchmark::kMicrosecond);

// Arg 0: the update alone; arg 1: the update and the redraw it causes.
void BM_GraphSetImpulseResponse(benchmark::State& state) {
  Fixture f(1.f);
  const bool redraw = state.range(0) != 0;
  const auto ir = igraphics::SampleImpulseResponse(igraphics::IFreqResponseGraph::kTransformSize, 11);
  for (auto _ : state) {
    f.page.FreqGraph->SetImpulseResponse(ir);
    if (redraw) benchmark::DoNotOptimize(f.host.Render());
    benchmark::ClobberMemory();
  }
  state.SetLabel(redraw ? "with redraw" : "update only");
}
BENCHMARK(BM_GraphSetImpulseResponse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
