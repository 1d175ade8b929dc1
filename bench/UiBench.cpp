// Redraw and graph-update timings of the editor's pages.
//
// Targets: a full redraw of the main page (CPU time) at most 8 ms at scale 1
// and 16 ms (one frame at 60 Hz) at scale 2, a first frame no dearer than a
// plain drawing of the page (it records nothing), a knob-drag redraw under 2 ms,
// and an impulse-response update of the graph under 1 ms (the "IR" knob is
// dragged continuously). The page shows a preset the virtual pedal sent, as
// a user would see it.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "model/ControlTags.h"
#include "app/core/KR7Control.h"
#include "model/Parameters.h"
#include "pedal/FactoryContent.h"
#include "pedal/VirtualPedal.h"
#include "tests/support/PedalLoopback.h"
#include "ui/HeadlessHost.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/IVKnobControl.h"
#include "ui/pages/EditorPages.h"

namespace {

using igraphics::HeadlessHost;

// The start-up conversation (identity, checksums, fetch, settings, active
// preset) fits in 60 device ticks.
constexpr int kStartTicks = 60;

// The editor's pages connected to the virtual pedal in process, built once
// per benchmark.
struct Fixture {
  // drawn: the first frame is drawn here, and a second full redraw, which
  // records the static pictures, as the window has done before the user acts.
  explicit Fixture(float scale, bool drawn = true)
      : folder(MakeFolder()), control(kr7::DataFolder(folder.string())), link(control, pedal),
        pages(control.ForWindow(), scale), host(pages.Graphics()) {
    pages.Open(1);
    for (int i = 0; i < kStartTicks; ++i) {
      control.OnDeviceTick();
      link.Deliver();
      pages.OnFrameworkTimer();
    }
    if (!drawn) return;
    host.Render();
    pages.Graphics().SetAllControlsDirty();
    host.Render();
  }
  ~Fixture() {
    pages.Close();
    std::filesystem::remove_all(folder);
  }
  static std::filesystem::path MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kr7-bench-XXXXXX").string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
  }
  // The drive block's first knob, with the amplifier buttons above it.
  igraphics::IVKnobControl* DriveKnob() {
    control.Blocks().Select(kr7::Block::kDrive);
    igraphics::IVKnobControl* knob = nullptr;
    pages.Graphics().ForEachInGroup(kr7::kGroupDrive, [&knob](igraphics::IControl& c) {
      if (!knob) knob = dynamic_cast<igraphics::IVKnobControl*>(&c);
    });
    return knob;
  }

  std::filesystem::path folder;
  kr7::pedal::VirtualPedal pedal{kr7::pedal::MakeFactoryState()};
  kr7::KR7Control control;
  kr7::test::PedalLoopback link;
  kr7::pages::EditorPages pages;
  HeadlessHost host;
};

void BM_FullRedraw(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  Fixture f(scale);
  for (auto _ : state) {
    f.pages.Graphics().SetAllControlsDirty();
    benchmark::DoNotOptimize(f.host.Render());
  }
  state.SetLabel("scale " + std::to_string(scale).substr(0, 4));
}
BENCHMARK(BM_FullRedraw)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The first frame of a page just opened, artwork decoded on the way.
void BM_FirstFrame(benchmark::State& state) {
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  for (auto _ : state) {
    state.PauseTiming();
    {
      Fixture f(scale, false);
      state.ResumeTiming();
      benchmark::DoNotOptimize(f.host.Render());
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
  state.SetLabel("scale " + std::to_string(scale).substr(0, 4));
}
BENCHMARK(BM_FirstFrame)->Arg(100)->Arg(200)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_KnobDragRedraw(benchmark::State& state) {
  Fixture f(1.f);
  igraphics::IVKnobControl* knob = f.DriveKnob();
  f.host.Render();
  const auto& r = knob->GetRECT();
  f.pages.Graphics().OnMouseDown(r.MW(), r.MH(), {});
  float direction = -1.f;
  for (auto _ : state) {
    // Sweep up and down so every step changes the value.
    if (knob->GetValue() >= 1.0) direction = 1.f;
    if (knob->GetValue() <= 0.0) direction = -1.f;
    f.pages.Graphics().OnMouseDrag(r.MW(), r.MH(), 0.f, direction * 4.f, {});
    benchmark::DoNotOptimize(f.host.Render());
  }
  f.pages.Graphics().OnMouseUp(r.MW(), r.MH(), {});
}
BENCHMARK(BM_KnobDragRedraw)->Unit(benchmark::kMicrosecond);

// Arg 0: the update alone; arg 1: the update and the redraw it causes.
void BM_GraphSetImpulseResponse(benchmark::State& state) {
  Fixture f(1.f);
  const bool redraw = state.range(0) != 0;
  std::vector<double> ir(igraphics::IFreqResponseGraph::kTransformSize, 0.0);
  for (std::size_t i = 0; i < ir.size(); ++i) ir[i] = (i % 7 == 0 ? 1.0 : -0.5) / static_cast<double>(1 + i);
  for (auto _ : state) {
    f.pages.Refs().irGraph->SetImpulseResponse(ir);
    if (redraw) benchmark::DoNotOptimize(f.host.Render());
    benchmark::ClobberMemory();
  }
  state.SetLabel(redraw ? "with redraw" : "update only");
}
BENCHMARK(BM_GraphSetImpulseResponse)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
