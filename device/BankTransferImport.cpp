#include "device/BankTransferImport.h"

#include "device/BankBackup.h"
#include "device/BankTransferImportCheck.h"
#include "device/Messages.h"
#include "device/Session.h"
#include "device/SessionState.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"
#include "model/FileIO.h"

namespace kr7 {

BankImport::BankImport(SessionState& session, StreamHost host, OverwriteGuard& guard)
    : mSession(session), mHost(host), mGuard(guard) {}

bool BankImport::Confirm() { return !Active() && mHost.View().ShowMessage(kImportQuestion, true); }

bool BankImport::Connected() const {
  if (mSession.connected.load()) return true;
  mHost.View().ShowMessage(kNotConnectedText, false);
  return false;
}

void BankImport::Start() {
  if (!Connected() || !Confirm()) return;
  FileRequest request;
  request.extension = std::string(kBankFileExtension);
  request.initialName = mHost.RememberedPath();
  const std::optional<std::string> path = mHost.View().AskForFile(request);
  if (path) StartFile(*path, false);
}

void BankImport::StartFile(const std::string& path, bool ask) {
  if (path.empty() || (ask && !Confirm())) return;
  mHost.RememberPath(path);
  LoadFile(path);
}

bool BankImport::LoadFile(const std::string& path) {
  if (Active() || !Connected()) return false;
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() > kBankFileLimit) return false;
  // One byte more than the limit tells a file that grew since it was opened.
  Bytes file = reader.ReadAll(kBankFileLimit + 1);
  EditorView& view = mHost.View();
  if (file.size() > kBankFileLimit) return false;
  if (!CheckImportFile(file) || !mStream.Load(std::move(file))) {
    view.ShowMessage(kUnknownFileFormatText, false);
    return false;
  }
  mGuard.BeforeOverwrite([this] {
    // The backup or its question took time: the pedal may have gone.
    if (!mSession.connected.load()) {
      mHost.SetPendingMessage(std::string(kNotConnectedText));
      return;
    }
    mRewriter.Reset();
    mFinished.store(false);
    EditorView& view = mHost.View();
    ResetProgress(view, kPresetProgress);
    SetProgressVisible(view, kPresetProgress, true);
    mStream.Start();
  });
  return true;
}

void BankImport::CompletionStep() {
  if (!mFinished.exchange(false)) return;
  EditorView& view = mHost.View();
  SetProgressVisible(view, kPresetProgress, false);
  view.ShowMessage(kFinishedText, false);
  ReadPedalAgain();
}

void BankImport::ReadPedalAgain() {
  mHost.ClearCachesAndRebuild();
  mSession.polling.store(true);
  mSession.dropRequested.store(true);
}

void BankImport::Cancel() {
  if (!Active()) return;
  const bool begun = !AtStart();
  End(false);
  if (!begun) return;
  mHost.Send(build::BulkEnd());
  ReadPedalAgain();
}

bool BankImport::Step(bool connected) {
  if (!Active()) return false;
  // The tick that drops a lost connection ends the import; until then
  // nothing is sent.
  if (!connected) return false;
  if (mStream.ReplyOverdue(kStreamReplyTicks)) {
    End(true);
    return true;
  }
  const std::optional<MessageListStream::Sent> sent =
      mStream.Step(mHost, [this](MutableByteSpan message) { mRewriter.Rewrite(message); });
  if (sent && !sent->bulkBegin) {
    ShowProgress(mHost.View(), kPresetProgress,
                 static_cast<double>(sent->index + 1) / mStream.Total());
  }
  return true;
}

void BankImport::End(bool failed) {
  if (!Active() && !failed) return;
  mStream.Stop();
  EditorView& view = mHost.View();
  ResetProgress(view, kPresetProgress);
  SetProgressVisible(view, kPresetProgress, false);
  if (failed) mHost.SetPendingMessage(std::string(kCommunicationErrorText));
}

bool BankImport::OnReply(ListReply reply) {
  switch (mStream.OnReply(reply)) {
    case ListReplyOutcome::Ignored:
      return false;
    case ListReplyOutcome::Failed:
      End(true);
      break;
    case ListReplyOutcome::Completed:
      mHost.Send(build::BulkEnd());
      mFinished.store(true);
      break;
    case ListReplyOutcome::Advanced:
    case ListReplyOutcome::Finished:
      break;
  }
  return true;
}

}  // namespace kr7
