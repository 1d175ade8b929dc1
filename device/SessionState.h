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

struct SessionState {
  // A valid identity block has been received; gates preset dumps, impulse-
  // response traffic and every stream.
  std::atomic<bool> connected{false};
  // While not connected, ask for the identity block every 33 ticks.
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

  // Global blocks (one bit per block type 0, 1, 2) received since the
  // session last connected. A block the editor sends replaces the pedal's
  // whole copy, so it goes out only once the pedal's own has arrived.
  std::atomic<unsigned> receivedBlocks{0};
  void MarkBlockReceived(unsigned type) { receivedBlocks.fetch_or(1u << type); }
  bool BlockReceived(unsigned type) const { return (receivedBlocks.load() >> type) & 1u; }

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
