#pragma once
// The impulse-response cache files as far as the device session needs them:
// whether a user impulse response is present, and where its file lies. A
// thin view of the impulse-response store (editor/IrStore.h), which owns the
// folders and the files.
//
// A cache file of any size but 2436 bytes counts as absent, so the session
// asks the pedal for it again. Any thread.

#include <string>

#include "editor/IrFlows.h"
#include "device/SessionHooks.h"

namespace kr7 {

class FileIrStore final : public IrStoreQuery {
 public:
  explicit FileIrStore(const IrFlows& irs) : mIrs(irs) {}

  bool HasUserIr(int slot) const override { return mIrs.HasWholeUserIr(slot); }
  // Path of the cache file of transfer slot; empty when slot names no file.
  std::string PathOf(int slot) const { return mIrs.Store().SlotPath(slot); }

 private:
  const IrFlows& mIrs;
};

}  // namespace kr7
