#pragma once
// Messages that arrive on one thread (a JACK process callback, a reply sink)
// and are awaited, oldest first, on the test's thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace kr7::test {

class MessageInbox {
 public:
  using Message = std::vector<std::uint8_t>;

  void Push(Message message) {
    {
      std::lock_guard lock(mMutex);
      mMessages.push_back(std::move(message));
    }
    mArrived.notify_all();
  }

  // The oldest message not yet taken, or nothing after timeout.
  std::optional<Message> Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mMutex);
    if (!mArrived.wait_for(lock, timeout, [this] { return !mMessages.empty(); })) {
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
