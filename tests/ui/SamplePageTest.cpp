// Renders the sample page to PNG files (left in the test's temporary folder
// for a look) and checks what the picture must show.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IDynamicsResponseGraph.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/IVKnobControl.h"
#include "ui/SamplePage.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IGraphics;

constexpr Colour kPanelGrey{255, 127, 127, 127};

class SamplePageTest : public ::testing::Test {
 protected:
  SamplePageTest() : font(ReadFile(kRobotoPath)) {
    page = igraphics::BuildSamplePage(g, font);
  }
  std::string OutPath(const char* name) const { return ::testing::TempDir() + name; }
  std::vector<std::uint8_t> font;
  igraphics::SampleDelegate delegate;
  IGraphics g{&delegate, 1920, 1200, 1.f};
  HeadlessHost host{g};
  igraphics::SamplePage page;
};

TEST_F(SamplePageTest, RendersAtEveryScale) {
  for (float scale : {0.5f, 1.f, 2.f}) {
    g.SetDesignSize(1920, 1200, scale);
    host.Render();
    EXPECT_EQ(cairo_image_surface_get_width(host.Surface()), static_cast<int>(1920 * scale));
    // The background panel shows in an empty corner of the page.
    EXPECT_EQ(host.PixelAt(static_cast<int>(500 * scale), static_cast<int>(20 * scale)), kPanelGrey);
    char name[32];
    std::snprintf(name, sizeof name, "ui_sample_%03d.png", static_cast<int>(scale * 100));
    EXPECT_TRUE(host.WritePng(OutPath(name)));
  }
}

TEST_F(SamplePageTest, DisabledPedalIsDimmedAndTheKnobArcFollowsTheValue) {
  host.Render();
  // Inside a dimmed knob's dark disc (grey 31) over the pedal panel (60):
  // a quarter of the disc and three quarters of the panel.
  const Colour inDisc = host.PixelAt(770 - 30, 189 + 20);
  EXPECT_NEAR(inDisc.R, 0.25 * 31 + 0.75 * 60, 3);
  // Block knob at 0.5: the value arc reaches 12 o'clock but not 3 o'clock.
  const auto* knob = page.BlockKnob;
  const float cx = knob->GetRECT().MW();
  const float cy = knob->GetRECT().MH();
  const int top = static_cast<int>(cy - knob->Radius());
  const Colour atTop = host.PixelAt(static_cast<int>(cx) - 3, top);
  EXPECT_EQ(atTop.G, 255);
  EXPECT_EQ(atTop.R, 51);
  const Colour atRight = host.PixelAt(static_cast<int>(cx + knob->Radius()), static_cast<int>(cy));
  EXPECT_EQ(atRight, (Colour{255, 70, 70, 70}));  // the track colour only
  EXPECT_TRUE(host.WritePng(OutPath("ui_sample_page.png")));
}

TEST_F(SamplePageTest, DynamicsGraphPicture) {
  page.FreqGraph->Hide(true);
  page.DynamicsGraph->Hide(false);
  page.DynamicsGraph->SetRatio(4);
  page.DynamicsGraph->SetGateRatio(0.3);
  g.TrackMouseOver(true);
  host.Render();
  EXPECT_TRUE(host.WritePng(OutPath("ui_sample_dynamics.png")));
  const auto k2 = page.DynamicsGraph->ThresholdKneePoint();
  EXPECT_EQ(host.PixelAt(static_cast<int>(k2.X), static_cast<int>(k2.Y)).G, 255);
}

TEST_F(SamplePageTest, ReadoutPicture) {
  page.FreqGraph->OnMouseOver(1800.f, 800.f, {});
  host.Render();
  EXPECT_TRUE(host.WritePng(OutPath("ui_sample_readout.png")));
  // Flipped: the box ends at the pointer.
  EXPECT_EQ(host.PixelAt(1799, 811), (Colour{255, 100, 255, 255}));
  EXPECT_NE(host.PixelAt(1801, 811), (Colour{255, 100, 255, 255}));
}

}  // namespace
}  // namespace kr7::test
