// Artwork drawn onto a window moves to the X server: the decoded copy goes,
// and what the window shows stays exactly what an image surface shows.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmap.h"

namespace kr7::test {
namespace {

TEST(ServerImages, MoveToTheServerAndDrawTheSame) {
  if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display (run under xvfb-run)";
  // Taller than several upload bands; opaque, then translucent.
  for (const igraphics::Colour bottom : {igraphics::Colour{255, 40, 90, 200}, igraphics::Colour{128, 10, 20, 30}}) {
    const auto png = MakeTwoFramePng(400, 1400, {255, 200, 120, 10}, bottom);
    const igraphics::IBitmap bitmap(igraphics::DecodeImage(png), 2, false, 1, "art.png");
    EXPECT_EQ(cairo_image_surface_get_format(bitmap.Surface().get()),
              bottom.A == 255 ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32);
    cairo_surface_t* window =
        gdk_window_create_similar_surface(gdk_get_default_root_window(), CAIRO_CONTENT_COLOR_ALPHA, 400, 700);
    cairo_surface_t* shown = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 700);
    cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 700);
    for (cairo_surface_t* target : {expected, window}) {
      cairo_t* cr = cairo_create(target);
      igraphics::DrawBitmapFrame(cr, bitmap, 0.f, 0.f, 2);
      cairo_destroy(cr);
    }
    EXPECT_EQ(cairo_surface_get_type(bitmap.Surface().get()), CAIRO_SURFACE_TYPE_XLIB);
    cairo_t* copy = cairo_create(shown);
    cairo_set_source_surface(copy, window, 0, 0);
    cairo_paint(copy);
    cairo_destroy(copy);
    EXPECT_TRUE(SamePixels(shown, expected));
    for (cairo_surface_t* s : {window, shown, expected}) cairo_surface_destroy(s);
  }
}

}  // namespace
}  // namespace kr7::test
