#include "ui/ISVG.h"

#include <librsvg/rsvg.h>

namespace igraphics {

class ISVG::Image {
 public:
  explicit Image(RsvgHandle* handle) : mHandle(handle) {}
  ~Image() { g_object_unref(mHandle); }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  RsvgHandle* Handle() const { return mHandle; }

 private:
  RsvgHandle* mHandle;
};

ISVG ISVG::Load(const ResourceProvider& provider, std::string_view fileName, float dpi) {
  const auto data = provider ? provider(fileName) : std::nullopt;
  return data ? Parse(*data, dpi) : ISVG{};
}

ISVG ISVG::Parse(std::span<const std::uint8_t> data, float dpi) {
  ISVG svg;
  if (data.empty()) return svg;
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(data.data(), data.size(), &error);
  if (error != nullptr) g_error_free(error);
  if (handle == nullptr) return svg;
  rsvg_handle_set_dpi(handle, dpi);
  svg.mImage = std::make_shared<const Image>(handle);
  return svg;
}

void ISVG::Draw(cairo_t* cr, const Rect& r) const {
  if (!mImage || r.Empty()) return;
  const RsvgRectangle viewport{r.L, r.T, r.W(), r.H()};
  GError* error = nullptr;
  rsvg_handle_render_document(mImage->Handle(), cr, &viewport, &error);
  if (error != nullptr) g_error_free(error);
}

}  // namespace igraphics
