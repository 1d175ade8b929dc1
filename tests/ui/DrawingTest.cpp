// Pictures that are the behaviour: vector images, sliders, hidden controls,
// cached texts that change, the popup menu and the vector knob's arcs.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "resources/Resources.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmapControls.h"
#include "ui/IPanelControl.h"
#include "ui/IPopupMenu.h"
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

// Linux draws it from the SVG, Windows from bitmaps rasterised at build time;
// both must give the knob at every scale the window uses.
TEST(Drawing, EmbeddedVectorKnobDrawsAtEachScale) {
  IGraphics g(nullptr, 30, 30);
  g.SetResourceProvider([](std::string_view name) { return kr7::FindResource(name); });
  const igraphics::ISVG knob = g.LoadSvgResource("vector-knob.svg");
  ASSERT_TRUE(knob.IsValid());
  for (const int scale : {1, 2, 4}) {
    const igraphics::SurfacePtr surface =
        igraphics::AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 30 * scale, 30 * scale));
    cairo_t* cr = cairo_create(surface.get());
    cairo_scale(cr, scale, scale);
    knob.Draw(cr, Rect{0, 0, 30, 30});
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    const auto pixel = [&](double x, double y) {
      const unsigned char* row = cairo_image_surface_get_data(surface.get()) +
                                 static_cast<int>(y * scale) * cairo_image_surface_get_stride(surface.get());
      std::uint32_t argb;
      std::memcpy(&argb, row + 4 * static_cast<int>(x * scale), 4);
      return argb;
    };
    EXPECT_EQ(pixel(0.5, 0.5) >> 24, 0u) << scale;             // outside the dial
    EXPECT_EQ(pixel(22, 20) >> 24, 255u) << scale;             // the dark body
    EXPECT_GT(pixel(15, 7) & 0xff, 0xc0u) << scale;            // the cyan pointer...
    EXPECT_LT((pixel(15, 7) >> 16) & 0xff, 0x80u) << scale;   // ...has little red
  }
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
