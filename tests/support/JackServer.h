#pragma once
// A private JACK server for the tests and benchmarks.
//
// They must neither disturb nor depend on a server the user runs, so they talk
// to a server of their own name (JACK_DEFAULT_SERVER, which every JACK client
// of this process and of the programs it starts then uses). When that
// variable already names a server that answers, it is used and left alone,
// unless a fresh server is asked for; otherwise a dummy-driver jackd is
// started under a name unique to this process, without realtime scheduling
// (CI runs as a plain user or as root without rtprio), in synchronous mode
// (no MIDI is lost to a slow cycle), and stopped again.

#include <chrono>
#include <string>

#include "tests/support/ChildProcess.h"

namespace kr7::jacktest {

inline constexpr int kJackTestSampleRate = 44100;
inline constexpr int kJackTestPeriod = 256;

class JackServer {
 public:
  JackServer() = default;
  ~JackServer() { Stop(); }
  JackServer(const JackServer&) = delete;
  JackServer& operator=(const JackServer&) = delete;

  // Returns once a server answers, or false after `timeout`. With fresh set a
  // server of this period is started even when one already answers.
  bool Start(std::chrono::milliseconds timeout, int period = kJackTestPeriod, bool fresh = false);
  void Stop();

  const std::string& Name() const { return mName; }
  bool StartedHere() const { return mProcess.Pid() > 0; }

 private:
  std::string mName;
  test::ChildProcess mProcess;
};

// True when a client can connect to the named server right now, without
// starting one.
bool JackServerAnswers(const std::string& name);

// Keeps libjack's complaints about absent servers out of the test output.
void SilenceJackMessages();

}  // namespace kr7::jacktest
