#pragma once
// The magnitude response of an impulse response over a logarithmic
// frequency axis, with its grid, labels and a readout under the pointer.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "ui/IControl.h"
#include "ui/LayerCache.h"
#include "ui/LeavesPresses.h"
#include "ui/RealFft.h"

namespace igraphics {

// The interpolation the graph resamples with: the Catmull-Rom cubic through
// the four entries of table starting one before max(floor(t), 1), at the
// fraction of t. Entries outside the table count as 0.
double CatmullRomAt(std::span<const double> table, double t);

class IFreqResponseGraph : public IControl, public LeavesPresses {
 public:
  static constexpr int kTransformSize = 4096;
  static constexpr double kSampleRate = 44100.0;
  static constexpr std::array<double, 14> kGridFrequencies{30, 40, 50, 100, 200, 300, 400, 500,
                                                             1000, 2000, 3000, 4000, 5000, 10000};
  static constexpr std::array<double, 9> kGridLevels{-60, -40, -20, -12, -6, 0, 6, 12, 20};
  // Below this magnitude the logarithm is cut off (-100 dB).
  static constexpr double kMagnitudeFloor = 0.00001;

  IFreqResponseGraph(const Rect& bounds, Colour colour);

  // Stores the axis and recomputes the grid positions.
  void SetRange(double lowHz, double highHz, double dbRange, double topDb);
  // Transforms the first N samples (missing ones count as 0) and recomputes
  // the curve; redraws.
  void SetImpulseResponse(std::span<const double> samples);

  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  bool IsHit(float x, float y) const override { return !LeftTo(x, y) && IControl::IsHit(x, y); }
  void OnMouseOut() override;
  void OnRescale() override { mGridLayer.Invalidate(); }
  void OnResize() override;
  Rect GetDrawRECT() const override;
  void Draw(cairo_t* cr) override;

  // --- Read-outs for the window's logic and for tests ---------------------------
  int Width() const { return mW; }
  int Height() const { return mH; }
  const std::vector<double>& Curve() const { return mCurve; }  // W positions, 0 at the top
  const std::vector<double>& LogTable() const { return mLogTable; }
  double GridFrequencyFraction(std::size_t i) const { return mFreqFractions[i]; }
  double GridLevelFraction(std::size_t i) const { return mLevelFractions[i]; }
  bool IsPointerOver() const { return mOver; }
  // The readout box for the last pointer position.
  Rect ReadoutRect() const;
  // The two lines of the readout for the last pointer position.
  std::string ReadoutFrequencyText() const;
  std::string ReadoutGainText() const;

 private:
  void DrawGrid(cairo_t* cr) const;
  void ComputeCurve();

  Colour mColour;
  int mL = 0, mT = 0, mW = 0, mH = 0;
  double mLow = 20.0;
  double mHigh = 20480.0;
  double mRange = 80.0;
  double mTop = 30.0;
  std::array<double, kGridFrequencies.size()> mFreqFractions{};
  std::array<double, kGridLevels.size()> mLevelFractions{};
  RealFft mFft{kTransformSize};
  std::vector<double> mMagnitudes;
  std::vector<double> mLogTable;
  std::vector<double> mCurve;
  float mPointerX = 0.f;
  float mPointerY = 0.f;
  bool mOver = false;
  LayerCache mGridLayer;
};

}  // namespace igraphics
