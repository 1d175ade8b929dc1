#pragma once
// Export of the pedal's 128 presets and the user impulse responses they use
// into an all-presets file ("r3b"; layout in BankTransferImportCheck.h).
//
// Start (UI thread): save dialog in the data folder. Then one request per
// tick, each only after the answer to the one before: PresetRequest 0..127,
// then IrRequest for every user slot below 256 that some preset uses (IR
// mode of source A or B on, slot from the preset's MSB/LSB bytes), in
// ascending order, each once. The answers are collected as they arrive, each
// checked as the import will check it (block checksum; byte count and stream
// checksum of an impulse response; no incoming message dropped meanwhile),
// and a broken one is asked for again like a lost one. When the last is in,
// the whole file is checked as an import would check it, written to a
// temporary name and renamed into place, so a failed export never destroys
// an earlier backup, and "Finished successfully!" is shown. Not connected: the menu's export is
// refused with a message; a running one ends silently.
//
// Threads: Start and Step on the UI thread; OnMessage on the audio thread.
// Only the dump that was asked for is taken (a PresetDump of the requested
// slot, the parts of one requested impulse response), so a preset the user
// steps to on the pedal meanwhile does not end up in the file. The buffer is
// handed between the threads through the atomic request state.

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "device/Checksums.h"
#include "device/Messages.h"
#include "device/StreamsHost.h"

namespace kr7 {

struct SessionState;

inline constexpr std::string_view kBankFileDefaultName = "KR7_Presets_and_IRs";
// How often an unanswered request of the export is sent again.
inline constexpr int kExportRepeats = 3;

class BankExport {
 public:
  BankExport(SessionState& session, StreamHost host, std::string dataFolder);

  // UI thread: the menu command (save dialog).
  void Start();
  // Called on the UI thread when an export started with it ends: true when
  // the file was written, false when the pedal went away, the export was
  // aborted or the file could not be written. Such an export shows no
  // message of its own.
  using Completion = std::function<void(bool written)>;

  // UI thread: starts an export into path without a dialog.
  void StartTo(const std::string& path, Completion done = {});
  // UI thread: gives up a running export without writing anything.
  void Abort();
  // Answers taken so far (preset dumps and whole impulse responses); a
  // watcher sees a stalled export by it not moving. Either thread.
  int Answers() const { return mAnswers.load(); }

  // Tick step 7: true while export mode is on (the tick ends there). A
  // request unanswered for more than the fetch time-out is repeated, up to
  // kExportRepeats times; then the export ends with "Communication error!"
  // (or a false completion) and writes no file.
  bool Step(bool connected);
  // Audio thread: a PresetDump or impulse-response dump part in export mode.
  // Returns whether it was taken.
  bool OnMessage(ByteSpan message, const PedalMessage& recognised);
  bool Active() const { return mActive.load(); }
  // Started but nothing asked yet: the export may still wait for the
  // session's own requests, and takes no dump meanwhile. Either thread.
  bool AtStart() const { return mActive.load() && !mBegun.load(); }

 private:
  enum class Awaiting { Nothing, Preset, Ir };
  void Append(ByteSpan message);
  void MarkUsedIrs(ByteSpan dump);
  void OnPresetDump(ByteSpan message, const PresetDump& dump);
  void OnIrPart(ByteSpan message, const IrDumpPart& part);
  void Finish();
  void End(bool written);
  // Asks again for the answer awaited; broken: it came but failed a check.
  void RepeatRequest(bool broken);
  // The export ends with text (the user's export only) and writes nothing.
  void Fail(const std::string& text);
  // Receive side: the answer now taken failed a check.
  void Broken();
  // The message pump dropped an incoming message since the request went out.
  bool DropSeen() const;

  SessionState& mSession;
  StreamHost mHost;
  std::string mDataFolder;
  std::string mPath;  // UI thread only
  Completion mDone;   // UI thread only

  std::atomic<bool> mActive{false};
  std::atomic<bool> mReady{false};
  std::atomic<bool> mBegun{false};
  std::atomic<Awaiting> mAwaiting{Awaiting::Nothing};
  std::atomic<int> mAnswers{0};
  // Written by the side that holds the turn (the tick before a request, the
  // receive handler until it sets ready again).
  int mPresetCounter = 0;
  int mIrScan = 0;
  int mRequestedIr = 0;
  bool mIrStarted = false;
  bool mOverflow = false;
  // The impulse response being received: packed bytes announced and seen,
  // and their running sum.
  std::size_t mIrExpected = 0;
  std::size_t mIrPacked = 0;
  StreamChecksum mIrSum;
  // Set by the receive side: the next tick asks again.
  std::atomic<bool> mRetryNow{false};
  // The pump's drop count when the request now awaited went out.
  std::atomic<unsigned> mDropsAtRequest{0};
  std::array<bool, 256> mIrUsed{};
  // The answers so far; taken whole up front, so that the receive handler
  // never grows it. Guarded against a repeat dropping a late partial answer.
  std::mutex mBufferMutex;
  Bytes mBuffer;
  std::size_t mMark = 0;  // its size before the request now awaited
  int mWaitedTicks = 0;   // UI thread only
  int mRepeats = 0;       // UI thread only
};

}  // namespace kr7
