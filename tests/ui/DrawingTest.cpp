// Pictures that are the behaviour: vector images, sliders, hidden controls,
// cached texts that change, the popup menu and the vector knob's arcs.

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmapControls.h"
#include "ui/IPanelControl.h"
#include "ui/IPopupMenu.h"
#include "ui/ISVGKnobControl.h"
#include "ui/ITextControl.h"
#include "ui/IVKnobControl.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IGraphics;
using igraphics::Rect;

constexpr Colour kRed{255, 255, 0, 0};
constexpr Colour kGreen{255, 0, 255, 0};
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

TEST(Drawing, HiddenControlsDoNotDraw) {
  IGraphics g(nullptr, 40, 40);
  HeadlessHost host(g);
  auto* panel = g.AddControl(std::make_unique<igraphics::IPanelControl>(Rect{0, 0, 40, 40}, kGreen));
  host.Render();
  EXPECT_EQ(host.PixelAt(20, 20), kGreen);
  panel->Hide(true);
  host.Render();
  EXPECT_EQ(host.PixelAt(20, 20).A, 0);
}

TEST(Drawing, ChangedTextIsRedrawnFromTheCache) {
  MemoryResources files;
  files.Put("Roboto-Regular.ttf", ReadFile(kRobotoPath));
  IGraphics g(nullptr, 200, 60);
  g.SetResourceProvider(files.Provider());
  ASSERT_TRUE(g.LoadFontResource("Roboto-Regular", "Roboto-Regular.ttf"));
  HeadlessHost host(g);
  auto* text = g.AddControl(std::make_unique<igraphics::ITextControl>(
      Rect{0, 0, 200, 60}, "", igraphics::TextStyle(50.f, kRed), kBlue));
  auto inked = [&] {
    int n = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 200; ++x) n += host.PixelAt(x, y).R > 128 ? 1 : 0;
    }
    return n;
  };
  host.Render();
  EXPECT_EQ(inked(), 0);
  EXPECT_EQ(host.PixelAt(5, 5), kBlue);
  text->SetStr("88");
  host.Render();
  const int two = inked();
  EXPECT_GT(two, 100);
  text->SetStr("8888");
  host.Render();
  EXPECT_GT(inked(), two * 3 / 2);
  text->SetTextColour(kGreen);
  host.Render();
  EXPECT_EQ(inked(), 0);
}

TEST(Drawing, BitmapSliderPlacesItsHandleByValue) {
  MemoryResources files;
  files.Put("mic.png", MakePng(50, 30, kRed));
  files.Put("micbg.png", MakePng(50, 432, kBlue));
  IGraphics g(nullptr, 500, 1200);
  HeadlessHost host(g);
  g.SetResourceProvider(files.Provider());
  auto* slider = g.AddControl(std::make_unique<igraphics::IBSliderControl>(
      Rect{380, 717, 430, 1149}, g.LoadImageResource("mic.png"), g.LoadImageResource("micbg.png"),
      igraphics::kNoParameter));
  EXPECT_FLOAT_EQ(slider->DragLength(), 432.f - 30.f);
  slider->SetValue(0.0);
  EXPECT_EQ(slider->HandleRect(), (Rect{380, 1119, 430, 1149}));
  slider->SetValue(1.0);
  EXPECT_EQ(slider->HandleRect(), (Rect{380, 717, 430, 747}));
  host.Render();
  EXPECT_EQ(host.PixelAt(405, 730), kRed);
  EXPECT_EQ(host.PixelAt(405, 1130), kBlue);
}

TEST(Drawing, VectorKnobPointerAndHaloFollowTheValue) {
  IGraphics g(nullptr, 200, 200);
  HeadlessHost host(g);
  igraphics::WidgetStyle style;
  style.Colours[igraphics::kX1] = Colour(255, 51, 255, 255);
  style.Colours[igraphics::kX2] = Colour(255, 70, 70, 70);
  style.Colours[igraphics::kFR] = Colour(255, 0, 0, 0);
  style.ShowLabel = false;
  style.ShowValue = false;
  auto* ring = g.AddControl(std::make_unique<igraphics::IVKnobControl>(
      Rect{0, 0, 200, 200}, igraphics::kNoParameter, "PRESET", style, false, false, -135.f, 135.f, -135.f,
      igraphics::EDirection::Vertical, 4.0, 18.f));
  ring->SetValue(0.5);  // pointer straight up
  host.RenderAll();
  const float radius = ring->Radius();
  // The value arc in full colour on the radius at 12 o'clock (just left of the pointer).
  EXPECT_EQ(host.PixelAt(95, static_cast<int>(100 - radius)), (Colour{255, 51, 255, 255}));
  // The halo is 1.7 times wider: its dark shade shows just outside the track.
  const Colour halo = host.PixelAt(95, static_cast<int>(100 - radius - 9 - 3));
  EXPECT_GT(halo.A, 60);
  EXPECT_LT(halo.G, 200);
  // The pointer (frame colour) runs from 10 % of the radius to the rim.
  EXPECT_EQ(host.PixelAt(100, static_cast<int>(100 - radius * 0.5f)), (Colour{255, 0, 0, 0}));
  EXPECT_EQ(host.PixelAt(100, 100).A, 0);
  // The track alone at 3 o'clock.
  EXPECT_EQ(host.PixelAt(static_cast<int>(100 + radius), 100), (Colour{255, 70, 70, 70}));
}

TEST(Drawing, PopupMenuDrawsItsItemsOnTop) {
  IGraphics g(nullptr, 300, 300);
  HeadlessHost host(g);
  g.AddPopupMenu(igraphics::TextStyle(19.f, Colour(255, 255, 255, 255)), Rect{});
  auto* owner = g.AddControl(std::make_unique<igraphics::IPanelControl>(Rect{0, 0, 300, 300}, kGreen));
  igraphics::IPopupMenu menu;
  menu.AddItem("One");
  menu.AddItem("Two", false);
  g.CreatePopupMenu(*owner, menu, Rect{10, 10, 110, 30});
  auto* popup = g.GetPopupMenu();
  ASSERT_TRUE(popup->IsOpen());
  EXPECT_FLOAT_EQ(popup->GetRECT().T, 30.f);  // below its anchor
  host.Render();
  const Rect item = popup->GetItemRect(0);
  EXPECT_NE(host.PixelAt(static_cast<int>(item.R) - 3, static_cast<int>(item.MH())), kGreen);
  // A disabled item cannot be chosen.
  const Rect disabled = popup->GetItemRect(1);
  host.Click(disabled.MW(), disabled.MH());
  EXPECT_FALSE(popup->IsOpen());
}

TEST(Drawing, PopupMenuStaysInsideTheSurface) {
  IGraphics g(nullptr, 300, 300);
  g.AddPopupMenu(igraphics::TextStyle(19.f, Colour(255, 255, 255, 255)), Rect{});
  auto* owner = g.AddControl(std::make_unique<igraphics::IPanelControl>(Rect{0, 0, 300, 300}, kGreen));
  igraphics::IPopupMenu menu;
  for (int i = 0; i < 5; ++i) menu.AddItem("Item");
  g.CreatePopupMenu(*owner, menu, Rect{250, 280, 300, 300});
  const Rect r = g.GetPopupMenu()->GetRECT();
  EXPECT_LE(r.B, 300.f);
  EXPECT_LE(r.R, 300.f);
  EXPECT_GE(r.T, 0.f);
}

}  // namespace
}  // namespace kr7::test
