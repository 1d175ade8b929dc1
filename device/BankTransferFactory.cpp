#include "device/BankTransferFactory.h"

#include <cstdio>

#include "device/BankBackup.h"
#include "device/Messages.h"
#include "device/Session.h"
#include "device/StreamsHost.h"
#include "device/StreamsProgress.h"
#include "model/EditorView.h"

namespace kr7 {

namespace {

constexpr double kVersionDivisor = 10.0;

std::string VersionQuestion(std::uint8_t version) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, std::string(kBankVersionQuestion).c_str(),
                version / kVersionDivisor);
  return buffer;
}

}  // namespace

FactoryUpdate::FactoryUpdate(StreamHost host, OverwriteGuard& guard)
    : mHost(host), mGuard(guard) {}

bool FactoryUpdate::Start() {
  if (Running()) return false;
  EditorView& view = mHost.View();
  if (!view.ShowMessage(kFactoryUpdateQuestion, kWarningCaption, true)) return false;
  const std::optional<ByteSpan> bank = mProvider ? mProvider() : std::nullopt;
  if (!bank || bank->size() <= kOffsetFormat) return false;
  if (!mStream.Load(Bytes(bank->begin(), bank->end()))) return false;
  const std::uint8_t version = (*bank)[kOffsetFormat];
  if (version != kBankFormatVersion) {
    if (!view.ShowMessage(VersionQuestion(version), kWarningCaption, true)) return false;
    mStream.SetFormatBytes(kBankFormatVersion);
  }
  mGuard.BeforeOverwrite([this] {
    EditorView& view = mHost.View();
    ResetProgress(view, kFactoryProgress);
    SetProgressVisible(view, kFactoryProgress, true);
    mRefusals.store(0);
    mRefused.store(false);
    mStream.Start();
  });
  return true;
}

bool FactoryUpdate::Step() {
  if (mCompletionPending.exchange(false)) {
    Complete();
    return true;
  }
  if (mStream.ReplyOverdue(kStreamReplyTicks) || mRefused.exchange(false)) {
    // A stream left waiting would refuse every later start.
    End();
    mHost.SetPendingMessage(std::string(kCommunicationErrorText));
    return true;
  }
  const std::optional<MessageListStream::Sent> sent = mStream.Step(mHost);
  if (!sent) return false;
  if (!sent->bulkBegin) {
    ShowProgress(mHost.View(), kFactoryProgress,
                 static_cast<double>(sent->index + 1) / mStream.Total());
  }
  return true;
}

bool FactoryUpdate::OnReply(ListReply reply) {
  switch (mStream.OnReply(reply)) {
    case ListReplyOutcome::Ignored:
      return false;
    case ListReplyOutcome::Failed:
      if (mRefusals.fetch_add(1) < kWriteRepeats) {
        mStream.Retry();
      } else {
        mRefused.store(true);  // the tick ends the stream
      }
      break;
    case ListReplyOutcome::Completed:
      // The caches are deleted on the UI thread, at the next tick.
      mCompletionPending.store(true);
      break;
    case ListReplyOutcome::Advanced:
      mRefusals.store(0);
      break;
    case ListReplyOutcome::Finished:
      break;
  }
  return true;
}

void FactoryUpdate::Cancel() {
  if (!mStream.Running()) return;
  const bool begun = !mStream.AtStart();
  End();
  if (begun) mHost.Send(build::BulkEnd());
}

void FactoryUpdate::End() {
  mStream.Stop();
  SetProgressVisible(mHost.View(), kFactoryProgress, false);
}

void FactoryUpdate::Complete() {
  mHost.Send(build::BulkEnd());
  SetProgressVisible(mHost.View(), kFactoryProgress, false);
  mHost.ClearCachesAndRebuild();
  mHost.Send(build::FactoryReset(static_cast<std::uint8_t>(ResetScope::Presets)));
}

void FactoryUpdate::Reset(ResetScope scope) {
  if (!mHost.View().ShowMessage(kResetQuestion, true)) return;
  const auto send = [this, scope] {
    if (scope != ResetScope::Settings) mHost.ClearCachesAndRebuild();
    mHost.Send(build::FactoryReset(static_cast<std::uint8_t>(scope)));
  };
  // The settings alone overwrite no preset: no backup for them.
  if (scope == ResetScope::Settings) {
    send();
  } else {
    mGuard.BeforeOverwrite(send);
  }
}

}  // namespace kr7
