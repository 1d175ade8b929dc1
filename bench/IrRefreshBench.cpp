// The IR display refresh as the "IR" knob drives it: a blend of two cabinets,
// read from their cache files, or, before the pedal sent them, parsed and
// resampled from the factory WAV files.
//
// The cabinets here are synthetic decaying responses with the shapes of the
// shipped files (cabinet 6: 44100 Hz 16-bit, 4354 frames; cabinet 7: 48000 Hz
// 24-bit, 5597 frames). Value 100 blends positions 6 and 7.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "editor/IrStore.h"
#include "model/DataFolder.h"
#include "model/FileIO.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int kBlendValue = 100;  // x = 6.2: cabinets 6 and 7

struct Cabinet {
  int position;
  std::uint32_t rate;
  int bytesPerSample;
  int frames;
};
constexpr Cabinet kCab6{6, 44100, 2, 4354};
constexpr Cabinet kCab7{7, 48000, 3, 5597};

void PutLe(std::vector<std::uint8_t>& out, std::uint64_t v, int n) {
  for (int i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> SyntheticWav(const Cabinet& c) {
  std::vector<std::uint8_t> data;
  const double full = std::ldexp(1.0, 8 * c.bytesPerSample - 1) - 1;
  for (int i = 0; i < c.frames; ++i) {
    const double v = std::exp(-i / 400.0) * std::sin(i * 0.37 + c.position);
    PutLe(data, static_cast<std::uint64_t>(static_cast<std::int64_t>(v * full)), c.bytesPerSample);
  }
  const int align = c.bytesPerSample;
  std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
  PutLe(out, 4 + 24 + 8 + data.size(), 4);
  for (char ch : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(ch));
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);                     // PCM
  PutLe(out, 1, 2);                     // mono
  PutLe(out, c.rate, 4);                // sample rate
  PutLe(out, std::uint64_t{c.rate} * align, 4);
  PutLe(out, align, 2);                 // block align
  PutLe(out, 8 * c.bytesPerSample, 2);  // bits
  for (char ch : std::string("data")) out.push_back(static_cast<std::uint8_t>(ch));
  PutLe(out, data.size(), 4);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void BM_RefreshCached(benchmark::State& state) {
  kr7::test::TempFolder folder;
  kr7::DataFolder data(folder.Path());
  data.CreateAll();
  kr7::IrStore store(data);
  kr7::IrDisplayBuffer buffer{};
  for (const Cabinet& c : {kCab6, kCab7}) {
    const std::vector<std::uint8_t> wav = SyntheticWav(c);
    kr7::ReadWav(wav, buffer);
    store.StoreIrImage(kr7::kFactoryIrSlotBase + c.position - 1, kr7::BuildIrImage(buffer, "cab"));
  }
  for (auto _ : state) {
    store.RefreshDisplay(kBlendValue, {}, buffer);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_RefreshCached)->Unit(benchmark::kMicrosecond);

void BM_RefreshFromWav(benchmark::State& state) {
  kr7::test::TempFolder folder;
  kr7::DataFolder data(folder.Path());
  data.CreateAll();
  kr7::IrStore store(data);
  for (const Cabinet& c : {kCab6, kCab7}) {
    const std::vector<std::uint8_t> wav = SyntheticWav(c);
    kr7::WriteFileAtomically(store.FactoryWavPath(c.position - 1), wav.data(), wav.size());
  }
  kr7::IrDisplayBuffer buffer{};
  for (auto _ : state) {
    store.RefreshDisplay(kBlendValue, {}, buffer);
    benchmark::DoNotOptimize(buffer.data());
  }
}
BENCHMARK(BM_RefreshFromWav)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
