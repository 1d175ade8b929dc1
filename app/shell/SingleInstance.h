#pragma once
// One editor per data folder. The first instance holds an exclusive lock on
// "<data>/KR7Control.lock" and listens on an abstract local socket named after
// the folder; a later start finds the lock taken, asks the first instance to
// present its window through the socket and leaves.

#include <string>

namespace kr7 {

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

  Outcome Acquire();

  // The listening socket of the first instance (-1 otherwise). The shell
  // watches it on its main loop and calls TakeRequest when it is readable.
  int ListenFd() const { return mListenFd; }
  // Accepts one pending connection; true when it asked to present the window.
  bool TakeRequest();

 private:
  std::string mLockPath;
  std::string mSocketName;
  int mLockFd = -1;
  int mListenFd = -1;
};

}  // namespace kr7
