#pragma once
// Magnitude spectrum of a real signal, through FFTW.

#include <span>

struct fftw_plan_s;

namespace igraphics {

class RealFft {
 public:
  // n must be a power of two of at least 2. Planning is not thread-safe in
  // FFTW, so transforms are made on the window's thread only.
  explicit RealFft(int n);
  RealFft(const RealFft&) = delete;
  RealFft& operator=(const RealFft&) = delete;
  ~RealFft();

  int Size() const { return mSize; }
  // |X(k)| for k = 0 .. n/2 - 1 of the n samples of input; missing samples
  // count as 0 and samples that are not finite numbers as 0 too.
  void Magnitudes(std::span<const double> input, std::span<double> magnitudes);

 private:
  int mSize;
  double* mIn;
  double (*mOut)[2];
  fftw_plan_s* mPlan;
};

}  // namespace igraphics
