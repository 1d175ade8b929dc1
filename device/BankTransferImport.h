#pragma once
// Import of an all-presets file ("r3b") into the pedal.
//
// Start (UI thread): confirmation, open dialog, the file read whole and
// checked (CheckImportFile) — anything but a well-formed export is refused
// with "Unknown file format." before a byte is sent. Then, while connected,
// BulkBegin and every message of the file, rewritten for import (format byte
// 0x0C, Import* commands, recomputed IR stream checksums), one per tick;
// ImportIrData follows at once, every other message waits for its reply. A
// WriteFailAck aborts with "Communication error!". After the last WriteOkAck:
// BulkEnd, and at the next tick "Finished successfully!", the caches cleared
// and the session restarted so that every changed preset is fetched again.
// Without a connection the import is refused with a message, so it never
// waits behind the input shield for a pedal that is not there.

#include <atomic>
#include <string>
#include <string_view>

#include "device/ImportRewrite.h"
#include "device/StreamsMessageList.h"
#include "device/StreamsHost.h"
#include "model/UserTexts.h"

namespace kr7 {

class OverwriteGuard;
struct SessionState;

inline constexpr std::string_view kBankFileExtension = "r3b";

class BankImport {
 public:
  // A checked file is handed to guard before a byte is sent.
  BankImport(SessionState& session, StreamHost host, OverwriteGuard& guard);

  // UI thread: the menu command (confirmation and dialog).
  void Start();
  // UI thread: the same for a path already chosen (the command line): the
  // confirmation when ask, then the file. An empty path does nothing.
  void StartFile(const std::string& path, bool ask = true);
  // UI thread: the file part of Start. A file that cannot be opened or is
  // above the size limit is ignored silently (false); a malformed one is
  // refused with "Unknown file format.".
  bool LoadFile(const std::string& path);

  // Tick step 2: finishes an import whose last message was accepted.
  void CompletionStep();
  // Tick step 6: true when it took the tick (import mode on and connected).
  // A reply awaited for more than kStreamReplyTicks ends the import with
  // "Communication error!".
  bool Step(bool connected);
  // Stops a running import (RECONNECT); failed tells the user
  // "Communication error!". Either thread.
  void End(bool failed);
  // UI thread, the overlay's Cancel: stops the import; once part of the file
  // went to the pedal, its bulk mode ends and the session reads it again.
  void Cancel();
  // Audio thread. Returns whether the reply belonged to the import.
  bool OnReply(ListReply reply);
  bool Active() const { return mStream.Running(); }
  bool AtStart() const { return mStream.AtStart(); }

 private:
  bool Confirm();
  // Tells the user when there is no pedal; UI thread.
  bool Connected() const;
  // The pedal's presets changed: the caches go and the session starts over.
  void ReadPedalAgain();

  SessionState& mSession;
  StreamHost mHost;
  OverwriteGuard& mGuard;
  MessageListStream mStream;
  ImportRewriter mRewriter;  // UI thread only (the tick)
  std::atomic<bool> mFinished{false};
};

}  // namespace kr7
