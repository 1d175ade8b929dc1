#pragma once
// A picture of static artwork (texts, grids, tracks) kept in a surface of
// its own, so that a redraw copies pixels instead of laying out glyphs.

#include <cairo.h>

#include <functional>

#include "ui/IBitmap.h"
#include "ui/IGraphicsStructs.h"

namespace igraphics {

class LayerCache {
 public:
  // Paints the cached picture of r; when there is none yet, or the device
  // transform of cr differs from the one it was made for, first records it by
  // calling draw (in the same user space as cr).
  void Paint(cairo_t* cr, const Rect& r, const std::function<void(cairo_t*)>& draw);
  // The next Paint records anew.
  void Invalidate() { mSurface.reset(); }
  bool IsValid() const { return mSurface != nullptr; }

 private:
  SurfacePtr mSurface;
  cairo_matrix_t mMatrix{};
  Rect mRect;
};

}  // namespace igraphics
