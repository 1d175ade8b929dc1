// The dynamics graph: knees that never cross, segments and circles.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IDynamicsResponseGraph.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IDynamicsResponseGraph;
using igraphics::Rect;

constexpr Colour kCurveColour{255, 100, 255, 255};
constexpr Rect kRect{100, 100, 600, 500};  // 500 x 400

TEST(DynamicsGraph, KneesForTheEditorsStartValues) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetGateThreshold(-60);
  graph.SetGateRatio(1);
  graph.SetThreshold(-51);
  graph.SetRatio(1);
  EXPECT_DOUBLE_EQ(graph.GateKnee(), 0.4);
  EXPECT_DOUBLE_EQ(graph.ThresholdKnee(), 0.49);
  EXPECT_FLOAT_EQ(graph.GateKneePoint().X, 100.f + 500.f * 0.4f);
  EXPECT_FLOAT_EQ(graph.GateKneePoint().Y, 500.f - 400.f * 0.4f);
}

TEST(DynamicsGraph, LoweringTheThresholdPullsTheGateKneeDown) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetGateThreshold(-60);
  graph.SetThreshold(-51);
  graph.SetThreshold(-70);
  EXPECT_DOUBLE_EQ(graph.ThresholdKnee(), 0.3);
  EXPECT_DOUBLE_EQ(graph.GateKnee(), 0.3);
}

TEST(DynamicsGraph, RaisingTheGatePushesTheThresholdKneeUp) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetThreshold(-51);
  graph.SetGateThreshold(-20);
  EXPECT_DOUBLE_EQ(graph.GateKnee(), 0.8);
  EXPECT_DOUBLE_EQ(graph.ThresholdKnee(), 0.8);
}

TEST(DynamicsGraph, OutOfRangeLevelsStayOnTheGraph) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetThreshold(-250);
  EXPECT_DOUBLE_EQ(graph.ThresholdKnee(), 0.0);
  graph.SetGateThreshold(std::nan(""));
  EXPECT_DOUBLE_EQ(graph.GateKnee(), 0.0);
}

TEST(DynamicsGraph, UnityRatiosDrawOneStraightDiagonal) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetGateThreshold(-60);
  graph.SetThreshold(-51);
  const auto points = graph.CurvePoints();
  EXPECT_FLOAT_EQ(points[0].X, kRect.L);
  EXPECT_FLOAT_EQ(points[0].Y, kRect.B);
  EXPECT_FLOAT_EQ(points[3].X, kRect.R);
  EXPECT_FLOAT_EQ(points[3].Y, kRect.T);
  for (const auto& p : points) {
    // On the diagonal: (x - L) / W == (B - y) / H.
    EXPECT_NEAR((p.X - kRect.L) / kRect.W(), (kRect.B - p.Y) / kRect.H(), 1e-6);
  }
}

TEST(DynamicsGraph, RatiosBendTheOuterSegments) {
  IDynamicsResponseGraph graph(kRect, kCurveColour);
  graph.SetGateThreshold(-60);
  graph.SetThreshold(-50);
  graph.SetGateRatio(0.5);
  graph.SetRatio(4);
  auto points = graph.CurvePoints();
  const auto k1 = graph.GateKneePoint();
  const auto k2 = graph.ThresholdKneePoint();
  EXPECT_FLOAT_EQ(points[0].X, k1.X - (k1.X - kRect.L) * 0.5f);  // steeper gate
  EXPECT_FLOAT_EQ(points[3].X, kRect.R);
  EXPECT_FLOAT_EQ(points[3].Y, k2.Y - (k2.Y - kRect.T) / 4.f);  // compression: flatter
  graph.SetRatio(0.5);  // expansion: reaches the top before the right edge
  points = graph.CurvePoints();
  EXPECT_FLOAT_EQ(points[3].X, k2.X + (kRect.R - k2.X) * 0.5f);
  EXPECT_FLOAT_EQ(points[3].Y, kRect.T);
  graph.SetRatio(0.0);  // no slope at all cannot be drawn; treated as unity
  EXPECT_FLOAT_EQ(graph.CurvePoints()[3].X, kRect.R);
}

TEST(DynamicsGraph, DrawsTheCurveAndTheKneeCircles) {
  igraphics::IGraphics g(nullptr, 700, 600);
  HeadlessHost host(g);
  auto* graph = g.AddControl(std::make_unique<IDynamicsResponseGraph>(kRect, kCurveColour));
  graph->SetGateThreshold(-60);
  graph->SetThreshold(-51);
  host.RenderAll();
  const auto k1 = graph->GateKneePoint();
  // On the curve through the knee, and on the outer circle 20 units away.
  EXPECT_EQ(host.PixelAt(static_cast<int>(k1.X), static_cast<int>(k1.Y)).G, 255);
  const Colour ring = host.PixelAt(static_cast<int>(k1.X), static_cast<int>(k1.Y - 20.f));
  // The one-unit ring is antialiased, so its colour is mixed but clearly cyan.
  EXPECT_GT(ring.A, 100);
  EXPECT_GT(ring.G, ring.R + 50);
}

}  // namespace
}  // namespace kr7::test
