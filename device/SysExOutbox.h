#pragma once
// The editor's one output: every unit sends through it, and the shell points
// it at the MIDI output port (or nothing) whenever the port changes. Sending
// while it points nowhere sends nothing. While the MIDI monitor is open each
// message is recorded before it goes, so a reply never shows up ahead of its
// request.

#include <atomic>

#include "device/MidiMonitor.h"
#include "device/SysExSender.h"

namespace kr7 {

class SysExOutbox final : public SysExSender {
 public:
  // UI thread; the port must stay alive until it is replaced.
  void SetTarget(SysExSender* target) { mTarget.store(target); }
  // UI thread, before the audio stream starts.
  void SetMonitor(MidiMonitor* monitor) { mMonitor = monitor; }

  bool SendSysEx(std::span<const std::uint8_t> message) override {
    if (mMonitor != nullptr && mMonitor->Enabled()) {
      mMonitor->Record(MonitorDirection::Out, message, {});
    }
    SysExSender* target = mTarget.load();
    return target != nullptr && target->SendSysEx(message);
  }

 private:
  std::atomic<SysExSender*> mTarget{nullptr};
  MidiMonitor* mMonitor = nullptr;
};

}  // namespace kr7
