#include "tests/support/JackServer.h"

#include <jack/jack.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace kr7::jacktest {
namespace {

constexpr const char* kServerVariable = "JACK_DEFAULT_SERVER";
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr auto kStopTimeout = std::chrono::seconds(3);
constexpr int kClientTimeoutMs = 10000;

void Quiet(const char* /*message*/) {}

}  // namespace

void SilenceJackMessages() {
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
}

bool JackServerAnswers(const std::string& name) {
  jack_status_t status{};
  jack_client_t* client =
      jack_client_open("kr7-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                       &status, name.c_str());
  if (client == nullptr) return false;
  jack_client_close(client);
  return true;
}

bool JackServer::Start(std::chrono::milliseconds timeout, int period, bool fresh) {
  SilenceJackMessages();
  if (const char* existing = std::getenv(kServerVariable); existing && !fresh) {
    if (JackServerAnswers(existing)) {
      mName = existing;
      return true;
    }
  }
  static std::atomic<int> serial{0};
  mName = "kr7-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
  setenv(kServerVariable, mName.c_str(), 1);
  // A generous client time-out: under the sanitizers a client's first process
  // cycles are slow, and the server would otherwise drop it as unresponsive.
  // Synchronous mode: the server waits for every client to finish its cycle.
  // In the default asynchronous mode a client that misses a cycle (a loaded
  // machine, or ThreadSanitizer pausing a process thread to look up a stack)
  // loses the MIDI written in that cycle, and a test would wait for nothing.
  const std::vector<std::string> args = {"--sync",
                                         "--no-realtime",
                                         "--timeout",
                                         std::to_string(kClientTimeoutMs),
                                         "--name",
                                         mName,
                                         "-d",
                                         "dummy",
                                         "-r",
                                         std::to_string(kJackTestSampleRate),
                                         "-p",
                                         std::to_string(period)};
  if (!mProcess.Start("jackd", args, {}, "/dev/null")) return false;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (JackServerAnswers(mName)) return true;
    if (!mProcess.Running()) return false;  // it exited on its own
    std::this_thread::sleep_for(kPollInterval);
  }
  Stop();
  return false;
}

void JackServer::Stop() { mProcess.Stop(kStopTimeout); }

}  // namespace kr7::jacktest
