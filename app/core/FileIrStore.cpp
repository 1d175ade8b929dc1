#include "app/core/FileIrStore.h"

#include <cstdio>

#include "model/FileIO.h"

namespace kr7 {

namespace {

std::string CacheFileName(int fileNumber) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.dat", fileNumber);
  return name;
}

bool IsUserSlot(int slot) { return slot >= 0 && slot < kNumUserIrs; }
bool IsFactorySlot(int slot) {
  return slot >= kFirstFactoryIrSlot && slot < kFirstFactoryIrSlot + kNumFactoryIrs;
}

}  // namespace

std::string FileIrStore::PathOf(int slot) const {
  if (IsUserSlot(slot)) return JoinPath(mFolder.UserIrs(), CacheFileName(slot + 1));
  if (IsFactorySlot(slot)) {
    return JoinPath(mFolder.FactoryIrs(), CacheFileName(slot - kFirstFactoryIrSlot + 1));
  }
  return {};
}

bool FileIrStore::HasUserIr(int slot) const {
  if (!IsUserSlot(slot)) return false;
  FileReader reader(PathOf(slot));
  return reader.IsOpen() && reader.Size() == kIrImageSize;
}

}  // namespace kr7
