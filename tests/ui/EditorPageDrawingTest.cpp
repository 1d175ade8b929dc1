// Renders the editor's own pages to PNG files (left in the test's temporary
// folder for a look) and checks what the picture must show.

#include <gtest/gtest.h>

#include "model/ControlTags.h"
#include "app/core/KR7Control.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/IDynamicsResponseGraph.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/pages/EditorPages.h"

namespace kr7::test {
namespace {

using igraphics::Colour;

class EditorPageDrawing : public ::testing::Test {
 protected:
  EditorPageDrawing() { pages.Open(1); }
  bool Write(const std::string& name) const { return host.WritePng(::testing::TempDir() + name + ".png"); }
  TempFolder folder;
  KR7Control control{DataFolder(folder.Path())};
  pages::EditorPages pages{control.ForWindow(), 1.f};
  HeadlessHost host{pages.Graphics()};
};

TEST_F(EditorPageDrawing, RendersAtEveryScale) {
  for (float scale : {0.5f, 1.f, 2.f}) {
    pages.Graphics().SetDesignSize(1920, 1200, scale);
    host.Render();
    EXPECT_EQ(cairo_image_surface_get_width(host.Surface()), static_cast<int>(1920 * scale));
    // The "Off" row of the impulse-response list is drawn in its cyan.
    bool cyan = false;
    for (int x = 497; x < 540 && !cyan; ++x) {
      const Colour c = host.PixelAt(static_cast<int>(x * scale), static_cast<int>(735 * scale));
      cyan = c.G > 180 && c.B > 180 && c.R < c.G - 80;
    }
    EXPECT_TRUE(cyan) << scale;
    EXPECT_TRUE(Write("ui_page_" + std::to_string(static_cast<int>(scale * 100))));
  }
}

TEST_F(EditorPageDrawing, GraphsAndTheReadout) {
  std::vector<double> impulse(igraphics::IFreqResponseGraph::kTransformSize, 0.0);
  impulse[0] = 1.0;
  pages.Refs().irGraph->SetImpulseResponse(impulse);
  pages.Refs().irGraph->OnMouseOver(1800.f, 800.f, {});
  host.Render();
  EXPECT_TRUE(Write("ui_page_readout"));
  // Flipped near the right edge: the box ends at the pointer.
  EXPECT_EQ(host.PixelAt(1799, 811), (Colour{255, 100, 255, 255}));
  EXPECT_NE(host.PixelAt(1801, 811), (Colour{255, 100, 255, 255}));

  pages.Refs().irGraph->Hide(true);
  auto* dynamics = pages.Refs().dynamicsGraph;
  dynamics->Hide(false);
  dynamics->SetRatio(4);
  dynamics->SetGateRatio(0.3);
  host.Render();
  EXPECT_TRUE(Write("ui_page_dynamics"));
  const auto knee = dynamics->ThresholdKneePoint();
  EXPECT_EQ(host.PixelAt(static_cast<int>(knee.X), static_cast<int>(knee.Y)).G, 255);
}

}  // namespace
}  // namespace kr7::test
