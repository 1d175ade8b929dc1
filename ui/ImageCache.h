#pragma once
// Decoded images by file name and target scale.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "ui/IBitmap.h"

namespace igraphics {

using ResourceProvider =
    std::function<std::optional<std::span<const std::uint8_t>>(std::string_view fileName)>;

// "name@2x.png" for ("name.png", 2); the plain name for scale 1 or below.
std::string ScaledFileName(std::string_view fileName, int scale);

// Image loads may come from any thread that prepares artwork, so the cache is
// guarded by a lock; the decoded surfaces are immutable once cached.
class ImageCache {
 public:
  struct Entry {
    // nullptr when no variant is an image; decoded when first drawn.
    std::shared_ptr<const LazySurface> Image;
    int Width = 0;  // pixels
    int Height = 0;
    int Scale = 1;  // scale of the variant that was found
  };

  // The entry for (fileName, targetScale): tries the @targetScale file, then
  // each lower scale down to the plain file, by the image headers; the
  // provider is asked again for the pixels when they are drawn. Misses are
  // cached as well.
  Entry Load(const ResourceProvider& provider, std::string_view fileName, int targetScale);
  std::size_t Size() const;

 private:
  mutable std::mutex mMutex;
  std::map<std::pair<std::string, int>, Entry> mEntries;
};

}  // namespace igraphics
