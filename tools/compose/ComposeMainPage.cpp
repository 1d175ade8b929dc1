// Renders the composed main page to a PNG at a given window scale.
//
// Usage: kr7_compose_mainpage <image folder> <scale> <output.png>

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/compose/MainPageComposer.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <image folder> <scale> <output.png>\n", argv[0]);
    return 2;
  }
  const double scale = std::atof(argv[2]);
  if (!(scale > 0.0 && scale <= 4.0)) {
    std::fprintf(stderr, "scale must be in (0, 4]\n");
    return 2;
  }
  const int width = static_cast<int>(std::lround(1920 * scale));
  const int height = static_cast<int>(std::lround(1200 * scale));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  const bool drawn = kr7::tools::ComposeMainPage(cr, argv[1], kr7::tools::PageState{});
  cairo_destroy(cr);
  const bool written = cairo_surface_write_to_png(surface, argv[3]) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return drawn && written ? 0 : 1;
}
