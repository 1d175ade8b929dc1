#pragma once
// The virtual pedal inside the editor: offered as the MIDI port "KR7 Virtual
// Pedal (built in)" so presets can be made without the hardware, a sound
// card or a MIDI server. It behaves like a cable, not a function call: what
// the editor sends is queued and taken by the pedal's own thread, and the
// replies come back on that thread after the time a USB MIDI link would take,
// through the same door as a port's input (MessagePump::OnMidiInput), so the
// session, streams and pump cannot tell it from a real port.
//
// Its state lives in a folder of its own (pedal/StateStore.h: every file is
// written whole and renamed into place) and is saved on the pedal's thread
// after every change, so offline work is there at the next start. A new
// folder starts from the factory bank handed in. The identity block always
// carries the serial "VIRTUAL".
//
// Threads: constructed and destroyed on the UI thread (the pedal's thread
// starts last and is joined first). SendSysEx from any thread, without lock
// or allocation; SetListening from any thread.

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "device/MessagePump.h"
#include "device/MpscRing.h"
#include "device/SysExSender.h"
#include "pedal/StateStore.h"
#include "pedal/VirtualPedal.h"

namespace kr7::pedal {

// The link's pace: a fixed latency, then about 48 bytes a millisecond (USB
// MIDI at full speed), one message after the other.
inline constexpr std::chrono::microseconds kLinkLatency{1000};
inline constexpr int kLinkMicrosecondsPerKiloByte = 21000;
// How often the pedal's thread looks at the queues.
inline constexpr std::chrono::microseconds kLinkTick{500};
// Messages from the editor not yet taken by the pedal; the editor waits for
// an answer after a few at most, so a full queue means the pedal is stuck.
inline constexpr std::size_t kLinkQueueCapacity = 256;

// The pedal's state for a folder: the factory state with bank (a
// FactoryPresetWrite bank; empty or unusable keeps the deterministic one),
// then whatever the folder holds, then the built-in serial. *fresh tells
// whether the folder held nothing.
PedalState LoadBuiltInState(const std::string& folder, ByteSpan bank, bool* fresh = nullptr);

class BuiltInPedal final : public SysExSender {
 public:
  // Where the pedal's replies arrive: the editor's input side.
  using Inbox = std::function<void(ByteSpan)>;

  BuiltInPedal(const std::string& stateFolder, ByteSpan factoryBank, Inbox inbox);
  ~BuiltInPedal() override;
  BuiltInPedal(const BuiltInPedal&) = delete;
  BuiltInPedal& operator=(const BuiltInPedal&) = delete;

  // The editor's output side. False only when the queue is full.
  bool SendSysEx(std::span<const std::uint8_t> message) override;
  // Whether replies reach the inbox (the editor's input is this port);
  // replies meanwhile are lost, as on an unplugged cable.
  void SetListening(bool listening) { mListening.store(listening); }

  // The pedal itself, for its own actions (a knob turned at the pedal).
  VirtualPedal& Pedal() { return mPedal; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Reply {
    Clock::time_point due;
    Bytes bytes;
  };

  void Run(const std::stop_token& stop);
  void TakeFromEditor();
  void Post(ByteSpan reply);
  void DeliverDue();

  StateStore mStore;
  bool mFresh = false;  // before mPedal, whose state sets it
  VirtualPedal mPedal;
  Inbox mInbox;
  std::atomic<bool> mListening{false};
  MpscRing<SysExItem, kLinkQueueCapacity> mFromEditor;
  std::mutex mRepliesMutex;
  std::deque<Reply> mReplies;      // guarded by mRepliesMutex
  Clock::time_point mLinkFreeAt;   // guarded by mRepliesMutex
  std::jthread mThread;
};

}  // namespace kr7::pedal
