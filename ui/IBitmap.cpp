#include "ui/IBitmap.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace igraphics {

SurfacePtr AdoptSurface(cairo_surface_t* surface) {
  if (surface == nullptr) return nullptr;
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return SurfacePtr(surface, cairo_surface_destroy);
}

SurfacePtr DecodeImage(std::span<const std::uint8_t> data) {
  if (data.empty() || data.size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &w, &h, &channels, 4);
  if (rgba == nullptr) return nullptr;
  const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  bool opaque = true;
  for (std::size_t alpha = 3; alpha < pixels * 4 && opaque; alpha += 4) opaque = rgba[alpha] == 255;
  // An opaque image says so, which lets Cairo copy it instead of blending.
  SurfacePtr surface =
      AdoptSurface(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, w, h));
  if (surface) {
    cairo_surface_flush(surface.get());
    unsigned char* dst = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(dst + static_cast<std::ptrdiff_t>(y) * stride);
      const stbi_uc* src = rgba + static_cast<std::ptrdiff_t>(y) * w * 4;
      for (int x = 0; x < w; ++x, src += 4) {
        // Cairo wants premultiplied alpha in native-endian 0xAARRGGBB words.
        const std::uint32_t a = src[3];
        const std::uint32_t r = (src[0] * a + 127) / 255;
        const std::uint32_t g = (src[1] * a + 127) / 255;
        const std::uint32_t b = (src[2] * a + 127) / 255;
        row[x] = (a << 24) | (r << 16) | (g << 8) | b;
      }
    }
    cairo_surface_mark_dirty(surface.get());
  }
  stbi_image_free(rgba);
  return surface;
}

std::optional<std::pair<int, int>> ImageSize(std::span<const std::uint8_t> data) {
  if (data.empty() || data.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(data.data(), static_cast<int>(data.size()), &w, &h, &channels) || w <= 0 ||
      h <= 0)
    return std::nullopt;
  return std::make_pair(w, h);
}

namespace {

// Bytes uploaded at a time: Cairo sends an image through a shared-memory
// buffer as large as the upload, and keeps that buffer.
constexpr int kUploadBytes = 256 * 1024;

bool OnDisplayServer(cairo_surface_t* surface) {
  const cairo_surface_type_t type = cairo_surface_get_type(surface);
  return type == CAIRO_SURFACE_TYPE_XLIB || type == CAIRO_SURFACE_TYPE_XCB;
}

// A copy of image kept by the server that owns target; nullptr when the
// server cannot hold it.
SurfacePtr ServerCopy(cairo_surface_t* image, cairo_surface_t* target) {
  const int w = cairo_image_surface_get_width(image);
  const int h = cairo_image_surface_get_height(image);
  // A similar surface is sized in the target's units, of which a HiDPI
  // window has several pixels; the copy gets the image's pixels and no more.
  double sx = 1.0, sy = 1.0;
  cairo_surface_get_device_scale(target, &sx, &sy);
  const int units = static_cast<int>(std::ceil(w / sx));
  const int lines = static_cast<int>(std::ceil(h / sy));
  // Pixels past an image that does not fill whole units must stay
  // transparent, which an opaque surface cannot.
  const bool filled = units * sx == w && lines * sy == h;
  const cairo_content_t content = filled && cairo_image_surface_get_format(image) == CAIRO_FORMAT_RGB24
                                      ? CAIRO_CONTENT_COLOR
                                      : CAIRO_CONTENT_COLOR_ALPHA;
  SurfacePtr copy = AdoptSurface(cairo_surface_create_similar(target, content, units, lines));
  if (!copy || !OnDisplayServer(copy.get())) return nullptr;
  cairo_surface_set_device_scale(copy.get(), 1.0, 1.0);
  // Reading a pixel back waits until the server has taken a band, so the
  // next band reuses its buffer instead of adding one.
  SurfacePtr probe = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
  if (!probe) return nullptr;
  cairo_t* cr = cairo_create(copy.get());
  cairo_t* reader = cairo_create(probe.get());
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, image, 0, 0);
  const int rows = std::max(1, kUploadBytes / std::max(1, cairo_image_surface_get_stride(image)));
  for (int y = 0; y < h; y += rows) {
    cairo_rectangle(cr, 0, y, w, std::min(rows, h - y));
    cairo_fill(cr);
    cairo_set_source_surface(reader, copy.get(), 0, -y);
    cairo_paint(reader);
  }
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS && cairo_status(reader) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(reader);
  cairo_destroy(cr);
  return drawn ? copy : nullptr;
}

}  // namespace

