#include "device/StreamController.h"

#include "device/SessionState.h"

namespace kr7 {

StreamController::StreamController(SessionState& session, StreamHost host, std::string dataFolder)
    : mSession(session),
      mHost(host),
      mFirmware(session, host),
      mExport(session, host, dataFolder),
      mBackup(host, mExport, dataFolder),
      mFactory(host, mBackup),
      mImport(session, host, mBackup) {}

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

bool StreamController::StartIrUpload(int slot, ByteSpan packed) {
  return mIrUpload.Start(slot, packed, mSession.connected.load());
}

void StreamController::IrUploadStep() {
  if (mSession.connected.load()) mIrUpload.Step(mHost);
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
