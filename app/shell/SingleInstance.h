#pragma once
// One editor per data folder. The first start owns the folder; a later start
// asks the first instance to present its window (and to open a file, when it
// was started with one) and leaves.
//
// How the request travels is the system's: on POSIX an exclusive lock on
// "<data>/KR7Control.lock" and an abstract local socket named after the
// folder (posix/SingleInstance.cpp); on Windows a named mutex per user and
// folder, and a hand-off that the window system supplies
// (win32/SingleInstance.cpp). The request itself is the same text on both.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kr7 {

// Far more than PATH_MAX: a longer request is not one of ours.
inline constexpr std::size_t kMaxInstanceRequest = 8192;

// The request a later start sends: "present\n" alone, or followed by the
// path to open.
std::string InstanceRequest(std::string_view openPath);
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
  // Delivers a request to the running instance where the system has no
  // channel of its own for it (Windows: a message to the first window);
  // true when it arrived. POSIX uses its socket and ignores it.
  using HandOff = std::function<bool(const std::string& request)>;

  explicit SingleInstance(std::string dataFolder, HandOff handOff = {});
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // openPath: an absolute path the running instance is to open, or empty.
  Outcome Acquire(std::string_view openPath = {});

  // The listening socket of the first instance on POSIX (-1 otherwise). The
  // shell watches it on its main loop and calls TakeRequest when it is
  // readable.
  int ListenFd() const;
  // Accepts one pending connection. Nothing for a malformed request;
  // otherwise the path to open, empty when the window is only to be shown.
  std::optional<std::string> TakeRequest();

 private:
  struct State;
  std::unique_ptr<State> mState;
};

}  // namespace kr7
