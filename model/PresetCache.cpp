#include "model/PresetCache.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "model/FileIO.h"
#include "model/SystemFiles.h"

namespace kr7 {

namespace {

using Payload = std::array<std::uint8_t, kPresetPayloadSize>;

constexpr std::string_view kCacheExtension = ".dat";
constexpr unsigned kSevenBits = 0x7F;

// A slot file counts only when it holds exactly one payload; a truncated or
// padded file is as good as missing.
std::optional<Payload> ReadPayloadFile(const std::string& path) {
  FileReader reader;
  if (!reader.OpenRead(path) || reader.Size() != kPresetPayloadSize) {
    return std::nullopt;
  }
  Payload payload{};
  const auto wanted = static_cast<std::ptrdiff_t>(payload.size());
  if (reader.Read(payload.data(), wanted) != wanted) {
    return std::nullopt;
  }
  return payload;
}

// Names of the plain files in folder whose extension is exactly ".dat", in
// byte-wise order (the system's listing order is arbitrary on Linux).
std::vector<std::string> CacheFileNames(const std::string& folder) {
  std::vector<std::string> names;
  DirectoryScan scan;
  for (bool more = scan.First(folder); more; more = scan.Next()) {
    if (!scan.IsDirectory() && HasExactExtension(scan.Name(), kCacheExtension)) {
      names.push_back(scan.Name());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ListTextFor(int number, const std::optional<Payload>& payload) {
  return PresetCache::FormatListText(
      number, payload ? PresetCache::PayloadName(*payload) : std::string());
}

}  // namespace

PresetCache::PresetCache(DataFolder folder) : mFolder(std::move(folder)) {
  // Slot 0 starts stale so that a fresh session always fetches something the
  // cache cannot yet vouch for.
  mStale[0] = true;
}

std::string PresetCache::SlotFileName(int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.dat", slot + 1);
  return name;
}

std::string PresetCache::SlotPath(int slot) const {
  return JoinPath(mFolder.Presets(), SlotFileName(slot));
}

PresetChecksum PresetCache::ComputeChecksum(std::span<const std::uint8_t> payload) {
  unsigned sum = 0;
  for (std::uint8_t byte : payload) {
    sum += byte;
  }
  return {static_cast<std::uint8_t>((sum >> 7) & kSevenBits),
          static_cast<std::uint8_t>(sum & kSevenBits)};
}

std::string PresetCache::PayloadName(std::span<const std::uint8_t> payload) {
  if (payload.size() < kPayloadNameOffset + kPayloadTextSize) {
    return {};
  }
  const auto field = payload.subspan(kPayloadNameOffset, kPayloadTextSize);
  const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return std::string(field.begin(), end);
}

std::string PresetCache::FormatListText(int number, std::string_view name) {
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, " %02d ", number);
  std::string text(prefix);
  text += name;
  return text;
}

void PresetCache::RebuildBySlot(int patchOffset) {
  const int first = patchOffset != 0 ? 1 : 0;
  std::array<std::string, kNumSlots> texts;
  std::array<PresetChecksum, kNumSlots> checksums{};
  for (int s = 0; s < kNumSlots; ++s) {
    const std::optional<Payload> payload = ReadPayloadFile(SlotPath(s));
    const auto index = static_cast<std::size_t>(s);
    texts[index] = ListTextFor(s + first, payload);
    // A missing file sums like 256 zero bytes: (0, 0).
    checksums[index] = payload ? ComputeChecksum(*payload) : PresetChecksum{};
  }
  const std::lock_guard lock(mMutex);
  mListTexts = std::move(texts);
  mChecksums = checksums;
}

PresetCache::DirectoryLoad PresetCache::LoadInDirectoryOrder(int patchOffset) {
  DirectoryLoad result;
  if (!FileReader(SlotPath(0)).IsOpen()) {
    CreateFolder(mFolder.Presets());
    return result;
  }
  const std::string folder = mFolder.Presets();
  const std::vector<std::string> names = CacheFileNames(folder);
  result.folderScanned = true;
  result.filesCounted = static_cast<int>(names.size());
  const std::size_t loaded = std::min<std::size_t>(names.size(), kNumSlots);
  std::vector<std::string> texts(loaded);
  for (std::size_t n = 0; n < loaded; ++n) {
    texts[n] = ListTextFor(static_cast<int>(n) + patchOffset,
                           ReadPayloadFile(JoinPath(folder, names[n])));
  }
  const std::lock_guard lock(mMutex);
  std::move(texts.begin(), texts.end(), mListTexts.begin());
  return result;
}

int PresetCache::CompareWithDevice(std::span<const std::uint8_t> deviceChecksums) {
  if (deviceChecksums.size() < kDeviceChecksumsSize) {
    return 0;
  }
  const std::lock_guard lock(mMutex);
  int staleCount = 0;
  for (std::size_t s = 0; s < kNumSlots; ++s) {
    const PresetChecksum device{deviceChecksums[2 * s], deviceChecksums[2 * s + 1]};
    mStale[s] = device != mChecksums[s];
    staleCount += mStale[s] ? 1 : 0;
  }
  return staleCount;
}

bool PresetCache::WriteSlotFile(int slot, std::span<const std::uint8_t> payload) const {
  if (!IsSlot(slot) || payload.size() != kPresetPayloadSize) return false;
  // The folder may have been removed behind our back since start-up.
  CreateFolder(mFolder.Presets());
  return WriteFileAtomically(SlotPath(slot), payload.data(), payload.size());
}

bool PresetCache::RecordFetched(int slot, std::span<const std::uint8_t> payload,
                                PresetChecksum checksum, int patchOffset) {
  if (!IsSlot(slot) || payload.size() != kPresetPayloadSize) {
    return false;
  }
  std::string text = FormatListText(slot + patchOffset, PayloadName(payload));
  const auto index = static_cast<std::size_t>(slot);
  const std::lock_guard lock(mMutex);
  mChecksums[index] = checksum;
  mStale[index] = false;
  mListTexts[index] = std::move(text);
  return true;
}

bool PresetCache::RecordSaved(int slot, std::span<const std::uint8_t> payload,
                              PresetChecksum checksum) {
  if (!IsSlot(slot) || payload.size() != kPresetPayloadSize) {
    return false;
  }
  const auto index = static_cast<std::size_t>(slot);
  const std::lock_guard lock(mMutex);
  mChecksums[index] = checksum;
  mStale[index] = false;
  return true;
}

int PresetCache::Clear() {
  int deleted = 0;
  for (const std::string& folder : {mFolder.Presets(), mFolder.UserIrs(), mFolder.FactoryIrs()}) {
    for (const std::string& name : CacheFileNames(folder)) {
      if (sys::RemoveFile(JoinPath(folder, name))) {
        ++deleted;
      }
    }
  }
  return deleted;
}

PresetChecksum PresetCache::Checksum(int slot) const {
  if (!IsSlot(slot)) {
    return {};
  }
  const std::lock_guard lock(mMutex);
  return mChecksums[static_cast<std::size_t>(slot)];
}

bool PresetCache::IsStale(int slot) const {
  if (!IsSlot(slot)) {
    return false;
  }
  const std::lock_guard lock(mMutex);
  return mStale[static_cast<std::size_t>(slot)];
}

void PresetCache::SetStale(int slot, bool stale) {
  if (!IsSlot(slot)) {
    return;
  }
  const std::lock_guard lock(mMutex);
  mStale[static_cast<std::size_t>(slot)] = stale;
}

int PresetCache::StaleCount() const {
  const std::lock_guard lock(mMutex);
  return static_cast<int>(std::count(mStale.begin(), mStale.end(), true));
}

int PresetCache::LowestStaleSlot() const {
  const std::lock_guard lock(mMutex);
  const auto it = std::find(mStale.begin(), mStale.end(), true);
  return it == mStale.end() ? -1 : static_cast<int>(it - mStale.begin());
}

std::string PresetCache::ListText(int slot) const {
  if (!IsSlot(slot)) {
    return {};
  }
  const std::lock_guard lock(mMutex);
  return mListTexts[static_cast<std::size_t>(slot)];
}

std::array<std::string, PresetCache::kNumSlots> PresetCache::ListTexts() const {
  const std::lock_guard lock(mMutex);
  return mListTexts;
}

void PresetCache::SetListText(int slot, std::string text) {
  if (!IsSlot(slot)) {
    return;
  }
  const std::lock_guard lock(mMutex);
  mListTexts[static_cast<std::size_t>(slot)] = std::move(text);
}

}  // namespace kr7
