#pragma once
// A vector image drawn scaled into a rectangle. Where librsvg is available
// (Linux) the SVG document itself is parsed and drawn; on Windows, which has
// no librsvg build, the same picture comes from bitmaps rasterised from the
// document at build time at 1x, 2x and 4x, and the sharpest one that fits is
// scaled into the rectangle.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ui/IGraphicsStructs.h"
#include "ui/ImageCache.h"

namespace igraphics {

class ISVG {
 public:
  ISVG() = default;
  // The image of the resource fileName ("name.svg"), at the given resolution
  // where a document is parsed; a missing or unreadable resource leaves the
  // image empty, and an empty image draws nothing.
  static ISVG Load(const ResourceProvider& provider, std::string_view fileName, float dpi);
#ifndef _WIN32
  // Parses an SVG document.
  static ISVG Parse(std::span<const std::uint8_t> data, float dpi);
#endif

  bool IsValid() const { return mImage != nullptr; }
  // Draws the whole image fitted into r.
  void Draw(cairo_t* cr, const Rect& r) const;

 private:
  class Image;
  std::shared_ptr<const Image> mImage;
};

}  // namespace igraphics
