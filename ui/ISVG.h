#pragma once
// A parsed SVG document drawn scaled into a rectangle.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ui/IGraphicsStructs.h"

typedef struct _RsvgHandle RsvgHandle;

namespace igraphics {

class ISVG {
 public:
  ISVG() = default;
  // Parses data at the given resolution; an unreadable document leaves the
  // image empty, and an empty image draws nothing.
  static ISVG Parse(std::span<const std::uint8_t> data, float dpi);

  bool IsValid() const { return mHandle != nullptr; }
  // Draws the whole document fitted into r.
  void Draw(cairo_t* cr, const Rect& r) const;

 private:
  std::shared_ptr<RsvgHandle> mHandle;
};

}  // namespace igraphics
