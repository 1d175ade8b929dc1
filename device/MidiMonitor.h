#pragma once
// The MIDI monitor: every SysEx message crossing the cable in either
// direction, named by the editor's own recognition, for the Help menu's
// window and for bug reports.
//
// Recording: Record is called for each incoming message on the audio thread
// (before the receive handler acts on it) and for each outgoing one on the
// thread that sends it. It copies the message into a lock-free bounded ring
// and never waits; a full ring drops the message and counts it. While the
// monitor is off (its window closed) Record costs one relaxed atomic load.
//
// Reading: Drain, on the UI thread, turns what waits in the ring into
// entries: time since the monitor was switched on, direction, length, the
// message's name and its key fields.
//
// Saved text (FormatMonitorLog / ParseMonitorLog), UTF-8, one line each:
//   # KR7Control MIDI monitor
//   # dropped <n>
//   <seconds>.<milliseconds> TAB IN|OUT TAB <length> TAB <name> TAB <fields>
// Fields never hold a tab or a line break; parsing the text gives back the
// entries it was written from.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/MessagePump.h"
#include "device/Messages.h"
#include "device/MpscRing.h"

namespace kr7 {

enum class MonitorDirection : std::uint8_t { In, Out };

struct MonitorEntry {
  std::int64_t milliseconds = 0;  // since the monitor was switched on
  MonitorDirection direction = MonitorDirection::In;
  std::size_t length = 0;  // bytes, F0 and F7 included
  std::string name;
  std::string fields;
  friend bool operator==(const MonitorEntry&, const MonitorEntry&) = default;
};

struct MonitorLog {
  std::vector<MonitorEntry> entries;
  std::uint64_t dropped = 0;
  friend bool operator==(const MonitorLog&, const MonitorLog&) = default;
};

// Messages waiting between two drains; the 20 ms drain of a full handshake
// or fetch needs far fewer.
inline constexpr std::size_t kMonitorRingCapacity = 256;
// The largest message kept whole; the editor neither sends nor takes longer.
inline constexpr std::size_t kMonitorMaxMessage = kMaxSysExSize;

// What the editor makes of one message: incoming ones through the receive
// rules (with the connection state at arrival), outgoing ones through the
// strict reading of editor messages.
MonitorEntry DescribeMessage(MonitorDirection direction, ByteSpan message,
                             const RecognitionContext& context);

// "<seconds>.<milliseconds>", as the saved text writes a time.
std::string FormatMonitorTime(std::int64_t milliseconds);
std::string FormatMonitorLog(const MonitorLog& log);
// nullopt when text is not a monitor log.
std::optional<MonitorLog> ParseMonitorLog(std::string_view text);

class MidiMonitor {
 public:
  MidiMonitor();

  // UI thread. Switching on restarts the clock and the drop count.
  void SetEnabled(bool enabled);
  bool Enabled() const { return mEnabled.load(std::memory_order_relaxed); }

  // Any thread; does nothing while off.
  void Record(MonitorDirection direction, ByteSpan message, const RecognitionContext& context);

  // UI thread: the entries recorded since the last drain, oldest first.
  std::vector<MonitorEntry> Drain();
  std::uint64_t Dropped() const { return mDropped.load(std::memory_order_relaxed); }

 private:
  struct Captured {
    std::int64_t milliseconds;
    MonitorDirection direction;
    RecognitionContext context;
    std::size_t length;  // may exceed kept when the message was longer
    std::array<std::uint8_t, kMonitorMaxMessage> bytes;
  };

  std::atomic<bool> mEnabled{false};
  std::atomic<std::uint64_t> mDropped{0};
  std::atomic<std::chrono::steady_clock::rep> mStart{0};
  std::unique_ptr<MpscRing<Captured, kMonitorRingCapacity>> mRing;
};

}  // namespace kr7
