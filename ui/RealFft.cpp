#include "ui/RealFft.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>

namespace igraphics {

RealFft::RealFft(int n)
    : mSize(std::max(2, n)),
      mIn(fftw_alloc_real(static_cast<std::size_t>(mSize))),
      mOut(fftw_alloc_complex(static_cast<std::size_t>(mSize / 2 + 1))),
      mPlan(fftw_plan_dft_r2c_1d(mSize, mIn, mOut, FFTW_ESTIMATE)) {}

RealFft::~RealFft() {
  fftw_destroy_plan(mPlan);
  fftw_free(mOut);
  fftw_free(mIn);
}

void RealFft::Magnitudes(std::span<const double> input, std::span<double> magnitudes) {
  const std::size_t n = static_cast<std::size_t>(mSize);
  for (std::size_t i = 0; i < n; ++i) {
    const double x = i < input.size() ? input[i] : 0.0;
    mIn[i] = std::isfinite(x) ? x : 0.0;
  }
  fftw_execute(mPlan);
  const std::size_t bins = std::min(magnitudes.size(), n / 2);
  for (std::size_t k = 0; k < bins; ++k) magnitudes[k] = std::hypot(mOut[k][0], mOut[k][1]);
}

}  // namespace igraphics
