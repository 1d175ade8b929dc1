#include "editor/IrStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/FileIO.h"
#include "model/UserTexts.h"

namespace kr7 {

namespace {

constexpr int kMaxIrValue = 127;
// Positions are tenths: 8 cabinets over the knob's 127 steps.
constexpr float kPositionTenths = 80.0f;
constexpr float kTenth = 10.0f;
constexpr int kSlotBankSize = 128;
constexpr int kUserCacheSlots = kFactoryIrSlotBase;  // user files 1..384

bool ValidFactory(int k) { return k >= 0 && k < kFactoryIrCount; }
bool ValidUser(int n) { return n >= 0 && n < kUserCacheSlots; }

void SetUnitImpulse(IrDisplayBuffer& buffer) {
  buffer.fill(0.0);
  buffer[0] = 1.0;
}

// The first 36 bytes of a cache file (kind, gain, name); nullopt when the
// file is missing or shorter.
std::optional<std::string> ReadNameField(const std::string& path) {
  FileReader reader(path);
  if (!reader.IsOpen()) return std::nullopt;
  std::array<std::uint8_t, kIrSamplesOffset> head{};
  if (reader.Read(head.data(), static_cast<std::ptrdiff_t>(head.size())) !=
      static_cast<std::ptrdiff_t>(head.size())) {
    return std::nullopt;
  }
  return TrimIrName(IrImageNameField(head));
}

}  // namespace

std::string EmptySlotText(int n) {
  char text[32];
  std::snprintf(text, sizeof text, kEmptySlotFormat.data(), n % kUserIrBankSize + 1);
  return text;
}

IrStore::IrStore(const DataFolder& folder) : IrStore(folder.FactoryIrs(), folder.UserIrs()) {}

IrStore::IrStore(std::string factoryFolder, std::string userFolder)
    : mFactoryFolder(std::move(factoryFolder)), mUserFolder(std::move(userFolder)) {
  for (int i = 0; i < kNumCabinets; ++i) mCabinetNames[i] = std::string(kCabinetNames[i]);
}

std::string IrStore::CacheFileName(int fileNumber) {
  char name[32];
  std::snprintf(name, sizeof name, "%03d.dat", fileNumber);
  return name;
}

std::string IrStore::FactoryIrPath(int k) const {
  return JoinPath(mFactoryFolder, CacheFileName(k + 1));
}

std::string IrStore::UserIrPath(int n) const { return JoinPath(mUserFolder, CacheFileName(n + 1)); }

std::string IrStore::FactoryWavPath(int k) const {
  return ValidFactory(k) ? JoinPath(mFactoryFolder, kFactoryWavNames[k]) : std::string();
}

std::string IrStore::SlotPath(int slot) const {
  if (ValidUser(slot)) return UserIrPath(slot);
  if (ValidFactory(slot - kFactoryIrSlotBase)) return FactoryIrPath(slot % kSlotBankSize);
  return {};
}

bool IrStore::FactoryIrPresent(int k) const {
  return ValidFactory(k) && FileReader(FactoryIrPath(k)).IsOpen();
}

bool IrStore::UserIrPresent(int n) const { return ValidUser(n) && FileReader(UserIrPath(n)).IsOpen(); }

bool IrStore::LoadImageFile(const std::string& path, IrDisplayBuffer& buffer) const {
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() != kIrImageSize) return false;
  IrImage image{};
  if (reader.Read(image.data(), static_cast<std::ptrdiff_t>(image.size())) !=
      static_cast<std::ptrdiff_t>(image.size())) {
    return false;
  }
  LoadIrImageSamples(image, buffer);
  return true;
}

bool IrStore::LoadFactoryIr(int k, IrDisplayBuffer& buffer) const {
  return ValidFactory(k) && LoadImageFile(FactoryIrPath(k), buffer);
}

bool IrStore::LoadUserIr(int n, IrDisplayBuffer& buffer) const {
  return ValidUser(n) && LoadImageFile(UserIrPath(n), buffer);
}

bool IrStore::LoadFactoryIrName(int k) {
  if (!ValidFactory(k)) return false;
  std::optional<std::string> name = ReadNameField(FactoryIrPath(k));
  if (!name) return false;
  std::lock_guard lock(mNamesMutex);
  mCabinetNames[k + 1] = std::move(*name);
  return true;
}

std::string IrStore::LoadUserIrName(int n) {
  if (!IsUserIrNumber(n)) return {};
  std::optional<std::string> name = ReadNameField(UserIrPath(n));
  if (!name) name = EmptySlotText(n);
  std::lock_guard lock(mNamesMutex);
  mUserIrNames[n] = *name;
  return *name;
}

