#pragma once
// The road of a MIDI message between the threads of the editor, without any
// MIDI or audio library: the port layer feeds it, the audio stream (or the
// pump timer, or the input callback itself) drives it, the 20 ms UI timer
// drains it.
//
//   MIDI input thread  OnMidiInput ──► short ring (32), SysEx ring (4)
//   receive step       RunAudioStep: pops both, calls the SysEx receiver,
//                      forwards to the processor rings
//   UI thread          DrainProcessorMessages: empties the processor rings
//
// Every ring has one producer and one consumer; a full ring drops the newest
// item. Incoming device traffic is handled only while something drives the
// pump.
// A receiver that is not ready for the next SysEx (its file work waits for
// room) leaves it queued: the step ends there and the next driver retries.
//
// The receive step belongs to whichever driver holds the pump's token: the
// audio callback, the pump timer, or the input callback that has just queued
// a reply (so the next request leaves without waiting for an audio period).
// The token is taken with a try, never waited for; a driver that finds it
// taken skips its step, and the holder looks at the rings once more after
// giving it back, so nothing queued meanwhile waits for the next driver.
// Only one thread at a time is ever the rings' consumer, the receiver's
// caller and the processor rings' producer; the token orders each holder's
// work before the next one's.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "device/SpscRing.h"

namespace kr7 {

inline constexpr std::size_t kShortMessageQueueCapacity = 32;
inline constexpr std::size_t kSysExQueueCapacity = 4;
// Largest incoming message kept; longer ones are dropped whole, never cut.
inline constexpr std::size_t kMaxSysExSize = 512;
// Messages shorter than this are channel/system messages, the rest SysEx.
inline constexpr std::size_t kMinSysExSize = 4;
// The audio block is processed in steps of this many frames; the message pump
// runs once per step.
inline constexpr int kAudioStepFrames = 64;

struct ShortMessage {
  int offset = 0;  // frame offset within the audio step
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

struct SysExItem {
  int offset = 0;  // frame offset within the audio step
  int size = 0;    // valid bytes at the start of data
  std::array<std::uint8_t, kMaxSysExSize> data{};

  std::span<const std::uint8_t> Bytes() const {
    return {data.data(), static_cast<std::size_t>(size)};
  }
};

// The protocol side's receive handler. Called on the audio thread for every
// incoming SysEx of 4..512 bytes, in arrival order; it may send replies.
class SysExReceiver {
 public:
  virtual ~SysExReceiver() = default;
  virtual void OnSysExReceived(int offset, std::span<const std::uint8_t> message) = 0;
  // Asked before each message; false leaves it queued for the next step.
  virtual bool ReadyForMessage() { return true; }
};

class MessagePump {
 public:
  using ShortMessageCallback = std::function<void(const ShortMessage&)>;
  using SysExCallback = std::function<void(const SysExItem&)>;

  // Installed before the audio stream starts and cleared (nullptr) after it
  // stopped; without a receiver incoming SysEx is only forwarded.
  void SetSysExReceiver(SysExReceiver* receiver);

  // MIDI input thread: the port callback with one complete message.
  void OnMidiInput(std::span<const std::uint8_t> message);

  // Makes OnMidiInput run the receive step itself after queueing (off at
  // first). The shell turns it on once its drivers run; tests that fill the
  // rings before stepping leave it off.
  void SetReceiveOnInput(bool on);

  // Audio thread: one block of nFrames for nChannels non-interleaved output
  // buffers (null pointers are skipped). Runs the pump once per 64-frame step
  // (a shorter last step included) and writes silence. Returns the steps run.
  int ProcessAudio(float* const* outputs, int nChannels, int nFrames);
  // Any driver (audio thread, pump timer, input callback): the pump of one
  // step, without touching audio buffers. Skipped while another driver runs
  // it. Never blocks and never allocates.
  void RunAudioStep();
  // Audio blocks processed so far; the pump timer stands aside while this
  // keeps moving.
  std::uint64_t AudioBlocks() const { return mAudioBlocks.load(std::memory_order_relaxed); }

  // UI thread: queues a short message towards the audio thread. Returns false
  // when the queue is full.
  bool QueueEditorShortMessage(const ShortMessage& message);

  // UI thread, from the 20 ms timer: the messages the audio thread forwarded
  // (the editor has no use for those; they are emptied so the rings never
  // stay full). Empty callbacks are allowed.
  void DrainProcessorMessages(const ShortMessageCallback& onShortMessage = {},
                              const SysExCallback& onSysEx = {});

  // Where incoming SysEx messages the pump had to drop (queue full, too
  // long) are counted; set before the MIDI input starts. A transfer that
  // sees the count move knows one of its messages may be gone.
  void CountDropsIn(std::atomic<unsigned>* counter) { mDrops = counter; }

  // Any thread: from now on incoming MIDI is ignored.
  void SetShuttingDown();
  bool IsShuttingDown() const;

 private:
  void CountDrop() {
    if (mDrops != nullptr) mDrops->fetch_add(1);
  }
  // Puts one message into its ring (a full ring drops it, counted).
  void Queue(std::span<const std::uint8_t> message);
  // The step proper; only the token's holder runs it. False when the
  // receiver was not ready for a message still queued.
  bool Step();
  bool HasIncoming() const;

  std::atomic<bool> mShuttingDown{false};
  std::atomic<bool> mReceiveOnInput{false};
  std::atomic_flag mToken;  // set while a driver runs the step
  std::atomic<std::uint64_t> mAudioBlocks{0};
  std::atomic<SysExReceiver*> mReceiver{nullptr};
  std::atomic<unsigned>* mDrops = nullptr;

  SpscRing<ShortMessage, kShortMessageQueueCapacity> mShortFromPort;
  SpscRing<SysExItem, kSysExQueueCapacity> mSysExFromPort;
  SpscRing<ShortMessage, kShortMessageQueueCapacity> mShortFromProcessor;
  SpscRing<SysExItem, kSysExQueueCapacity> mSysExFromProcessor;
  SpscRing<ShortMessage, kShortMessageQueueCapacity> mShortFromEditor;
};

}  // namespace kr7
