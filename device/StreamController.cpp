#include "device/StreamController.h"

#include "device/SessionState.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"

namespace kr7 {

StreamController::StreamController(SessionState& session, StreamHost host, std::string dataFolder)
    : mSession(session),
      mHost(host),
      mFirmware(session, host),
      mExport(session, host, dataFolder),
      mBackup(host, mExport, dataFolder),
      mFactory(host, mBackup),
      mImport(session, host, mBackup),
      mIrUpload(session.irUploadBusy) {}

void StreamController::SetFactoryBankProvider(FactoryBankProvider provider) {
  mFactory.SetBankProvider(std::move(provider));
}

bool StreamController::OnCommand(int code) {
  switch (code) {
    case kCommandFirmwarePage:
      mFirmware.OpenPage();
      return true;
    case kCommandImportBank:
      mImport.Start();
      return true;
    case kCommandExportBank:
      mExport.Start();
      return true;
    case kCommandFactoryPresets:
      mFactory.Start();
      return true;
    default:
      return false;
  }
}

bool StreamController::LongTransferRunning() const {
  return mFirmware.Running() || mFactory.Running() || mImport.Active() || mExport.Active() ||
         IrUploadInProgress() || mSession.presetFileFirstWaiting.load() ||
         mSession.presetFileSecondWaiting.load();
}

bool StreamController::StartIrUpload(int slot, ByteSpan packed) {
  if (mSession.irUploadBusy.load()) {
    mHost.View().ShowMessage(kIrUploadBusyText, false);
    return false;
  }
  return mIrUpload.Start(slot, packed, mSession.connected.load());
}

void StreamController::IrUploadStep() {
  if (mSession.connected.load() && mIrUpload.Step(mHost)) OnIrUploadEnded(true);
}

void StreamController::OnIrUploadEnded(bool refused) {
  mIrUpload.End();
  // A preset-file import waiting for this upload will not get its
  // acknowledgement: a later, unrelated one must not store its preset.
  if (!refused) return;
  mSession.presetFileFirstWaiting.store(false);
  mSession.presetFileSecondWaiting.store(false);
}

bool StreamController::OnIrStored() {
  if (!mIrUpload.TakeStoredAck()) return false;
  OnIrUploadEnded(false);
  return true;
}

bool StreamController::WaitsForSession(bool atStart) const {
  return atStart && mSession.connected.load() && mSession.HandshakeRunning();
}

bool StreamController::ImportStep(bool connected) {
  UpdateCancel();
  return !WaitsForSession(mImport.AtStart()) && mImport.Step(connected);
}

bool StreamController::ExportStep(bool connected) {
  UpdateCancel();
  if (WaitsForSession(mExport.AtStart())) return false;
  mBackup.Watch();
  return mExport.Step(connected);
}

void StreamController::EndTransfers() {
  mImport.End(false);
  mExport.Abort();
  if (mFactory.Running()) mFactory.End();
  if (mSession.irUploadBusy.load()) SetProgressVisible(mHost.View(), kPresetProgress, false);
  // Also between a preset-file import's two uploads, when none is busy.
  OnIrUploadEnded(true);
  UpdateCancel();
}

void StreamController::CancelTransfer() {
  if (mBackup.Busy()) {
    mBackup.Cancel();
  } else if (mExport.Active()) {
    mExport.Abort();
    SetProgressVisible(mHost.View(), kPresetProgress, false);
  }
  mImport.Cancel();
  mFactory.Cancel();
  UpdateCancel();
}

void StreamController::UpdateCancel() {
  const bool shown = (mExport.Active() && !mExport.AtStart()) || mImport.Active() || mBackup.Busy();
  if (shown == mCancelShown) return;
  mCancelShown = shown;
  mHost.View().SetGroupHidden(kGroupTransferCancel, !shown);
}

bool StreamController::OnStreamMessage(const PedalMessage& recognised,
                                       std::span<const std::uint8_t> message) {
  if (const auto* reply = std::get_if<ShortReply>(&recognised)) return OnShortReply(*reply);
  if (const auto* loader = std::get_if<LoaderReply>(&recognised)) {
    mFirmware.OnLoaderReply(loader->code);
    return true;
  }
  return mExport.OnMessage(message, recognised);
}

bool StreamController::OnShortReply(const ShortReply& reply) {
  switch (reply.code) {
    case ShortReplyCode::WriteOkAck:
      return OnListReply(ListReply::WriteOk);
    case ShortReplyCode::WriteNextAck:
      return OnListReply(ListReply::WriteNext);
    case ShortReplyCode::WriteFailAck:
      return OnListReply(ListReply::WriteFail);
    case ShortReplyCode::IrReadyAck:
      mIrUpload.OnIrReady();
      return true;
    default:
      return false;
  }
}

bool StreamController::OnListReply(ListReply reply) {
  // Import replies are told from factory replies by the import mode; each
  // stream takes a reply only while it awaits one, so a reply the import
  // did not wait for can still belong to a factory stream.
  if (mImport.Active() && mImport.OnReply(reply)) return true;
  return mFactory.OnReply(reply);
}

}  // namespace kr7
