// The frequency-response graph: transform, log table, curve, grid, readout.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/IFreqResponseGraph.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IFreqResponseGraph;
using igraphics::IGraphics;
using igraphics::Rect;

constexpr Colour kCurveColour{255, 100, 255, 255};
// The editor's graph rectangle, moved to the origin for pixel checks.
constexpr Rect kGraphRect{0, 0, 672, 450};
constexpr int kW = 672;
constexpr int kH = 450;
constexpr std::size_t kN = IFreqResponseGraph::kTransformSize;
constexpr std::size_t kZeroDbLine = 5;      // index of 0 dB in the grid levels
constexpr std::size_t kTwentyDbLine = 8;    // index of +20 dB
constexpr std::size_t kMinusTwentyLine = 2;  // index of -20 dB

class FreqGraphTest : public ::testing::Test {
 protected:
  FreqGraphTest() {
    graph = g.AddControl(std::make_unique<IFreqResponseGraph>(kGraphRect, kCurveColour));
    graph->SetRange(20, 20480, 100, 30);
  }
  static std::vector<double> UnitImpulse() {
    std::vector<double> ir(kN, 0.0);
    ir[0] = 1.0;
    return ir;
  }
  // Summed coverage of grid grey in column x over rows y-4..y+4, in pixels.
  double GridCoverage(int x, int y) {
    double sum = 0.0;
    for (int row = y - 4; row <= y + 4; ++row) sum += host.PixelAt(x, row).A / 255.0;
    return sum;
  }
  bool IsCurvePixel(int x, int y) {
    const Colour c = host.PixelAt(x, y);
    return c.A > 200 && c.G > 200 && c.B > 200 && c.R < 160;
  }
  IGraphics g{nullptr, kW, kH};
  HeadlessHost host{g};
  IFreqResponseGraph* graph = nullptr;
};

TEST(CatmullRom, ConstantTablesStayConstantAndOutsideCountsAsZero) {
  const std::vector<double> ones(16, 1.0);
  for (double t : {1.0, 1.25, 5.5, 12.75}) EXPECT_DOUBLE_EQ(igraphics::CatmullRomAt(ones, t), 1.0);
  // Beyond the end of the table the missing entries pull towards zero.
  EXPECT_LT(igraphics::CatmullRomAt(ones, 15.5), 1.0);
  EXPECT_DOUBLE_EQ(igraphics::CatmullRomAt(ones, 100.0), 0.0);
  // The rule passes through the table's own points.
  const std::vector<double> ramp{0, 1, 4, 9, 16, 25};
  EXPECT_DOUBLE_EQ(igraphics::CatmullRomAt(ramp, 3.0), 9.0);
  EXPECT_DOUBLE_EQ(igraphics::CatmullRomAt(ramp, 2.0), 4.0);
  // A straight line is reproduced between points.
  const std::vector<double> line{0, 2, 4, 6, 8, 10};
  EXPECT_DOUBLE_EQ(igraphics::CatmullRomAt(line, 2.5), 5.0);
}

TEST_F(FreqGraphTest, GridPositionsFollowTheAxis) {
  EXPECT_NEAR(graph->GridFrequencyFraction(0), 0.0585, 1e-4);   // 30 Hz
  EXPECT_NEAR(graph->GridFrequencyFraction(8), 0.5644, 1e-4);   // 1 kHz
  EXPECT_NEAR(graph->GridFrequencyFraction(13), 0.8966, 1e-4);  // 10 kHz
  EXPECT_DOUBLE_EQ(graph->GridLevelFraction(0), 0.9);           // -60 dB
  EXPECT_DOUBLE_EQ(graph->GridLevelFraction(kZeroDbLine), 0.3);
  EXPECT_DOUBLE_EQ(graph->GridLevelFraction(kTwentyDbLine), 0.1);
  graph->SetRange(20, 20480, 100, 10);
  EXPECT_DOUBLE_EQ(graph->GridLevelFraction(kTwentyDbLine), 0.0);  // above the top
}

TEST_F(FreqGraphTest, UnitImpulseGivesAFlatLineAtThreeTenths) {
  graph->SetImpulseResponse(UnitImpulse());
  ASSERT_EQ(graph->Curve().size(), static_cast<std::size_t>(kW));
  for (double y : graph->Curve()) EXPECT_NEAR(y, 0.3 * kH, 1e-6);
  host.RenderAll();
  const int line = static_cast<int>(0.3 * kH);
  for (int x : {5, 100, 333, 600}) {
    EXPECT_TRUE(IsCurvePixel(x, line)) << "x " << x;
    EXPECT_FALSE(IsCurvePixel(x, line - 6)) << "x " << x;
    EXPECT_FALSE(IsCurvePixel(x, line + 6)) << "x " << x;
  }
}

