#pragma once
// The application object and the virtual pedal in one process: the editor's
// sends go straight into the pedal; the pedal's replies wait until Deliver
// hands them to the receive handler, as the audio thread would between
// device ticks. Single-threaded: tests and benchmarks drive every step.

#include <deque>

#include "app/core/KR7Control.h"
#include "pedal/VirtualPedal.h"

namespace kr7::test {

class PedalLoopback final : public SysExSender {
 public:
  PedalLoopback(KR7Control& control, pedal::VirtualPedal& pedal) : mControl(control), mPedal(pedal) {
    mPedal.SetReplySink([this](ByteSpan reply) { mInbox.emplace_back(reply.begin(), reply.end()); });
    mControl.SetSysExSender(this);
  }
  ~PedalLoopback() override { mControl.SetSysExSender(nullptr); }
  PedalLoopback(const PedalLoopback&) = delete;
  PedalLoopback& operator=(const PedalLoopback&) = delete;

  bool SendSysEx(std::span<const std::uint8_t> message) override {
    mPedal.Receive(message);
    return true;
  }

  // Hands every waiting reply to the editor, including those its own
  // reactions cause.
  void Deliver() {
    while (DeliverOne()) {
    }
  }
  // Hands the oldest waiting reply to the editor; false when none waits.
  bool DeliverOne() {
    if (mInbox.empty()) return false;
    const Bytes message = std::move(mInbox.front());
    mInbox.pop_front();
    mControl.OnSysEx(message);
    return true;
  }

 private:
  KR7Control& mControl;
  pedal::VirtualPedal& mPedal;
  std::deque<Bytes> mInbox;
};

}  // namespace kr7::test
