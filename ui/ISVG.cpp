#include "ui/ISVG.h"

#include <librsvg/rsvg.h>

namespace igraphics {

ISVG ISVG::Parse(std::span<const std::uint8_t> data, float dpi) {
  ISVG svg;
  if (data.empty()) return svg;
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(data.data(), data.size(), &error);
  if (error != nullptr) g_error_free(error);
  if (handle == nullptr) return svg;
  rsvg_handle_set_dpi(handle, dpi);
  svg.mHandle = std::shared_ptr<RsvgHandle>(handle, [](RsvgHandle* h) { g_object_unref(h); });
  return svg;
}

void ISVG::Draw(cairo_t* cr, const Rect& r) const {
  if (!mHandle || r.Empty()) return;
  const RsvgRectangle viewport{r.L, r.T, r.W(), r.H()};
  GError* error = nullptr;
  rsvg_handle_render_document(mHandle.get(), cr, &viewport, &error);
  if (error != nullptr) g_error_free(error);
}

}  // namespace igraphics
