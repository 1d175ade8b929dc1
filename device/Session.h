#pragma once
// The running conversation with the pedal: finding it, checking its version,
// bringing the preset cache up to date, loading its settings and active
// preset, and following what it reports afterwards.
//
// Two entry points drive it. Tick() is the 100 ms device timer on the UI
// thread: it polls for the pedal, starts the fetch of stale presets and gives
// the stream branches their turn. OnMessage() is the session part of the
// receive handler on the audio thread: it reacts to identity, checksum and
// settings blocks, preset dumps, names, impulse-response dumps and the short
// replies, and may send the next request at once. The two share SessionState.
//
// A normal start: as soon as the ports are open GlobalRequest 15 (again every
// 33 ticks while unanswered) -> identity block ->
// GlobalRequest 3 -> checksums -> (BulkBegin, one PresetRequest per stale
// slot, one per reply) -> GlobalRequest 0 -> settings block -> BulkEnd and
// PresetRequest for the active slot -> preset dump -> missing user IRs.

#include <atomic>
#include <cstdint>
#include <span>
#include <string>

#include "device/Checksums.h"
#include "device/MessagePump.h"
#include "device/MidiMonitor.h"
#include "device/Messages.h"
#include "device/Packing.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "model/ControlTags.h"
#include "model/PresetCache.h"
#include "model/UserTexts.h"

namespace kr7 {

// Ticks without an identity reply before the request is repeated (3.3 s).
inline constexpr int kPollTicks = 33;
// Ticks after which an unanswered PresetRequest hides the progress overlay.
inline constexpr int kPresetReplyTicks = 10;
// An unanswered request for the preset checksums or the settings is repeated
// after kPresetReplyTicks, this many times; then the pedal counts as gone and
// the session starts over as RECONNECT does.
inline constexpr int kBlockRequestRepeats = 3;
// Times a fetched slot whose dump is lost or spoiled is asked for again, one
// per tick at most; then the fetch leaves its cache file and goes on.
inline constexpr int kFetchRepeats = 3;
// Ticks a write stream or an impulse-response upload waits for the pedal's
// reply before it ends with "Communication error!" (the pedal writes flash).
inline constexpr int kStreamReplyTicks = 30;
// The editor's own version (the format byte it sends); a pedal below 1.0 is
// told to upgrade to it.
inline constexpr int kEditorVersion = 12;
// The impulse-response dump buffer. A dump announcing more unpacked bytes is
// refused before anything is unpacked.
inline constexpr std::size_t kIrDumpBufferSize = 4096;
inline constexpr int kIrNamesPagesPerBank = 4;

// Writes the slot's cache file on the UI thread, from a copy of payload.
void WriteCacheFileOnUiThread(WindowLink& window, PresetCache& cache, int slot,
                              std::span<const std::uint8_t> payload);

class Session final : public SysExReceiver {
 public:
  Session(SessionState& state, PresetCache& cache, SessionRoles roles);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Replaces the stream branches (the default runs none; nullptr restores
  // it). The hooks must outlive the session or be replaced before they go,
  // and are best set before the audio stream starts.
  void SetStreamHooks(StreamHooks* hooks);
  // Where every incoming message is recorded while the monitor is open; set
  // before the audio stream starts.
  void SetMonitor(MidiMonitor* monitor) { mMonitor = monitor; }

  // UI thread, every 100 ms.
  void Tick();
  // Audio thread: one complete incoming message.
  void OnMessage(std::span<const std::uint8_t> message);
  // The message pump's receive handler is the session's.
  void OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> message) override {
    OnMessage(message);
  }
  // The next message waits while file work it would add to is held back.
  bool ReadyForMessage() override { return mRoles.window.HandOverHeldWork(); }

  // UI thread: the RECONNECT button.
  void Reconnect();
  // UI thread: the same, with the identity request sent now rather than at
  // the next tick (the ports have just opened).
  void ReconnectNow();
  // UI thread: the global settings page opens / closes.
  void OpenGlobalSettings();
  void CloseGlobalSettings();
  // UI thread: the window closes.
  void OnWindowClosing();
  // UI thread: the 20 ms idle step, where the transfers ask their questions.
  void IdleStep();

  // Sends PresetRequest and starts waiting for its dump (either thread).
  void RequestPreset(int slot);

 private:
  void Send(const Bytes& message) { mRoles.sender.SendSysEx(message); }
  StreamHooks& Streams() const { return *mStreams.load(); }
  void StartFetch();
  // Asks for the fetch slot again, or gives it up once asked often enough.
  void RetryFetchSlot();
  // Asks for the lowest slot still stale, or ends the fetch.
  void AdvanceFetch();
  void FinishFetch();
  // Sends GlobalRequest for a block the conversation cannot go on without,
  // and starts waiting for it (either thread).
  void RequestBlock(std::uint8_t type);
  void SendBlockRequest(int type);
  void RepeatOverdueBlockRequest();
  // Every loss of the connection: forgets the per-connection state and ends
  // every transfer; the polling flag and the device lines are left as they
  // are. UI thread.
  void Disconnect();
  // The device lines and controls of a session looking for its pedal.
  void ShowConnecting();

  void OnPresetDump(const PresetDump& dump, std::span<const std::uint8_t> message);
  void OnFetchedDump(const PresetDump& dump);
  void OnActiveDump(const PresetDump& dump);
  void RequestMissingUserIrs();
  // Sends IrRequest and starts waiting for the dump (either thread).
  void RequestIr(int slot);
  // The waits of the smaller requests (UI thread): each overdue request is
  // asked again, up to kBlockRequestRepeats times, then given up with
  // "Communication error!" while the session goes on.
  void WatchReplies();
  void Watch(ReplyWait& wait, Bytes (*request)(int));
  void WatchIrSelection();
  void WatchSave();
  void GiveUp();
  void OnIdentity(const GlobalBlock& block);
  void OnConnectedBlock(const GlobalBlock& block);
  void OnIrNames(const IrNames& names);
  void OnParameterReport(const ParameterReport& report);
  void OnIrDump(const IrDumpPart& part, std::span<const std::uint8_t> message);
  void OnShortReply(const ShortReply& reply, std::span<const std::uint8_t> message);
  void OnIrSelectAck();
  void OnIrStoredAck();

  SessionState& mState;
  PresetCache& mCache;
  SessionRoles mRoles;
  StreamHooks mNoStreams;
  std::atomic<StreamHooks*> mStreams{&mNoStreams};
  MidiMonitor* mMonitor = nullptr;

  // Impulse-response dump in progress; audio thread only.
  StreamUnpacker mIrUnpacker{kIrDumpBufferSize};
  StreamChecksum mIrChecksum;
  bool mIrDumpActive = false;
  int mIrDumpSlot = 0;
  std::size_t mIrDumpExpected = 0;  // unpacked bytes the dump announced
  bool mIrDumpBroken = false;       // too big or overflowed: End asks again
  int mIrRetrySlot = -1;            // the slot asked for once more, or -1

  // UI thread: the IrSelectAck wait and the save procedure's wait.
  int mSelectionTicks = 0;
  int mSelectionRepeats = 0;
  int mSaveTicks = 0;
};

}  // namespace kr7
