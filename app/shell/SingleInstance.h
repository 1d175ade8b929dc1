#pragma once
// One editor per data folder. The first instance holds an exclusive lock on
// "<data>/KR7Control.lock" and listens on an abstract local socket named after
// the folder; a later start finds the lock taken, asks the first instance to
// present its window (and to open a file, when it was started with one)
// through the socket and leaves.

#include <optional>
#include <string>
#include <string_view>

namespace kr7 {

// What a later start sent: nothing for anything that is not a request of
// ours, otherwise the path to open (empty: only show the window).
std::optional<std::string> ParseInstanceRequest(std::string_view request);

class SingleInstance {
 public:
  enum class Outcome {
    kFirst,           // this process owns the editor
    kPresented,       // another instance runs and was asked to come forward
    kUnavailable      // the lock could not be taken nor the other reached
  };

  explicit SingleInstance(std::string dataFolder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // openPath: an absolute path the running instance is to open, or empty.
  Outcome Acquire(std::string_view openPath = {});

  // The listening socket of the first instance (-1 otherwise). The shell
  // watches it on its main loop and calls TakeRequest when it is readable.
  int ListenFd() const { return mListenFd; }
  // Accepts one pending connection. Nothing for a malformed request;
  // otherwise the path to open, empty when the window is only to be shown.
  std::optional<std::string> TakeRequest();

 private:
  std::string mLockPath;
  std::string mSocketName;
  int mLockFd = -1;
  int mListenFd = -1;
};

}  // namespace kr7
