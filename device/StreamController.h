#pragma once
// The long transfers of the editor behind the session's stream branches:
// firmware update, factory presets update, bank import and export, and the
// impulse-response upload transport, with the user actions that start them.
//
// The application object owns one, gives it the roles of its StreamHost and
// hands it to the session (Session::SetStreamHooks). The device tick gives it its
// steps in the fixed order (firmware, factory bank, import, export, then —
// after the session's own polling and fetch start — the IR upload); the
// receive handler gives it the replies the session does not handle itself.
//
// Threads: the user actions and the tick steps run on the UI thread;
// OnStreamMessage, FirmwareRunning and ExportActive on the audio thread.

#include <string>

#include "device/BankBackup.h"
#include "device/BankTransferExport.h"
#include "device/BankTransferFactory.h"
#include "device/BankTransferImport.h"
#include "device/Firmware.h"
#include "device/SessionHooks.h"
#include "device/StreamsIrUpload.h"
#include "device/StreamsHost.h"
#include "model/CommandCodes.h"

namespace kr7 {

struct SessionState;

class StreamController final : public StreamHooks {
 public:
  // dataFolder: where the export's save dialog opens.
  StreamController(SessionState& session, StreamHost host, std::string dataFolder);
  StreamController(const StreamController&) = delete;
  StreamController& operator=(const StreamController&) = delete;

  // The factory bank (the shell passes the embedded resource).
  void SetFactoryBankProvider(FactoryBankProvider provider);

  // --- User actions (UI thread) ---------------------------------------------------
  // Menu command codes 1, 5, 6 and 8; false for any other code.
  bool OnCommand(int code);
  FirmwareUpdate& Firmware() { return mFirmware; }
  FactoryUpdate& Factory() { return mFactory; }
  BankImport& Import() { return mImport; }
  BankExport& Export() { return mExport; }
  // The backup made before the pedal's bank is overwritten.
  BankBackup& Backup() { return mBackup; }
  // The progress overlays' Cancel: ends a bank export or backup (and the
  // overwrite waiting for it), a bank import or the factory presets update.
  // The firmware update has none: a loader left half-way cannot boot.
  void CancelTransfer();
  // The three buttons under "RESET TO FACTORY DEFAULT SETTINGS".
  void FactoryReset(ResetScope scope) { mFactory.Reset(scope); }
  // Starts uploading a packed impulse-response image to a user slot; does
  // not start (false) when the pedal is not connected, nor while another
  // upload is on its way (the user is told to wait).
  bool StartIrUpload(int slot, ByteSpan packed);
  bool IrUploadInProgress() const { return mIrUpload.InProgress(); }
  // A firmware update, factory presets update, bank import or export, or
  // impulse-response upload is under way, or a preset-file import waits to
  // store its preset: the window keeps input away from the main page
  // meanwhile.
  bool LongTransferRunning() const;

  // --- StreamHooks ------------------------------------------------------------------
  void ImportCompletionStep() override { mImport.CompletionStep(); }
  bool FirmwareStep() override { return mFirmware.Step(); }
  bool FactoryStep() override { return !WaitsForSession(mFactory.AtStart()) && mFactory.Step(); }
  bool ImportStep(bool connected) override;
  bool ExportStep(bool connected) override;
  void IrUploadStep() override;
  void EndTransfers() override;
  void IdleStep() override { mBackup.AskIfFailed(); }
  void OnIrUploadEnded(bool refused) override;
  bool OnIrStored() override;
  bool FirmwareRunning() const override { return mFirmware.Running(); }
  bool ExportActive() const override { return mExport.Active() && !mExport.AtStart(); }
  bool OnStreamMessage(const PedalMessage& recognised,
                       std::span<const std::uint8_t> message) override;

 private:
  // A bank stream begins only once the session's own requests are answered
  // (their replies are dumps the export would take), and does not hold the
  // tick meanwhile, so the session's fetch can start.
  bool WaitsForSession(bool atStart) const;
  // Shows the preset overlay's Cancel while a bank transfer runs under it.
  void UpdateCancel();
  bool OnShortReply(const ShortReply& reply);
  bool OnListReply(ListReply reply);

  SessionState& mSession;
  StreamHost mHost;
  FirmwareUpdate mFirmware;
  BankExport mExport;
  // Before the two streams that overwrite the pedal's bank.
  BankBackup mBackup;
  FactoryUpdate mFactory;
  BankImport mImport;
  IrUploadStream mIrUpload;
  bool mCancelShown = false;  // UI thread only
};

}  // namespace kr7
