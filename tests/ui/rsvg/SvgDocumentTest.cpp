// SVG documents parsed and drawn by librsvg (Linux; Windows draws bitmaps).

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/UiTestSupport.h"
#include "ui/ISVGKnobControl.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IGraphics;
using igraphics::Rect;

constexpr Colour kRed{255, 255, 0, 0};
constexpr Colour kBlue{255, 0, 0, 255};

// A 30 x 30 document: a red upper half and a blue lower half.
constexpr const char* kHalvesSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="30">)"
    R"(<rect x="0" y="0" width="30" height="15" fill="#ff0000"/>)"
    R"(<rect x="0" y="15" width="30" height="15" fill="#0000ff"/></svg>)";

igraphics::ISVG HalvesSvg() {
  const std::string text(kHalvesSvg);
  return igraphics::ISVG::Parse({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 72.f);
}

TEST(Drawing, SvgKnobRotatesItsImage) {
  IGraphics g(nullptr, 60, 60);
  HeadlessHost host(g);
  auto* knob = g.AddControl(std::make_unique<igraphics::ISVGKnobControl>(Rect{0, 0, 60, 60}, HalvesSvg(),
                                                                          igraphics::kNoParameter));
  knob->SetValue(0.5);  // -135 + 135 = 0 degrees: upright
  host.RenderAll();
  EXPECT_EQ(host.PixelAt(30, 10), kRed);
  EXPECT_EQ(host.PixelAt(30, 50), kBlue);
  knob->SetValue(1.0);  // 135 degrees clockwise: red now lower right
  host.Render();
  EXPECT_EQ(host.PixelAt(45, 45), kRed);
  EXPECT_EQ(host.PixelAt(15, 15), kBlue);
}

TEST(Drawing, BrokenSvgDrawsNothing) {
  IGraphics g(nullptr, 60, 60);
  HeadlessHost host(g);
  const std::string text = "<svg";  // cut short
  const auto svg = igraphics::ISVG::Parse({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 72.f);
  EXPECT_FALSE(svg.IsValid());
  g.AddControl(std::make_unique<igraphics::ISVGKnobControl>(Rect{0, 0, 60, 60}, svg, igraphics::kNoParameter));
  host.RenderAll();
  EXPECT_EQ(host.PixelAt(30, 30).A, 0);
}

}  // namespace
}  // namespace kr7::test
