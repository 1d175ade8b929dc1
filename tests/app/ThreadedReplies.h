#pragma once
// The pedal's replies handled on an "audio" thread of their own while the
// test thread runs the device tick and the 20 ms timer, as in the program.
// For the conversations that ThreadSanitizer checks.

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "app/core/KR7Control.h"
#include "device/Packing.h"
#include "tests/support/MessageInbox.h"

namespace kr7::test {

// Replies queue up here (any thread); the audio thread takes them one at a
// time.
using ReplyQueue = MessageInbox;

// Hands the queued replies to the editor's receive handler on its own thread
// from construction to destruction.
class AudioThread {
 public:
  AudioThread(KR7Control& editor, ReplyQueue& replies)
      : mThread([this, &editor, &replies] {
          while (!mStop.load()) {
            if (auto reply = replies.Pop(std::chrono::milliseconds(1))) editor.OnSysEx(*reply);
          }
        }) {}
  ~AudioThread() {
    mStop.store(true);
    mThread.join();
  }
  AudioThread(const AudioThread&) = delete;
  AudioThread& operator=(const AudioThread&) = delete;

 private:
  std::atomic<bool> mStop{false};
  std::thread mThread;
};

// Runs the UI thread's timers until done() holds or the deadline passes;
// returns done().
template <class Done>
bool RunUiUntil(KR7Control& editor, std::chrono::steady_clock::time_point deadline, Done done) {
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    editor.OnDeviceTick();
    editor.OnFrameworkTimer();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

}  // namespace kr7::test
