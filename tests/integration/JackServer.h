#pragma once
// A private JACK server for the integration tests.
//
// The tests must neither disturb nor depend on a server the user runs, so
// they talk to a server of their own name (JACK_DEFAULT_SERVER, which every
// JACK client of this process then uses). When that variable already names a
// server that answers, it is used and left alone; otherwise a dummy-driver
// jackd is started under a name unique to this process, without realtime
// scheduling (CI runs as a plain user or as root without rtprio), and it is
// stopped again by its process id.

#include <chrono>
#include <string>
#include <sys/types.h>

namespace kr7::jacktest {

inline constexpr int kJackTestSampleRate = 44100;
inline constexpr int kJackTestPeriod = 256;

class JackServer {
 public:
  JackServer() = default;
  ~JackServer();
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  // Returns once a server answers, or false after `timeout`.
  bool Start(std::chrono::milliseconds timeout);
  void Stop();

  const std::string& Name() const { return mName; }
  bool StartedHere() const { return mPid > 0; }

 private:
  std::string mName;
  pid_t mPid = -1;
};

// True when a client can connect to the named server right now, without
// starting one.
bool JackServerAnswers(const std::string& name);

// Keeps libjack's complaints about absent servers out of the test output.
void SilenceJackMessages();

}  // namespace kr7::jacktest
