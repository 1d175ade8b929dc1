#include "device/MessagePump.h"

#include <algorithm>
#include <cstring>

namespace kr7 {

void MessagePump::SetSysExReceiver(SysExReceiver* receiver) {
  mReceiver.store(receiver, std::memory_order_release);
}

void MessagePump::OnMidiInput(std::span<const std::uint8_t> message) {
  if (message.empty() || IsShuttingDown()) {
    return;
  }
  Queue(message);
  if (mReceiveOnInput.load(std::memory_order_acquire)) {
    RunAudioStep();
  }
}

void MessagePump::Queue(std::span<const std::uint8_t> message) {
  if (message.size() < kMinSysExSize) {
    ShortMessage item;
    item.status = message[0];
    item.data1 = message.size() > 1 ? message[1] : 0;
    item.data2 = message.size() > 2 ? message[2] : 0;
    mShortFromPort.Push(item);
    return;
  }
  // A cut message would reach the receive handler as a different, shorter
  // message; dropping it whole is the only safe choice.
  if (message.size() > kMaxSysExSize) {
    CountDrop();
    return;
  }
  SysExItem item;
  item.size = static_cast<int>(message.size());
  std::memcpy(item.data.data(), message.data(), message.size());
  if (!mSysExFromPort.Push(item)) CountDrop();
}

void MessagePump::SetReceiveOnInput(bool on) {
  mReceiveOnInput.store(on, std::memory_order_release);
}

void MessagePump::RunAudioStep() {
  // The fences pair a queueing driver that finds the token taken with the
  // holder giving it back: either the holder's second look sees the new
  // item, or the queueing driver's try finds the token free.
  std::atomic_thread_fence(std::memory_order_seq_cst);
  while (!mToken.test_and_set(std::memory_order_acquire)) {
    const bool tookAll = Step();
    mToken.clear(std::memory_order_release);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    // What the receiver is not ready for waits for the next driver.
    if (!tookAll || !HasIncoming()) {
      return;
    }
  }
}

bool MessagePump::HasIncoming() const {
  return !mShortFromPort.Empty() || !mSysExFromPort.Empty() || !mShortFromEditor.Empty();
}

bool MessagePump::Step() {
  ShortMessage shortMessage;
  while (mShortFromPort.Pop(shortMessage)) {
    // The processor's short-message hook does nothing in this editor.
    mShortFromProcessor.Push(shortMessage);
  }
  while (mShortFromEditor.Pop(shortMessage)) {
    // Consumed by the same empty short-message hook.
  }
  SysExItem sysEx;
  for (;;) {
    SysExReceiver* receiver = mReceiver.load(std::memory_order_acquire);
    if (receiver != nullptr && !receiver->ReadyForMessage()) return false;
    if (!mSysExFromPort.Pop(sysEx)) return true;
    if (receiver != nullptr) receiver->OnSysExReceived(sysEx.offset, sysEx.Bytes());
    mSysExFromProcessor.Push(sysEx);
  }
}

int MessagePump::ProcessAudio(float* const* outputs, int nChannels, int nFrames) {
  mAudioBlocks.fetch_add(1, std::memory_order_relaxed);
  int steps = 0;
  for (int start = 0; start < nFrames; start += kAudioStepFrames, ++steps) {
    const int frames = std::min(kAudioStepFrames, nFrames - start);
    RunAudioStep();
    for (int channel = 0; channel < nChannels; ++channel) {
      if (outputs != nullptr && outputs[channel] != nullptr) {
        std::fill_n(outputs[channel] + start, frames, 0.0F);
      }
    }
  }
  return steps;
}

bool MessagePump::QueueEditorShortMessage(const ShortMessage& message) {
  return mShortFromEditor.Push(message);
}

void MessagePump::DrainProcessorMessages(const ShortMessageCallback& onShortMessage,
                                         const SysExCallback& onSysEx) {
  ShortMessage shortMessage;
  while (mShortFromProcessor.Pop(shortMessage)) {
    if (onShortMessage) {
      onShortMessage(shortMessage);
    }
  }
  SysExItem sysEx;
  while (mSysExFromProcessor.Pop(sysEx)) {
    if (onSysEx) {
      onSysEx(sysEx);
    }
  }
}

void MessagePump::SetShuttingDown() { mShuttingDown.store(true, std::memory_order_release); }

bool MessagePump::IsShuttingDown() const { return mShuttingDown.load(std::memory_order_acquire); }

}  // namespace kr7