SurfacePtr LazySurface::Get(cairo_surface_t* target) const {
  std::lock_guard lock(mMutex);
  if (mDecode) {
    mSurface = mDecode();
    mDecode = nullptr;
  }
  // One try: a server that refused the copy is not asked again every frame.
  if (mSurface && !mServerTried && target != nullptr && OnDisplayServer(target) &&
      cairo_surface_get_type(mSurface.get()) == CAIRO_SURFACE_TYPE_IMAGE) {
    mServerTried = true;
    if (SurfacePtr copy = ServerCopy(mSurface.get(), target)) mSurface = std::move(copy);
  }
  return mSurface;
}

IBitmap::IBitmap(SurfacePtr surface, int nFrames, bool framesHorizontal, int scale, std::string name)
    : IBitmap(surface ? std::make_shared<const LazySurface>(surface) : nullptr,
              surface ? cairo_image_surface_get_width(surface.get()) : 0,
              surface ? cairo_image_surface_get_height(surface.get()) : 0, nFrames, framesHorizontal,
              scale, std::move(name)) {}

IBitmap::IBitmap(std::shared_ptr<const LazySurface> image, int width, int height, int nFrames,
                 bool framesHorizontal, int scale, std::string name)
    : mImage(std::move(image)),
      mWidth(mImage ? width : 0),
      mHeight(mImage ? height : 0),
      mFrames(std::max(1, nFrames)),
      mHorizontal(framesHorizontal),
      mScale(std::max(1, scale)),
      mName(std::move(name)) {}

int IBitmap::FW() const { return mHorizontal ? mWidth / mScale / mFrames : mWidth / mScale; }
int IBitmap::FH() const { return mHorizontal ? mHeight / mScale : mHeight / mScale / mFrames; }

int FrameForValue(int nFrames, double value) {
  const int n = std::max(1, nFrames);
  const double v = std::isfinite(value) ? value : 0.0;
  const long frame = std::lround(static_cast<double>(n - 1) * v) + 1;
  return static_cast<int>(std::clamp<long>(frame, 1, n));
}

void DrawBitmapFrame(cairo_t* cr, const IBitmap& bitmap, float x, float y, int frame) {
  if (!bitmap.IsValid() || bitmap.FW() <= 0 || bitmap.FH() <= 0) return;
  const SurfacePtr surface = bitmap.Surface(cairo_get_target(cr));
  if (!surface) return;
  const int f = std::clamp(frame, 1, bitmap.N()) - 1;
  const double s = bitmap.GetScale();
  // Offsets are in source pixels: one frame is FW/FH design units of scale s.
  const double ox = bitmap.FramesAreHorizontal() ? f * bitmap.FW() * s : 0.0;
  const double oy = bitmap.FramesAreHorizontal() ? 0.0 : f * bitmap.FH() * s;
  cairo_save(cr);
  cairo_rectangle(cr, x, y, bitmap.FW(), bitmap.FH());
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1.0 / s, 1.0 / s);
  cairo_set_source_surface(cr, surface.get(), -ox, -oy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

void DrawRotatedBitmap(cairo_t* cr, const IBitmap& bitmap, float cx, float cy, double degrees) {
  if (!bitmap.IsValid()) return;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, degrees * std::numbers::pi / 180.0);
  DrawBitmapFrame(cr, bitmap, -bitmap.FW() * 0.5f, -bitmap.FH() * 0.5f, 1);
  cairo_restore(cr);
}

}  // namespace igraphics
