#pragma once
// Factory presets update: writes the factory bank carried by the program
// (128 FactoryPresetWrite messages, 34176 bytes) into the pedal, then resets
// its presets to that bank.
//
// Start (UI thread): "Warning" confirmation; the bank is taken from the
// provider; a bank whose format byte (byte 6) is not 12 asks again and, on
// OK, is sent with 12 in every message. Then BulkBegin and the 128 messages
// run on the message-list stream, one per reply; a WriteFailAck repeats the
// same message, up to kWriteRepeats times (a pedal that refuses every write,
// e.g. with its presets protected, would loop for ever), then the stream
// ends with "Communication error!". After the last WriteOkAck the next tick sends BulkEnd, hides
// the overlay, clears the caches and sends FactoryReset 1. The stream does
// not need the connected flag.
//
// The three factory-reset buttons of the global settings page live here too.

#include <atomic>
#include <functional>
#include <optional>
#include <string_view>

#include "device/Packing.h"
#include "device/StreamsMessageList.h"
#include "device/StreamsHost.h"
#include "model/UserTexts.h"

namespace kr7 {

class OverwriteGuard;

// The bank's format version the editor expects (read as 1.2).
inline constexpr std::uint8_t kBankFormatVersion = 12;
inline constexpr std::size_t kFactoryBankSize = 34176;
inline constexpr int kWriteRepeats = 3;

// FactoryReset scopes.
enum class ResetScope : std::uint8_t { All = 0, Presets = 1, Settings = 2 };

// The factory bank's bytes, or nothing when the program carries none.
using FactoryBankProvider = std::function<std::optional<ByteSpan>()>;

class FactoryUpdate {
 public:
  // Writing the bank and resetting everything or the presets go through
  // guard first.
  FactoryUpdate(StreamHost host, OverwriteGuard& guard);

  void SetBankProvider(FactoryBankProvider provider) { mProvider = std::move(provider); }

  // UI thread: the menu command. Returns whether the stream was handed to
  // the guard (it starts once the guard lets it).
  bool Start();
  // Device tick step 5: true when it took the tick. A reply awaited for
  // more than kStreamReplyTicks ends the stream with "Communication error!".
  bool Step();
  // Stops the stream (RECONNECT, or the pedal fell silent); UI thread.
  void End();
  // The overlay's Cancel: stops the stream and ends the pedal's bulk mode.
  // The pedal's presets stay as they are (only the completion resets them).
  void Cancel();
  // Audio thread. Returns whether the reply belonged to this stream.
  bool OnReply(ListReply reply);
  bool Running() const { return mStream.Running() || mCompletionPending.load(); }
  bool AtStart() const { return mStream.AtStart(); }

  // UI thread: "ALL", "PRESETS", "SETTINGS" after "Are you sure?".
  void Reset(ResetScope scope);

 private:
  void Complete();

  StreamHost mHost;
  OverwriteGuard& mGuard;
  FactoryBankProvider mProvider;
  MessageListStream mStream;
  std::atomic<bool> mCompletionPending{false};
  // Refusals of the message now sent; set when they were too many.
  std::atomic<int> mRefusals{0};
  std::atomic<bool> mRefused{false};
};

}  // namespace kr7
