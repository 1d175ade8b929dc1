#pragma once
// The static transfer curve of the gate and the compressor or expander:
// output level against input level, both -100..0 dB.

#include <array>

#include "ui/IControl.h"
#include "ui/LayerCache.h"

namespace igraphics {

struct Point {
  float X = 0.f;
  float Y = 0.f;
};

class IDynamicsResponseGraph : public IControl {
 public:
  static constexpr std::array<double, 6> kGridLevels{-80, -60, -40, -30, -20, -12};

  IDynamicsResponseGraph(const Rect& bounds, Colour colour);

  // Each redraws. The knees never cross: the gate knee never lies above the
  // threshold knee, whichever of the two is set.
  void SetGateThreshold(double db);
  void SetThreshold(double db);
  void SetGateRatio(double u);
  void SetRatio(double g);

  void OnRescale() override { mGridLayer.Invalidate(); }
  void OnResize() override { mGridLayer.Invalidate(); }
  void Draw(cairo_t* cr) override;
  // The knee circles reach beyond the rectangle at its corners.
  Rect GetDrawRECT() const override;

  double GateKnee() const { return mGateKnee; }
  double ThresholdKnee() const { return mThresholdKnee; }
  Point GateKneePoint() const;
  Point ThresholdKneePoint() const;
  // The four points of the curve: gate start, the two knees, the end.
  std::array<Point, 4> CurvePoints() const;

 private:
  void DrawGrid(cairo_t* cr) const;

  Colour mColour;
  double mGateKnee = 0.0;       // m
  double mThresholdKnee = 0.0;  // b
  double mGateRatio = 1.0;      // u
  double mRatio = 1.0;          // g
  LayerCache mGridLayer;
};

}  // namespace igraphics
