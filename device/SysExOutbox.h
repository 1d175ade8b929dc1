#pragma once
// The editor's one output: every unit sends through it, and the shell points
// it at the MIDI output port (or nothing) whenever the port changes. Sending
// while it points nowhere sends nothing.

#include <atomic>

#include "device/SysExSender.h"

namespace kr7 {

class SysExOutbox final : public SysExSender {
 public:
  // UI thread; the port must stay alive until it is replaced.
  void SetTarget(SysExSender* target) { mTarget.store(target); }

  bool SendSysEx(std::span<const std::uint8_t> message) override {
    SysExSender* target = mTarget.load();
    return target != nullptr && target->SendSysEx(message);
  }

 private:
  std::atomic<SysExSender*> mTarget{nullptr};
};

}  // namespace kr7
