#pragma once
// Messages that arrive on one thread (a JACK process callback, a reply sink)
// and are awaited, oldest first, on the test's thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace kr7::test {

class MessageInbox {
 public:
  using Message = std::vector<std::uint8_t>;

  void Push(std::span<const std::uint8_t> message) {
    {
      std::lock_guard lock(mMutex);
      mMessages.emplace_back(message.begin(), message.end());
    }
    mArrived.notify_all();
  }

  // The oldest message not yet taken, or nothing after wait.
  std::optional<Message> Pop(std::chrono::milliseconds wait) {
    std::unique_lock lock(mMutex);
    if (!mArrived.wait_for(lock, wait, [this] { return !mMessages.empty(); })) {
      return std::nullopt;
    }
    Message message = std::move(mMessages.front());
    mMessages.pop_front();
    return message;
  }

 private:
  std::mutex mMutex;
  std::condition_variable mArrived;
  std::deque<Message> mMessages;
};

}  // namespace kr7::test
