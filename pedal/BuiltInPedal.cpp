#include "pedal/BuiltInPedal.h"

#include <algorithm>
#include <cstring>

#include "model/UserTexts.h"
#include "pedal/FactoryContent.h"

namespace kr7::pedal {
namespace {

constexpr unsigned kEveryPart =
    kChangePresets | kChangeFactoryBank | kChangeGlobals | kChangeIrs | kChangeFirmware;

}  // namespace

PedalState LoadBuiltInState(const std::string& folder, ByteSpan bank, bool* fresh) {
  PedalState state = MakeFactoryState();
  if (const auto parsed = ParseFactoryBank(bank, nullptr)) InstallBank(state, *parsed);
  const int filesUsed = StateStore(folder).Load(state);
  if (fresh != nullptr) *fresh = filesUsed == 0;
  state.serial = kBuiltInPedalSerial;
  return state;
}

BuiltInPedal::BuiltInPedal(const std::string& stateFolder, ByteSpan factoryBank, Inbox inbox)
    : mStore(stateFolder),
      mPedal(LoadBuiltInState(stateFolder, factoryBank, &mFresh)),
      mInbox(std::move(inbox)) {
  if (mFresh) mStore.Save(mPedal.Snapshot(), kEveryPart);
  mPedal.SetStateChangedHook(
      [this](const PedalState& state, unsigned changes) { mStore.Save(state, changes); });
  mPedal.SetReplySink([this](ByteSpan reply) { Post(reply); });
  mThread = std::jthread([this](const std::stop_token& stop) { Run(stop); });
}

BuiltInPedal::~BuiltInPedal() {
  mThread.request_stop();
  mThread.join();
  // What the editor sent last (a store, EditorClosed) still reaches the
  // pedal and its folder; only the replies go nowhere.
  TakeFromEditor();
  mPedal.SetReplySink(ReplySink{});
  mPedal.SetStateChangedHook({});
}

bool BuiltInPedal::SendSysEx(std::span<const std::uint8_t> message) {
  if (message.size() > kMaxSysExSize) return false;
  return mFromEditor.Push([message](SysExItem& item) {
    item.size = static_cast<int>(message.size());
    std::memcpy(item.data.data(), message.data(), message.size());
  });
}

void BuiltInPedal::Post(ByteSpan reply) {
  const std::lock_guard lock(mRepliesMutex);
  const auto transfer = std::chrono::microseconds(
      static_cast<std::int64_t>(reply.size()) * kLinkMicrosecondsPerKiloByte / 1000);
  mLinkFreeAt = std::max(Clock::now() + kLinkLatency, mLinkFreeAt) + transfer;
  mReplies.push_back({mLinkFreeAt, Bytes(reply.begin(), reply.end())});
}

void BuiltInPedal::DeliverDue() {
  for (;;) {
    Bytes bytes;
    {
      const std::lock_guard lock(mRepliesMutex);
      if (mReplies.empty() || mReplies.front().due > Clock::now()) return;
      bytes = std::move(mReplies.front().bytes);
      mReplies.pop_front();
    }
    // Outside the lock: the inbox may run the editor's receive step, which
    // sends the next request from here.
    if (mListening.load()) mInbox(bytes);
  }
}

void BuiltInPedal::TakeFromEditor() {
  while (mFromEditor.Pop([this](const SysExItem& item) { mPedal.Receive(item.Bytes()); })) {
  }
}

void BuiltInPedal::Run(const std::stop_token& stop) {
  while (!stop.stop_requested()) {
    TakeFromEditor();
    DeliverDue();
    std::this_thread::sleep_for(kLinkTick);
  }
}

}  // namespace kr7::pedal
