#include "ui/FontRegistry.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <mutex>
#include <vector>

#include "ui/IGraphicsStructs.h"

namespace igraphics {
namespace {

// One FreeType library for the process, never released: Cairo may drop its
// last reference to a face long after the registry that made it is gone, and
// the face must still find its library then.
FT_Library Library() {
  static FT_Library library = [] {
    // A statically linked Cairo on Windows sets its locks up in a few entry
    // points only, and making a font face is not one of them: without this a
    // first face waits forever on a lock that was never made.
    cairo_pattern_destroy(cairo_pattern_create_rgb(0, 0, 0));
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

std::mutex& LibraryMutex() {
  static std::mutex m;
  return m;
}

// Owns what a FreeType face made from memory needs for its lifetime.
struct FaceOwner {
  std::vector<std::uint8_t> bytes;
  FT_Face face = nullptr;
};

const cairo_user_data_key_t kFaceOwnerKey{};

void DestroyFaceOwner(void* p) {
  auto* owner = static_cast<FaceOwner*>(p);
  {
    std::lock_guard lock(LibraryMutex());
    FT_Done_Face(owner->face);
  }
  delete owner;
}

}  // namespace

FontRegistry::~FontRegistry() {
  for (auto& [id, face] : mFaces) cairo_font_face_destroy(face);
  if (mFallback != nullptr) cairo_font_face_destroy(mFallback);
}

bool FontRegistry::Register(std::string_view id, std::span<const std::uint8_t> data) {
  if (data.empty() || data.size() > static_cast<std::size_t>(LONG_MAX) || Library() == nullptr) return false;
  auto* owner = new FaceOwner{{data.begin(), data.end()}, nullptr};
  FT_Error error;
  {
    std::lock_guard lock(LibraryMutex());
    error = FT_New_Memory_Face(Library(), owner->bytes.data(), static_cast<FT_Long>(owner->bytes.size()), 0,
                               &owner->face);
  }
  if (error != 0) {
    delete owner;
    return false;
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(owner->face, 0);
  if (cairo_font_face_set_user_data(face, &kFaceOwnerKey, owner, DestroyFaceOwner) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    DestroyFaceOwner(owner);
    return false;
  }
  std::string key(id.substr(0, kMaxFontIdLength));
  if (auto it = mFaces.find(key); it != mFaces.end()) {
    cairo_font_face_destroy(it->second);
    it->second = face;
  } else {
    mFaces.emplace(std::move(key), face);
  }
  return true;
}

bool FontRegistry::Has(std::string_view id) const { return mFaces.find(id) != mFaces.end(); }

cairo_font_face_t* FontRegistry::Face(std::string_view id) const {
  if (auto it = mFaces.find(id); it != mFaces.end()) return it->second;
  if (auto it = mFaces.find(std::string_view(kDefaultFontId)); it != mFaces.end()) return it->second;
  if (mFallback == nullptr) {
    mFallback = cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }
  return mFallback;
}

}  // namespace igraphics
