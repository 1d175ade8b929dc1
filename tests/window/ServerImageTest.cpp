// Artwork drawn onto a window moves to the X server and looks the same there.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmap.h"

namespace kr7::test {
namespace {

TEST(ServerImages, MoveToTheServerAndDrawTheSame) {
  if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display (run under xvfb-run)";
  // Taller than several upload bands: opaque on a plain window, translucent on a HiDPI one.
  for (const auto& [alpha, scale] : {std::pair{255, 1}, std::pair{30, 2}}) {
    const auto png = MakeTwoFramePng(400, 1400, {255, 200, 120, 10}, {alpha, 40, 90, 200});
    const igraphics::IBitmap bitmap(igraphics::DecodeImage(png), 2, false, 1, "art.png");
    EXPECT_EQ(cairo_image_surface_get_format(bitmap.Surface().get()),
              alpha == 255 ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32);
    cairo_surface_t* window = gdk_window_create_similar_surface(
        gdk_get_default_root_window(), CAIRO_CONTENT_COLOR_ALPHA, 400 * scale, 700 * scale);
    cairo_surface_t* expected = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400 * scale, 700 * scale);
    for (cairo_surface_t* target : {expected, window}) {
      cairo_surface_set_device_scale(target, scale, scale);
      cairo_t* cr = cairo_create(target);
      igraphics::DrawBitmapFrame(cr, bitmap, 0.f, 0.f, 2);
      cairo_destroy(cr);
    }
    const igraphics::SurfacePtr copy = bitmap.Surface();
    EXPECT_EQ(cairo_surface_get_type(copy.get()), CAIRO_SURFACE_TYPE_XLIB);
    cairo_surface_t* held = cairo_surface_map_to_image(copy.get(), nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(held), 400);  // the image's pixels, no more
    cairo_surface_unmap_image(copy.get(), held);
    cairo_surface_t* shown = cairo_surface_map_to_image(window, nullptr);
    EXPECT_TRUE(SamePixels(shown, expected)) << "scale " << scale;
    cairo_surface_unmap_image(window, shown);
    for (cairo_surface_t* s : {window, expected}) cairo_surface_destroy(s);
  }
}

}  // namespace
}  // namespace kr7::test