TEST_F(FreqGraphTest, ZeroDbGridLineIsTwiceAsThick) {
  host.RenderAll();
  // A column clear of the vertical lines and of the level labels.
  const int x = 15;
  const int zeroDb = static_cast<int>(std::lround(kH * graph->GridLevelFraction(kZeroDbLine)));
  const int minus20 = static_cast<int>(std::lround(kH * graph->GridLevelFraction(kMinusTwentyLine)));
  const int plus20 = static_cast<int>(std::lround(kH * graph->GridLevelFraction(kTwentyDbLine)));
  EXPECT_EQ(zeroDb, 135);
  EXPECT_EQ(plus20, 45);
  EXPECT_NEAR(GridCoverage(x, zeroDb), 2.0, 0.1);
  EXPECT_NEAR(GridCoverage(x, minus20), 1.0, 0.1);
  EXPECT_NEAR(GridCoverage(x, plus20), 1.0, 0.1);
  const Colour grey = host.PixelAt(x, zeroDb);
  EXPECT_EQ(grey.R, 120);
  EXPECT_EQ(grey.G, 120);
}

TEST_F(FreqGraphTest, AllZeroBufferDrawsNoCurve) {
  graph->SetImpulseResponse(std::vector<double>(kN, 0.0));
  for (double y : graph->Curve()) EXPECT_DOUBLE_EQ(y, kH);
  host.RenderAll();
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) ASSERT_FALSE(IsCurvePixel(x, y)) << x << "," << y;
  }
}

TEST_F(FreqGraphTest, ShortAndHostileBuffersAreSafe) {
  graph->SetImpulseResponse(std::vector<double>{1.0});  // the rest counts as zero
  for (double y : graph->Curve()) EXPECT_NEAR(y, 0.3 * kH, 1e-6);
  std::vector<double> hostile = UnitImpulse();
  hostile[1] = std::nan("");
  hostile[2] = INFINITY;
  graph->SetImpulseResponse(hostile);
  for (double y : graph->Curve()) {
    EXPECT_TRUE(std::isfinite(y));
    EXPECT_GE(y, 0.0);
    EXPECT_LE(y, kH);
  }
  graph->SetImpulseResponse({});
  for (double y : graph->Curve()) EXPECT_DOUBLE_EQ(y, kH);
}

TEST_F(FreqGraphTest, LoudResponsesAreLimitedToTheTop) {
  std::vector<double> loud = UnitImpulse();
  loud[0] = 1000.0;  // +60 dB, above the +30 dB top
  graph->SetImpulseResponse(loud);
  for (double y : graph->Curve()) EXPECT_DOUBLE_EQ(y, 0.0);
}

TEST_F(FreqGraphTest, HalfAmplitudeSitsSixDecibelsLower) {
  std::vector<double> ir(kN, 0.0);
  ir[0] = 0.5;
  graph->SetImpulseResponse(ir);
  const double expected = kH / 100.0 * (30.0 - 20.0 * std::log10(0.5));
  EXPECT_NEAR(graph->Curve()[kW / 2], expected, 1e-6);
}

TEST_F(FreqGraphTest, ReadoutFlipsWithinOneHundredUnitsOfTheRightEdge) {
  g.TrackMouseOver(true);
  g.OnMouseOver(100, 200, {});  // the graph is the first control, so no target
  g.OnMouseOut();
  graph->OnMouseOver(kW - 101.f, 200.f, {});
  EXPECT_TRUE(graph->IsPointerOver());
  EXPECT_EQ(graph->ReadoutRect(), (Rect{kW - 101.f + 10.f, 210.f, kW - 101.f + 100.f, 238.f}));
  graph->OnMouseOver(kW - 100.f, 200.f, {});
  EXPECT_EQ(graph->ReadoutRect(), (Rect{kW - 190.f, 210.f, kW - 100.f, 238.f}));
  graph->OnMouseOut();
  EXPECT_FALSE(graph->IsPointerOver());
}

TEST_F(FreqGraphTest, ReadoutTextsNameFrequencyAndGain) {
  graph->OnMouseOver(0.f, 135.f, {});
  EXPECT_EQ(graph->ReadoutFrequencyText(), "Freq:   20 Hz");
  EXPECT_EQ(graph->ReadoutGainText(), "Gain:  0.0 dB");
  graph->OnMouseOver(static_cast<float>(kW) * 0.5644f, 0.f, {});
  EXPECT_EQ(graph->ReadoutFrequencyText(), "Freq: 1.000 kHz");
  // 20 Hz x 1024^0.7 = 20 x 2^7
  graph->OnMouseOver(static_cast<float>(kW) * 0.7f, 0.f, {});
  EXPECT_EQ(graph->ReadoutFrequencyText(), "Freq: 2.560 kHz");
  EXPECT_EQ(graph->ReadoutGainText(), "Gain: 30.0 dB");
}

TEST_F(FreqGraphTest, ReadoutIsDrawnInTheCurveColour) {
  graph->OnMouseOver(200.f, 300.f, {});
  host.RenderAll();
  const Colour inside = host.PixelAt(211, 311);
  EXPECT_EQ(inside, kCurveColour);
  graph->OnMouseOut();
  host.Render();
  EXPECT_NE(host.PixelAt(211, 311), kCurveColour);
}

}  // namespace
}  // namespace kr7::test
