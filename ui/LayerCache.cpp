#include "ui/LayerCache.h"

#include <cmath>

namespace igraphics {
namespace {
bool SameMatrix(const cairo_matrix_t& a, const cairo_matrix_t& b) {
  return a.xx == b.xx && a.yx == b.yx && a.xy == b.xy && a.yy == b.yy && a.x0 == b.x0 && a.y0 == b.y0;
}
}  // namespace

void LayerCache::Paint(cairo_t* cr, const Rect& r, const std::function<void(cairo_t*)>& draw) {
  if (r.Empty()) return;
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  double x0 = r.L, y0 = r.T, x1 = r.R, y1 = r.B;
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  // Artwork may spill a little beyond its rectangle (antialiased edges).
  const double left = std::floor(std::min(x0, x1)) - 2.0;
  const double top = std::floor(std::min(y0, y1)) - 2.0;
  const int w = static_cast<int>(std::ceil(std::max(x0, x1)) - left) + 2;
  const int h = static_cast<int>(std::ceil(std::max(y0, y1)) - top) + 2;
  if (!mSurface || !SameMatrix(matrix, mMatrix) || !(r == mRect)) {
    mSurface = AdoptSurface(cairo_surface_create_similar(cairo_get_target(cr), CAIRO_CONTENT_COLOR_ALPHA, w, h));
    if (!mSurface) return;
    mMatrix = matrix;
    mRect = r;
    cairo_t* layer = cairo_create(mSurface.get());
    cairo_matrix_t shifted = matrix;
    shifted.x0 -= left;
    shifted.y0 -= top;
    cairo_set_matrix(layer, &shifted);
    draw(layer);
    cairo_destroy(layer);
  }
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_surface(cr, mSurface.get(), left, top);
  cairo_paint(cr);
  cairo_restore(cr);
}

}  // namespace igraphics
