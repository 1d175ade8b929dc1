#include "device/StreamsMessageList.h"

#include <algorithm>
#include <array>

#include "device/Messages.h"
#include "device/StreamsHost.h"

namespace kr7 {

bool MessageListStream::Load(Bytes buffer) {
  if (mRunning.load() || buffer.empty() || buffer.back() != kSysExEnd) return false;
  std::vector<std::size_t> ends;
  std::size_t start = 0;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    if (buffer[i] != kSysExEnd) continue;
    if (i + 1 - start > kMaxMessageSize) return false;
    ends.push_back(i + 1);
    start = i + 1;
  }
  mBuffer = std::move(buffer);
  mEnds = std::move(ends);
  mTotal.store(static_cast<int>(mEnds.size()));
  return true;
}

ByteSpan MessageListStream::Message(int i) const {
  const auto at = static_cast<std::size_t>(i);
  const std::size_t begin = at == 0 ? 0 : mEnds[at - 1];
  return ByteSpan(mBuffer).subspan(begin, mEnds[at] - begin);
}

void MessageListStream::SetFormatBytes(std::uint8_t value) {
  if (mRunning.load()) return;
  for (std::size_t i = 0; i + kOffsetFormat < mBuffer.size(); ++i) {
    if (mBuffer[i] == kSysExStart) mBuffer[i + kOffsetFormat] = value;
  }
}

void MessageListStream::Start() {
  if (mEnds.empty()) return;
  mAwaiting.store(false);
  mIndex.store(0);
  mBulkBeginPending.store(true);
  mRunning.store(true);
  mReady.store(true);
}

void MessageListStream::Stop() {
  mReady.store(false);
  mAwaiting.store(false);
  mBulkBeginPending.store(false);
  mRunning.store(false);
}

std::optional<MessageListStream::Sent> MessageListStream::Step(const StreamHost& host,
                                                               const Rewrite& rewrite) {
  if (!mReady.exchange(false)) return std::nullopt;
  if (mBulkBeginPending.exchange(false)) {
    mReady.store(true);
    host.Send(build::BulkBegin());
    return Sent{true, 0};
  }
  const int index = mIndex.load();
  if (index >= Total()) {
    mRunning.store(false);
    return std::nullopt;
  }
  const ByteSpan stored = Message(index);
  std::array<std::uint8_t, kMaxMessageSize> copy{};
  std::copy(stored.begin(), stored.end(), copy.begin());
  const MutableByteSpan message(copy.data(), stored.size());
  if (rewrite) rewrite(message);

  const bool answered = !(message.size() > kOffsetCommand && message[kOffsetCommand] == kCmdImportIrData);
  if (answered) {
    // Before sending: the reply may be handled before Send returns.
    mWaitedTicks = 0;
    mAwaiting.store(true);
  } else {
    mIndex.store(index + 1);
    if (index + 1 < Total()) {
      mReady.store(true);
    } else {
      mRunning.store(false);
    }
  }
  host.Send(message);
  return Sent{false, index};
}

ListReplyOutcome MessageListStream::OnReply(ListReply reply) {
  if (!mAwaiting.exchange(false)) return ListReplyOutcome::Ignored;
  if (reply == ListReply::WriteFail) return ListReplyOutcome::Failed;
  const int next = mIndex.fetch_add(1) + 1;
  if (next < Total()) {
    mReady.store(true);
    return ListReplyOutcome::Advanced;
  }
  mRunning.store(false);
  return reply == ListReply::WriteOk ? ListReplyOutcome::Completed : ListReplyOutcome::Finished;
}

bool MessageListStream::ReplyOverdue(int ticks) {
  if (!mAwaiting.load() || ++mWaitedTicks <= ticks) return false;
  // Whoever clears the wait owns it: a reply that came first wins.
  if (!mAwaiting.exchange(false)) return false;
  Stop();
  return true;
}

void MessageListStream::Retry() {
  if (mRunning.load()) mReady.store(true);
}

}  // namespace kr7
