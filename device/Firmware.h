#pragma once
// Firmware update: the firmware page, loading an image file, and streaming it
// to the pedal's loader.
//
// Road: the page opens (menu) -> the user picks a "bin" file -> it is packed
// and FirmwareStart announces it -> FirmwareReady from the loader starts
// firmware mode -> one message per device tick: FirmwareFirst (length and
// the first 240 packed bytes), FirmwareData (240 each), the last FirmwareData
// with the rest and the stream checksum -> "Firmware update finished." ->
// the loader's verdict: FirmwareDone, or FirmwareFailed with
// "Error in update!". Either verdict leaves the editor disconnected.
//
// Threads: page actions, LoadImage and Step on the UI thread; OnLoaderReply
// on the audio thread. Loader replies are taken only while an image has been
// announced, so a stray reply neither starts a transfer nor disconnects.

#include <atomic>
#include <string>
#include <string_view>

#include "device/Messages.h"
#include "device/StreamsPackedTransfer.h"
#include "device/StreamsHost.h"
#include "model/ControlTags.h"
#include "model/UserTexts.h"

namespace kr7 {

struct SessionState;

inline constexpr std::string_view kFirmwareExtension = "bin";
// Images of this size or more are ignored.
inline constexpr std::size_t kFirmwareImageLimit = 65536;
// Ticks the loader has to judge the image after its last message (it
// writes flash meanwhile); its FirmwareReady has kStreamReplyTicks. Either
// wait ends with "Communication error!"; a missing verdict also lets the
// session look for the pedal again.
inline constexpr int kFirmwareVerdictTicks = 150;

class FirmwareUpdate {
 public:
  FirmwareUpdate(SessionState& session, StreamHost host);

  // Menu "Firmware Update...": connected without polling, the page shown.
  void OpenPage();
  // The page's "X": disconnected and polling again, the page hidden; an
  // announced image that the loader has not taken yet is dropped. Refused
  // (false) while a transfer runs: the page is its only progress display
  // and its end needs the page to close on.
  bool ClosePage();
  // "UPDATE FIRMWARE": file dialog, then LoadImage for a non-empty path.
  void ChooseImage();
  // Reads, packs and announces the image. An empty file, one that cannot be
  // opened or one of kFirmwareImageLimit bytes or more is ignored (false).
  bool LoadImage(const std::string& path);

  // Device tick step 4: true when it took the tick (firmware mode, or a
  // failure being reported).
  bool Step();
  // Audio thread: FirmwareReady / FirmwareDone / FirmwareFailed.
  void OnLoaderReply(LoaderReplyCode code);

  // Firmware mode: changes how incoming messages are recognised.
  bool Running() const { return mMode.load(); }

 private:
  enum class Phase { Idle, Announced, Transferring, AwaitingVerdict };
  void ShowPage(bool shown);
  void EndPage();
  void WatchLoader();

  SessionState& mSession;
  StreamHost mHost;
  PackedTransfer mTransfer;  // UI thread only
  std::atomic<Phase> mPhase{Phase::Idle};
  std::atomic<bool> mMode{false};
  std::atomic<bool> mFailureToReport{false};
  int mWaitedTicks = 0;  // UI thread only
};

}  // namespace kr7
