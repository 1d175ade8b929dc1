#pragma once
// The impulse-response cache files as far as the device session needs them:
// whether a user impulse response is present. (Storing and loading them is
// the impulse-response store's business.)
//
// File layout: <data>/User IRs/NNN.dat for user IR n (NNN = "%03d" of n + 1)
// and <data>/Factory IRs/NNN.dat for factory IR k (transfer slot 384 + k,
// NNN from k + 1); each file is one 2436-byte image (kind, gain, 32-byte
// name, 1200 samples). A file of any other size counts as absent.
//
// Stateless apart from the folder, so any thread may call it.

#include <string>
#include <utility>

#include "device/SessionHooks.h"
#include "model/DataFolder.h"

namespace kr7 {

inline constexpr int kNumUserIrs = 288;
inline constexpr int kFirstFactoryIrSlot = 384;
inline constexpr int kNumFactoryIrs = 8;

class FileIrStore final : public IrStoreQuery {
 public:
  explicit FileIrStore(DataFolder folder) : mFolder(std::move(folder)) {}

  bool HasUserIr(int slot) const override;
  // Path of the cache file of transfer slot; empty when slot names no file.
  std::string PathOf(int slot) const;

 private:
  DataFolder mFolder;
};

}  // namespace kr7