void IrStore::LoadAllNames() {
  for (int k = 0; k < kFactoryIrCount; ++k) {
    if (FactoryIrPresent(k)) LoadFactoryIrName(k);
  }
  for (int n = 0; n < kUserIrCount; ++n) LoadUserIrName(n);
}

std::string IrStore::CabinetName(int position) const {
  if (position < 0 || position >= kNumCabinets) return {};
  std::lock_guard lock(mNamesMutex);
  return mCabinetNames[position];
}

std::string IrStore::UserIrName(int n) const {
  if (!IsUserIrNumber(n)) return {};
  std::lock_guard lock(mNamesMutex);
  return mUserIrNames[n];
}

void IrStore::SetUserIrName(int n, std::string_view name) {
  if (!IsUserIrNumber(n)) return;
  std::lock_guard lock(mNamesMutex);
  mUserIrNames[n] = std::string(name.substr(0, std::min(name.size(), kIrNameSize)));
}

std::string IrStore::SourceName(bool sourceB) const {
  std::lock_guard lock(mNamesMutex);
  return mSourceNames[sourceB ? 1 : 0];
}

void IrStore::SetSourceName(bool sourceB, std::string_view name) {
  std::lock_guard lock(mNamesMutex);
  mSourceNames[sourceB ? 1 : 0] = std::string(name.substr(0, std::min(name.size(), kIrNameSize)));
}

bool IrStore::WriteImage(int slot, std::span<const std::uint8_t> image) {
  const std::string path = SlotPath(slot);
  if (path.empty() || image.size() != kIrImageSize) return false;
  const bool factory = slot >= kFactoryIrSlotBase;
  if (!CreateFolder(factory ? mFactoryFolder : mUserFolder)) return false;
  return WriteFileAtomically(path, image.data(), image.size());
}

bool IrStore::StoreReceivedIr(int slot, std::span<const std::uint8_t> image) {
  if (!WriteImage(slot, image)) return false;
  if (slot >= kFactoryIrSlotBase) LoadFactoryIrName(slot % kSlotBankSize);
  return true;
}

bool IrStore::StoreIrImage(int slot, const IrImage& image) { return WriteImage(slot, image); }

int IrStore::ExtractFactoryWavs(const FactoryWavProvider& provider) {
  int written = 0;
  for (int k = 0; k < kFactoryIrCount; ++k) {
    const std::string path = FactoryWavPath(k);
    if (FileReader(path).IsOpen()) continue;
    const std::optional<std::span<const std::uint8_t>> bytes =
        provider ? provider(kFirstFactoryWavResource + k) : std::nullopt;
    if (!bytes || !CreateFolder(mFactoryFolder)) continue;
    if (WriteFileAtomically(path, bytes->data(), bytes->size())) ++written;
  }
  return written;
}

void IrStore::LoadPosition(int position, const IrSelection& selection,
                           IrDisplayBuffer& buffer) const {
  if (position <= kFlatPosition || position > kLastCabinetPosition) return;
  const bool userA = position == kCabinetPositionA && selection.irModeA != 0;
  const bool userB = position == kCabinetPositionB && selection.irModeB != 0;
  if (userA || userB) {
    LoadUserIr(userA ? selection.userSlotA : selection.userSlotB, buffer);
    return;
  }
  const int k = position - 1;
  if (LoadFactoryIr(k, buffer)) return;
  ReadWavFile(FactoryWavPath(k), buffer);
}

void IrStore::RefreshDisplay(int v, const IrSelection& selection, IrDisplayBuffer& buffer) const {
  v = std::clamp(v, 0, kMaxIrValue);
  const float x = std::floor(static_cast<float>(v) / kMaxIrValue * kPositionTenths) / kTenth;
  const int lo = static_cast<int>(std::floor(x));
  const int hi = static_cast<int>(std::ceil(x));
  SetUnitImpulse(buffer);
  if (x <= 0.0f) return;
  LoadPosition(lo, selection, buffer);
  if (hi == lo) return;
  const IrDisplayBuffer a = buffer;
  LoadPosition(hi, selection, buffer);
  const double weightA = static_cast<float>(hi) - x;
  const double weightB = x - static_cast<float>(lo);
  for (int i = 0; i < kIrDisplaySize; ++i) buffer[i] = weightA * a[i] + weightB * buffer[i];
}

}  // namespace kr7
