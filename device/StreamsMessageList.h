#pragma once
// The message-list stream: a buffer of complete SysEx messages sent to the
// pedal one per device tick, most of them only after the pedal's reply to the
// one before (the factory bank and the bank import run on it).
//
// Lifecycle: Load (UI thread, while idle) -> Start -> the first Step sends
// BulkBegin and nothing else -> each further Step sends message `index` ->
// the reply advances the index and releases the next Step -> the last
// WriteOkAck completes the stream. ImportIrData messages are not answered by
// the pedal: the next one follows at the next tick.
//
// Threads: Load, Start, Step and Stop run on the UI thread; OnReply runs on
// the audio thread. The buffer and its message table are written only while
// the stream is idle and read only by Step; the two threads meet only in the
// atomic flags and the index. A reply is consumed only while one is awaited,
// so a stray or repeated reply never advances or completes anything.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "device/Packing.h"
#include "device/StreamsHost.h"

namespace kr7 {


enum class ListReply { WriteOk, WriteNext, WriteFail };

enum class ListReplyOutcome {
  Ignored,    // no reply was awaited: nothing changed
  Advanced,   // the next message may go at the next tick
  Completed,  // WriteOkAck for the last message
  Finished,   // WriteNextAck for the last message: ends without completion
  Failed,     // WriteFailAck: the owner retries or stops
};

class MessageListStream {
 public:
  // Longest message a list may hold; the longest an export writes is 269.
  static constexpr std::size_t kMaxMessageSize = 512;

  // Takes a buffer of messages back to back, each ending at its F7. Refuses
  // (returns false and keeps nothing) an empty buffer, one whose last byte
  // is not F7 and one holding a message longer than kMaxMessageSize, so no
  // message is ever cut or sent beyond its end. Only while not running.
  bool Load(Bytes buffer);
  // Number of messages (F7 bytes) in the loaded buffer.
  int Total() const { return mTotal.load(); }
  // Message i of the loaded buffer (i < Total()).
  ByteSpan Message(int i) const;
  // Byte 6 of every message starting at an F0, set to value (the factory
  // bank's version rewrite). Only while not running.
  void SetFormatBytes(std::uint8_t value);

  // Index 0, BulkBegin pending, ready. Nothing happens without a loaded list.
  void Start();
  // Ends the stream at once (abort); later replies are ignored.
  void Stop();
  bool Running() const { return mRunning.load(); }
  // Started, BulkBegin not sent yet.
  bool AtStart() const { return mRunning.load() && mBulkBeginPending.load(); }
  bool Ready() const { return mReady.load(); }
  int Index() const { return mIndex.load(); }

  struct Sent {
    bool bulkBegin = false;  // BulkBegin went out, no list message
    int index = 0;           // number of the message sent
  };
  // May rewrite a copy of the message before it is sent (the import's
  // command and checksum rewrite).
  using Rewrite = std::function<void(MutableByteSpan)>;
  // UI thread: when ready, sends BulkBegin (first step) or the next message.
  // nullopt when not ready (nothing sent).
  std::optional<Sent> Step(const StreamHost& host, const Rewrite& rewrite = {});

  // Audio thread: one of the pedal's write replies.
  ListReplyOutcome OnReply(ListReply reply);
  // UI thread, once per device tick: true, once, when the reply to the last
  // message has been awaited for more than `ticks` ticks. The stream is then
  // stopped and a late reply ignored; the owner tells the user.
  bool ReplyOverdue(int ticks);
  // After Failed: the same message goes again at the next tick.
  void Retry();

 private:
  Bytes mBuffer;
  std::vector<std::size_t> mEnds;  // one past each message's F7
  std::atomic<bool> mRunning{false};
  std::atomic<bool> mReady{false};
  std::atomic<bool> mBulkBeginPending{false};
  std::atomic<bool> mAwaiting{false};
  std::atomic<int> mIndex{0};
  std::atomic<int> mTotal{0};  // read by the reply side too
  int mWaitedTicks = 0;        // UI thread only
};

}  // namespace kr7
