#pragma once
// Decoded images and the frame arithmetic of multi-frame bitmaps.

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ui/IGraphicsStructs.h"

namespace igraphics {

using SurfacePtr = std::shared_ptr<cairo_surface_t>;

// Takes ownership of one reference to the surface.
SurfacePtr AdoptSurface(cairo_surface_t* surface);

// Decodes a PNG (or any format stb_image reads) into a premultiplied ARGB
// surface; nullptr when the data is not an image.
SurfacePtr DecodeImage(std::span<const std::uint8_t> data);

// An image of N frames stacked vertically (or side by side) plus the scale
// it was made for (1 for the plain file, 2 for the @2x file). Frame sizes are
// in design units, so the @2x image covers the same rectangle as the 1x one.
// A bitmap that failed to load has zero size and draws nothing.
class IBitmap {
 public:
  IBitmap() = default;
  IBitmap(SurfacePtr surface, int nFrames, bool framesHorizontal, int scale, std::string name);

  bool IsValid() const { return mSurface != nullptr; }
  int W() const { return mWidth; }   // pixels
  int H() const { return mHeight; }  // pixels
  int N() const { return mFrames; }
  bool FramesAreHorizontal() const { return mHorizontal; }
  int GetScale() const { return mScale; }
  int FW() const;  // frame width, design units
  int FH() const;  // frame height, design units
  const std::string& Name() const { return mName; }
  cairo_surface_t* Surface() const { return mSurface.get(); }

 private:
  SurfacePtr mSurface;
  int mWidth = 0;
  int mHeight = 0;
  int mFrames = 1;
  bool mHorizontal = false;
  int mScale = 1;
  std::string mName;
};

// Frame shown for a normalised value: round((N - 1) * value) + 1 in 1..N.
int FrameForValue(int nFrames, double value);

// Draws frame (1-based) with its top left corner at (x, y), design units.
void DrawBitmapFrame(cairo_t* cr, const IBitmap& bitmap, float x, float y, int frame);

// Draws the first frame centred on (cx, cy), rotated clockwise by degrees.
void DrawRotatedBitmap(cairo_t* cr, const IBitmap& bitmap, float cx, float cy, double degrees);

}  // namespace igraphics
