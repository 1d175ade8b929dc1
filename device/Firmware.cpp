#include "device/Firmware.h"

#include "device/Session.h"
#include "device/SessionState.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"
#include "model/FileIO.h"

namespace kr7 {

FirmwareUpdate::FirmwareUpdate(SessionState& session, StreamHost host)
    : mSession(session), mHost(host) {}

void FirmwareUpdate::ShowPage(bool shown) {
  EditorView& view = mHost.View();
  view.SetGroupHidden(kGroupFirmwareBackground, !shown);
  view.SetGroupHidden(kGroupFirmwareUpdate, !shown);
}

void FirmwareUpdate::OpenPage() {
  mSession.connected.store(true);
  mSession.polling.store(false);
  ShowPage(true);
  EditorView& view = mHost.View();
  view.SetGroupDisabled(kGroupFirmwareUpdate, false);
  view.SetGroupDisabled(kGroupMain, true);
}

bool FirmwareUpdate::ClosePage() {
  Phase phase = mPhase.load();
  if (phase == Phase::Transferring) return false;
  // A FirmwareReady arriving after the page closed must not start a
  // transfer nobody can see.
  if (phase == Phase::Announced && !mPhase.compare_exchange_strong(phase, Phase::Idle)) {
    return false;
  }
  mSession.dropRequested.store(true);
  mSession.polling.store(true);
  ShowPage(false);
  mHost.View().SetGroupDisabled(kGroupMain, false);
  return true;
}

void FirmwareUpdate::ChooseImage() {
  FileRequest request;
  request.extension = std::string(kFirmwareExtension);
  const std::optional<std::string> path = mHost.View().AskForFile(request);
  if (path && !path->empty()) LoadImage(*path);
}

bool FirmwareUpdate::LoadImage(const std::string& path) {
  // A running transfer keeps its buffer; the page's button is disabled then.
  if (mMode.load()) return false;
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() == 0 || reader.Size() >= kFirmwareImageLimit) return false;
  const Bytes image = reader.ReadAll(kFirmwareImageLimit);
  // The file may have changed since it was opened.
  if (image.empty() || image.size() >= kFirmwareImageLimit) return false;
  if (!mTransfer.Load(Pack(image))) return false;
  // Before sending: FirmwareReady may be handled before Send returns.
  mWaitedTicks = 0;
  mPhase.store(Phase::Announced);
  mHost.Send(build::FirmwareStart());
  return true;
}

bool FirmwareUpdate::Step() {
  EditorView& view = mHost.View();
  if (mFailureToReport.exchange(false)) {
    view.ShowMessage(kFirmwareErrorText, false);
    EndPage();
    return true;
  }
  if (!mMode.load()) {
    WatchLoader();
    return false;
  }
  if (!mTransfer.Started()) {
    const auto total = static_cast<std::uint32_t>(mTransfer.Total());
    mHost.Send(build::FirmwareFirst(total, mTransfer.Take(kFirmwareChunkSize)));
    ShowProgress(view, kFirmwareProgress, mTransfer.Ratio());
    return true;
  }
  if (mTransfer.Remaining() > kFirmwareChunkSize) {
    mHost.Send(build::FirmwareData(mTransfer.Take(kFirmwareChunkSize)));
    ShowProgress(view, kFirmwareProgress, mTransfer.Ratio());
    return true;
  }
  Phase transferring = Phase::Transferring;
  mWaitedTicks = 0;
  mPhase.compare_exchange_strong(transferring, Phase::AwaitingVerdict);
  mMode.store(false);
  mHost.Send(build::FirmwareDataLast(mTransfer.Take(kFirmwareChunkSize), mTransfer.Checksum()));
  view.SetControlText(kFirmwareProgress.textTag, PercentText(1.0));
  view.ShowMessage(kFirmwareFinishedText, false);
  EndPage();
  return true;
}

void FirmwareUpdate::WatchLoader() {
  Phase phase = mPhase.load();
  if (phase != Phase::Announced && phase != Phase::AwaitingVerdict) return;
  if (++mWaitedTicks <= (phase == Phase::Announced ? kStreamReplyTicks : kFirmwareVerdictTicks)) return;
  if (!mPhase.compare_exchange_strong(phase, Phase::Idle)) return;  // answered meanwhile
  mHost.SetPendingMessage(std::string(kCommunicationErrorText));
  if (phase == Phase::AwaitingVerdict) {
    mSession.polling.store(true);
    mSession.dropRequested.store(true);
  }
}

void FirmwareUpdate::EndPage() {
  EditorView& view = mHost.View();
  SetProgressVisible(view, kFirmwareProgress, false);
  ShowPage(false);
  view.SetGroupDisabled(kGroupMain, false);
  view.SetGroupDisabled(kGroupPedal, true);
}

void FirmwareUpdate::OnLoaderReply(LoaderReplyCode code) {
  if (code == LoaderReplyCode::FirmwareReady) {
    Phase announced = Phase::Announced;
    if (!mPhase.compare_exchange_strong(announced, Phase::Transferring)) return;
    mMode.store(true);
    EditorView& view = mHost.View();
    ResetProgress(view, kFirmwareProgress);
    SetProgressVisible(view, kFirmwareProgress, true);
    view.SetGroupDisabled(kGroupFirmwareUpdate, true);
    return;
  }
  // A verdict ends whatever was announced or sent; without one there is no
  // transfer for it to judge.
  if (mPhase.exchange(Phase::Idle) == Phase::Idle) return;
  mMode.store(false);
  mSession.dropRequested.store(true);
  if (code == LoaderReplyCode::FirmwareFailed) mFailureToReport.store(true);
}

}  // namespace kr7
