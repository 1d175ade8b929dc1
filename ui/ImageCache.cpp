#include "ui/ImageCache.h"

#include <cstdio>

namespace igraphics {

std::string ScaledFileName(std::string_view fileName, int scale) {
  if (scale <= 1) return std::string(fileName);
  const auto dot = fileName.rfind('.');
  const std::string base(fileName.substr(0, dot));
  const std::string ext(dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "@%dx", scale);
  return base + buffer + ext;
}

ImageCache::Entry ImageCache::Load(const ResourceProvider& provider, std::string_view fileName, int targetScale) {
  const int target = std::max(1, targetScale);
  std::lock_guard lock(mMutex);
  auto key = std::make_pair(std::string(fileName), target);
  if (auto it = mEntries.find(key); it != mEntries.end()) return it->second;
  Entry entry;
  for (int scale = target; scale >= 1 && provider; --scale) {
    std::string name = ScaledFileName(fileName, scale);
    const auto data = provider(name);
    const std::optional<std::pair<int, int>> size = data ? ImageSize(*data) : std::nullopt;
    if (!size) continue;
    auto decode = [provider, name = std::move(name)]() -> SurfacePtr {
      const auto pixels = provider(name);
      return pixels ? DecodeImage(*pixels) : nullptr;
    };
    entry = {std::make_shared<const LazySurface>(std::move(decode)), size->first, size->second, scale};
    break;
  }
  mEntries.emplace(std::move(key), entry);
  return entry;
}

std::size_t ImageCache::Size() const {
  std::lock_guard lock(mMutex);
  return mEntries.size();
}

}  // namespace igraphics
