#pragma once
// Decoded images and the frame arithmetic of multi-frame bitmaps.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "ui/IGraphicsStructs.h"

namespace igraphics {

using SurfacePtr = std::shared_ptr<cairo_surface_t>;

// Takes ownership of one reference to the surface.
SurfacePtr AdoptSurface(cairo_surface_t* surface);

// Decodes a PNG (or any format stb_image reads) into a premultiplied ARGB
// surface; nullptr when the data is not an image.
SurfacePtr DecodeImage(std::span<const std::uint8_t> data);

// Width and height in pixels read from the image's header alone; nothing
// when the data is not an image stb_image knows.
std::optional<std::pair<int, int>> ImageSize(std::span<const std::uint8_t> data);

// Pixels decoded when they are first drawn. Pages build the controls of every
// page at once, and most pages are not shown at start: decoding all their
// artwork then would cost start-up time and tens of megabytes for nothing.
// Once drawn onto a window of the X server the pixels move there and the
// decoded copy is freed: the editor keeps no second copy of its artwork, and
// a redraw no longer uploads the image through shared memory (whose buffer
// grows to the largest image and stays that big). Thread-safe; the decoder
// runs once.
class LazySurface {
 public:
  using Decoder = std::function<SurfacePtr()>;
  explicit LazySurface(Decoder decode) : mDecode(std::move(decode)) {}
  explicit LazySurface(SurfacePtr decoded) : mSurface(std::move(decoded)) {}
  // The pixels to draw onto target (nullptr: no target in view); nullptr when
  // the data could not be decoded after all. A server copy draws onto any
  // other target too, read back by Cairo.
  SurfacePtr Get(cairo_surface_t* target = nullptr) const;

 private:
  mutable std::mutex mMutex;
  mutable Decoder mDecode;
  mutable SurfacePtr mSurface;
  mutable bool mServerTried = false;
};

// An image of N frames stacked vertically (or side by side) plus the scale
// it was made for (1 for the plain file, 2 for the @2x file). Frame sizes are
// in design units, so the @2x image covers the same rectangle as the 1x one.
// A bitmap that failed to load has zero size and draws nothing.
class IBitmap {
 public:
  IBitmap() = default;
  IBitmap(SurfacePtr surface, int nFrames, bool framesHorizontal, int scale, std::string name);
  // An image of width x height pixels decoded on first use.
  IBitmap(std::shared_ptr<const LazySurface> image, int width, int height, int nFrames,
          bool framesHorizontal, int scale, std::string name);

  bool IsValid() const { return mImage != nullptr; }
  int W() const { return mWidth; }   // pixels
  int H() const { return mHeight; }  // pixels
  int N() const { return mFrames; }
  bool FramesAreHorizontal() const { return mHorizontal; }
  int GetScale() const { return mScale; }
  int FW() const;  // frame width, design units
  int FH() const;  // frame height, design units
  const std::string& Name() const { return mName; }
  // Decodes the pixels the first time; nullptr when that fails. See
  // LazySurface::Get for target.
  SurfacePtr Surface(cairo_surface_t* target = nullptr) const {
    return mImage ? mImage->Get(target) : nullptr;
  }

 private:
  std::shared_ptr<const LazySurface> mImage;
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
