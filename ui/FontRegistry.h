#pragma once
// TrueType faces registered under font ids, loaded from memory.

#include <cairo.h>

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace igraphics {

class FontRegistry {
 public:
  FontRegistry() = default;
  FontRegistry(const FontRegistry&) = delete;
  FontRegistry& operator=(const FontRegistry&) = delete;
  ~FontRegistry();

  // Copies the font file and registers it under id, replacing an earlier face
  // of that id. Returns false when the data is not a font.
  bool Register(std::string_view id, std::span<const std::uint8_t> data);

  // The face of id, else the default font's, else Cairo's own sans-serif face.
  // The registry keeps the reference.
  cairo_font_face_t* Face(std::string_view id) const;
  bool Has(std::string_view id) const;

 private:
  std::map<std::string, cairo_font_face_t*, std::less<>> mFaces;
  mutable cairo_font_face_t* mFallback = nullptr;
};

}  // namespace igraphics
