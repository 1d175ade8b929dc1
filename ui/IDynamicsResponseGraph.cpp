#include "ui/IDynamicsResponseGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "ui/DrawText.h"

namespace igraphics {
namespace {
constexpr Colour kGridColour{255, 120, 120, 120};
constexpr float kLabelSize = 18.f;
constexpr float kLabelBox = 40.f;
constexpr float kLabelBand = 20.f;
constexpr double kCurveWidth = 3.0;
constexpr double kOuterCircle = 20.0;
constexpr double kInnerCircle = 4.0;
constexpr double kFullScaleDb = 100.0;

// Fraction of the diagonal for a level in dB; levels outside -100..0 are
// held at the ends so the knees stay on the graph.
double KneeFraction(double db) {
  if (!std::isfinite(db)) return 0.0;
  return std::clamp(1.0 - std::abs(db / kFullScaleDb), 0.0, 1.0);
}

// Ratios are slope factors; a non-positive or non-finite one is drawn as 1.
double SaneRatio(double r) { return std::isfinite(r) && r > 0.0 ? r : 1.0; }
}  // namespace

IDynamicsResponseGraph::IDynamicsResponseGraph(const Rect& bounds, Colour colour) : IControl(bounds), mColour(colour) {}

void IDynamicsResponseGraph::SetGateThreshold(double db) {
  mGateKnee = KneeFraction(db);
  if (mThresholdKnee < mGateKnee) mThresholdKnee = mGateKnee;
  SetDirtyRegion();
}

void IDynamicsResponseGraph::SetThreshold(double db) {
  mThresholdKnee = KneeFraction(db);
  if (mGateKnee > mThresholdKnee) mGateKnee = mThresholdKnee;
  SetDirtyRegion();
}

void IDynamicsResponseGraph::SetGateRatio(double u) {
  mGateRatio = SaneRatio(u);
  SetDirtyRegion();
}

void IDynamicsResponseGraph::SetRatio(double g) {
  mRatio = SaneRatio(g);
  SetDirtyRegion();
}

Point IDynamicsResponseGraph::GateKneePoint() const {
  const Rect& r = GetRECT();
  const auto m = static_cast<float>(mGateKnee);
  return {r.L + r.W() * m, r.B - r.H() * m};
}

Point IDynamicsResponseGraph::ThresholdKneePoint() const {
  const Rect& r = GetRECT();
  const auto b = static_cast<float>(mThresholdKnee);
  return {r.L + r.W() * b, r.B - r.H() * b};
}

std::array<Point, 4> IDynamicsResponseGraph::CurvePoints() const {
  const Rect& r = GetRECT();
  const Point k1 = GateKneePoint();
  const Point k2 = ThresholdKneePoint();
  const auto u = static_cast<float>(mGateRatio);
  const auto g = static_cast<float>(mRatio);
  const Point start{k1.X - (k1.X - r.L) * u, r.B};
  const Point end = g >= 1.f ? Point{r.R, k2.Y - (k2.Y - r.T) / g} : Point{k2.X + (r.R - k2.X) * g, r.T};
  return {start, k1, k2, end};
}

void IDynamicsResponseGraph::DrawGrid(cairo_t* cr) const {
  const Rect& r = GetRECT();
  const TextStyle label(kLabelSize, kGridColour);
  // Level labels are wider than their box; right-aligned they stay inside the graph.
  const TextStyle levelLabel = label.WithAlign(EAlign::Far);
  cairo_set_line_width(cr, 1.0);
  for (double level : kGridLevels) {
    const auto p = static_cast<float>(-level / kFullScaleDb);
    char text[32];
    std::snprintf(text, sizeof text, "%4.0f dB", level);
    const float y = r.T + r.H() * p;
    SetSourceColour(cr, kGridColour);
    cairo_move_to(cr, r.L, y);
    cairo_line_to(cr, r.L + r.W() - kLabelBox, y);
    cairo_stroke(cr);
    DrawText(cr, Fonts(), levelLabel, {r.R - kLabelBox, y - 10.f, r.R, y + 10.f}, text);
    const float x = r.L + r.W() * (1.f - p);
    SetSourceColour(cr, kGridColour);
    cairo_move_to(cr, x, r.T + kLabelBand);
    cairo_line_to(cr, x, r.T + r.H() - 1.f);
    cairo_stroke(cr);
    DrawText(cr, Fonts(), label, {x - kLabelBox / 2, r.T, x + kLabelBox / 2, r.T + kLabelBand}, text);
  }
}

Rect IDynamicsResponseGraph::GetDrawRECT() const {
  return GetRECT().GetPadded(static_cast<float>(kOuterCircle + kCurveWidth));
}

void IDynamicsResponseGraph::Draw(cairo_t* cr) {
  mGridLayer.Paint(cr, GetRECT(), [this](cairo_t* layer) { DrawGrid(layer); });
  const auto points = CurvePoints();
  SetSourceColour(cr, mColour);
  cairo_set_line_width(cr, kCurveWidth);
  cairo_move_to(cr, points[0].X, points[0].Y);
  for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].X, points[i].Y);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.0);
  for (const Point& k : {points[1], points[2]}) {
    for (double radius : {kOuterCircle, kInnerCircle}) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, k.X, k.Y, radius, 0.0, 2.0 * std::numbers::pi);
    }
  }
  cairo_stroke(cr);
}

}  // namespace igraphics
