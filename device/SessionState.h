#pragma once
// The flags and counters of the running conversation with the pedal.
//
// They are shared by the device tick (UI thread, every 100 ms) and the
// receive handler (audio thread), which sets what the next tick acts on, and
// read by the parameter-change handling on either thread. Every field that
// both threads touch is atomic; the poll counter is the tick's alone.
//
// Whether a parameter change is sent back to the pedal is not session state:
// it belongs to the thread making the change (ApplyingScope).

#include <atomic>

namespace kr7 {

// A request whose reply the session waits for: the device tick asks again
// when it is overdue and gives it up with a message after a few repeats.
struct ReplyWait {
  std::atomic<int> asked{-1};  // the slot, page or block type asked for; -1: none
  std::atomic<int> ticks{0};
  std::atomic<int> repeats{0};
  // Before sending: the reply may be handled before the send returns.
  void Start(int what) {
    ticks.store(0);
    repeats.store(0);
    asked.store(what);
  }
  // True when what was awaited; the wait is over then.
  bool Answer(int what) { return asked.compare_exchange_strong(what, -1); }
};

struct SessionState {
  // A valid identity block has been received; gates preset dumps, impulse-
  // response traffic and every stream.
  std::atomic<bool> connected{false};
  // While not connected, ask for the identity block at once, then every 33
  // ticks.
  std::atomic<bool> polling{true};
  int pollCounter = 0;  // UI thread only
  // From the connection until the pedal's active preset is applied: a
  // preset file opened meanwhile would be replaced by it, and the editor's
  // values are not yet a preset that may be stored back.
  std::atomic<bool> activePresetPending{false};
  // Times the request for the active preset was repeated.
  std::atomic<int> activePresetRepeats{0};

  // Fetch of stale presets into the cache. fetchSlot -1: the next tick
  // starts the fetch.
  std::atomic<bool> fetching{false};
  std::atomic<int> fetchSlot{0};
  std::atomic<int> fetchTotal{0};
  std::atomic<int> fetchDone{0};
  // The fetch slot's dump failed its checksum: the next tick asks again.
  std::atomic<bool> fetchRetry{false};
  // Times the fetch slot was asked for again; slots given up in this fetch.
  std::atomic<int> fetchRepeats{0};
  std::atomic<int> fetchUnread{0};
  // The next stream tick sends BulkBegin and nothing else.
  std::atomic<bool> bulkBeginPending{false};

  // A PresetRequest is outstanding; ticks since it went out.
  std::atomic<bool> awaitingPreset{false};
  std::atomic<int> awaitingTicks{0};
  // Slot of the last PresetRequest.
  std::atomic<int> requestedSlot{0};

  // The block type of an outstanding GlobalRequest for the preset checksums
  // or the settings, or -1; ticks since it went out; times it was repeated.
  std::atomic<int> awaitingBlock{-1};
  std::atomic<int> awaitingBlockTicks{0};
  std::atomic<int> blockRepeats{0};

  // Slot of the preset shown, and the preset-list row drawn as current.
  std::atomic<int> currentPreset{0};
  std::atomic<int> highlightedSlot{0};
  // Slot of the last preset dump applied: the preset the editor's values
  // hold. A store started by applying a model or renaming goes there, even
  // while the display shows another slot (UP/DOWN held, SAVE armed).
  std::atomic<int> loadedPreset{0};

  // Ask at the next tick for the user impulse response of source A or B.
  std::atomic<bool> irRequest{false};
  std::atomic<bool> irSlotAFlag{false};
  std::atomic<bool> irSlotBFlag{false};
  std::atomic<int> irSlotA{0};
  std::atomic<int> irSlotB{0};
  // 53 or 55 while the second half of a two-part user-IR selection waits for
  // IrSelectAck; 54 or 56 once it was sent; 0 otherwise.
  std::atomic<int> irSelectionStep{0};

  // A DoneAck arrived; the tick reports it.
  std::atomic<bool> doneAck{false};

  // An impulse-response upload runs: from its start until the pedal stores
  // it, refuses it or falls silent. Another one is refused meanwhile.
  std::atomic<bool> irUploadBusy{false};

  // Waiting flags of a preset-file import that uploads user impulse
  // responses (first and second source).
  std::atomic<bool> presetFileFirstWaiting{false};
  std::atomic<bool> presetFileSecondWaiting{false};

  // The main page's save procedure waits for the stored preset's dump.
  std::atomic<bool> savePending{false};

  // A user impulse response (IrRequest slot), a page of impulse-response
  // names, the settings asked for by their page and a map asked for by its
  // MIDI page.
  ReplyWait irWait;
  ReplyWait irNamesWait;
  ReplyWait settingsWait;
  ReplyWait mapWait;

  // Global blocks (one bit per block type 0, 1, 2) received since the
  // session last connected. A block the editor sends replaces the pedal's
  // whole copy, so it goes out only once the pedal's own has arrived.
  std::atomic<unsigned> receivedBlocks{0};
  void MarkBlockReceived(unsigned type) { receivedBlocks.fetch_or(1u << type); }
  bool BlockReceived(unsigned type) const { return (receivedBlocks.load() >> type) & 1u; }

  // Incoming SysEx messages the message pump had to drop.
  std::atomic<unsigned> droppedIncoming{0};

  // A transfer ended the connection (the firmware verdict or its page
  // closed, a bank import done); the next device tick drops it through the
  // session, the one place that loses a connection.
  std::atomic<bool> dropRequested{false};

  // The session's own requests are out (checksums, fetch, settings, the
  // active preset, a user impulse response): their replies are the dumps a
  // bank stream would take, so a stream waits to begin until they are
  // answered or given up.
  bool HandshakeRunning() const {
    return fetching.load() || awaitingBlock.load() >= 0 || awaitingPreset.load() ||
           irWait.asked.load() >= 0;
  }

  // Forgets whatever the last connection left half-way, so that nothing of
  // it is taken for the next one.
  void ForgetConnection() {
    fetching.store(false);
    fetchSlot.store(0);
    fetchRetry.store(false);
    bulkBeginPending.store(false);
    awaitingPreset.store(false);
    awaitingBlock.store(-1);
    blockRepeats.store(0);
    activePresetPending.store(false);
    activePresetRepeats.store(0);
    irRequest.store(false);
    irSelectionStep.store(0);
    savePending.store(false);
    for (ReplyWait* wait : {&irWait, &irNamesWait, &settingsWait, &mapWait}) wait->asked.store(-1);
    receivedBlocks.store(0);
  }

  // A PresetStore of the editor's values may go out: they hold the loaded
  // preset, and no fetch would take its reply for one of its own.
  bool MayStorePreset() const {
    return connected.load() && !activePresetPending.load() && !fetching.load();
  }
};

// Device or file data is being applied on this thread while one lives: the
// parameter changes it makes are not sent back to the pedal and select no
// block. Kept per thread, so that a dump decoded on the audio thread never
// silences an edit made meanwhile on the UI thread, nor a file applied on
// the UI thread lets the decode echo the pedal's own values. Nests.
class ApplyingScope {
 public:
  ApplyingScope() { ++tDepth; }
  ~ApplyingScope() { --tDepth; }
  ApplyingScope(const ApplyingScope&) = delete;
  ApplyingScope& operator=(const ApplyingScope&) = delete;

  static bool Active() { return tDepth > 0; }

 private:
  static inline thread_local int tDepth = 0;
};

}  // namespace kr7
