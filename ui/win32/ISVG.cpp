#include "ui/ISVG.h"

#include <cmath>
#include <string>
#include <vector>

#include "ui/IBitmap.h"

namespace igraphics {

// The build rasterises "name.svg" into "name.png", "name@2x.png" and
// "name@4x.png" (resources/CMakeLists.txt).
class ISVG::Image {
 public:
  std::vector<SurfacePtr> Scales;  // ascending size
};

ISVG ISVG::Load(const ResourceProvider& provider, std::string_view fileName, float) {
  ISVG svg;
  if (!provider || !fileName.ends_with(".svg")) return svg;
  const std::string png = std::string(fileName.substr(0, fileName.size() - 4)) + ".png";
  auto image = std::make_shared<Image>();
  for (const int scale : {1, 2, 4}) {
    const auto data = provider(ScaledFileName(png, scale));
    if (SurfacePtr surface = data ? DecodeImage(*data) : nullptr) image->Scales.push_back(std::move(surface));
  }
  if (!image->Scales.empty()) svg.mImage = std::move(image);
  return svg;
}

void ISVG::Draw(cairo_t* cr, const Rect& r) const {
  if (!mImage || r.Empty()) return;
  // The rectangle's width in device pixels, whatever the rotation.
  double dx = r.W(), dy = 0.0;
  cairo_user_to_device_distance(cr, &dx, &dy);
  const double pixels = std::hypot(dx, dy);
  const SurfacePtr* chosen = &mImage->Scales.back();
  for (const SurfacePtr& s : mImage->Scales) {
    if (cairo_image_surface_get_width(s.get()) >= pixels) {
      chosen = &s;
      break;
    }
  }
  cairo_surface_t* surface = chosen->get();
  cairo_save(cr);
  cairo_translate(cr, r.L, r.T);
  cairo_scale(cr, r.W() / cairo_image_surface_get_width(surface), r.H() / cairo_image_surface_get_height(surface));
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace igraphics
