// Renders the editor's own pages to PNG files (left in the test's temporary
// folder for a look) and checks what the picture must show.

#include <gtest/gtest.h>

#include "app/core/KR7Control.h"
#include "model/Parameters.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/IDynamicsResponseGraph.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/pages/EditorPages.h"

namespace kr7::test {
namespace {

using igraphics::Colour;

constexpr Colour kGraphColour{255, 100, 255, 255};

class EditorPageDrawing : public ::testing::Test {
 protected:
  EditorPageDrawing() { pages.Open(1); }
  std::string OutPath(const char* name) const { return ::testing::TempDir() + name; }
  igraphics::IGraphics& g() { return pages.Graphics(); }
  TempFolder folder;
  KR7Control control{DataFolder(folder.Path())};
  pages::EditorPages pages{control, 1.f};
  HeadlessHost host{pages.Graphics()};
};

TEST_F(EditorPageDrawing, RendersAtEveryScale) {
  for (float scale : {0.5f, 1.f, 2.f}) {
    g().SetDesignSize(1920, 1200, scale);
    host.Render();
    EXPECT_EQ(cairo_image_surface_get_width(host.Surface()), static_cast<int>(1920 * scale));
    // The "Off" row of the impulse-response list is drawn in its cyan.
    bool cyan = false;
    for (int x = 497; x < 540 && !cyan; ++x) {
      const Colour c = host.PixelAt(static_cast<int>(x * scale), static_cast<int>(735 * scale));
      cyan = c.G > 180 && c.B > 180 && c.R < c.G - 80;
    }
    EXPECT_TRUE(cyan) << scale;
    char name[32];
    std::snprintf(name, sizeof name, "ui_page_%03d.png", static_cast<int>(scale * 100));
    EXPECT_TRUE(host.WritePng(OutPath(name)));
  }
}

TEST_F(EditorPageDrawing, DisabledPedalIsDimmedAndTheKnobArcFollowsTheValue) {
  host.Render();
  const Colour dimmed = host.PixelAt(1460 + 37, 486 + 20);
  g().ForEachInGroup("bcontrols", [](igraphics::IControl& c) { c.SetDisabled(false); });
  host.Render();
  const Colour lit = host.PixelAt(1460 + 37, 486 + 20);
  EXPECT_GT(lit.R + lit.G + lit.B, dimmed.R + dimmed.G + dimmed.B + 60);

  // The master level knob at its default: the value arc passes 12 o'clock in
  // the knob's cyan but not 3 o'clock, which shows the track only.
  pages.Transitions().ShowGroup("ircontrols", false);
  pages.Transitions().ShowGroup("levelcontrols", true);
  control.SetParameterFromRaw(kParamLevel, 80);
  g().SendParameterValueFromDelegate(kParamLevel, 80 / 127.0);
  host.Render();
  const Colour atTop = host.PixelAt(730 - 3, 920 - 82);
  EXPECT_EQ(atTop.G, 255);
  const Colour atRight = host.PixelAt(730 + 82, 920);
  EXPECT_EQ(atRight, (Colour{255, 70, 70, 70}));
  EXPECT_TRUE(host.WritePng(OutPath("ui_page_level.png")));
}

TEST_F(EditorPageDrawing, DynamicsGraphPicture) {
  pages.Refs().irGraph->Hide(true);
  auto* dynamics = pages.Refs().dynamicsGraph;
  dynamics->Hide(false);
  dynamics->SetRatio(4);
  dynamics->SetGateRatio(0.3);
  host.Render();
  EXPECT_TRUE(host.WritePng(OutPath("ui_page_dynamics.png")));
  const auto k2 = dynamics->ThresholdKneePoint();
  EXPECT_EQ(host.PixelAt(static_cast<int>(k2.X), static_cast<int>(k2.Y)).G, 255);
}

TEST_F(EditorPageDrawing, ReadoutPicture) {
  std::vector<double> impulse(igraphics::IFreqResponseGraph::kTransformSize, 0.0);
  impulse[0] = 1.0;
  pages.Refs().irGraph->SetImpulseResponse(impulse);
  pages.Refs().irGraph->OnMouseOver(1800.f, 800.f, {});
  host.Render();
  EXPECT_TRUE(host.WritePng(OutPath("ui_page_readout.png")));
  // Flipped: the box ends at the pointer.
  EXPECT_EQ(host.PixelAt(1799, 811), kGraphColour);
  EXPECT_NE(host.PixelAt(1801, 811), kGraphColour);
}

}  // namespace
}  // namespace kr7::test
