#include "tests/integration/JackServer.h"

#include <jack/jack.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace kr7::jacktest {
namespace {

constexpr const char* kServerVariable = "JACK_DEFAULT_SERVER";
constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr auto kStopTimeout = std::chrono::seconds(3);

void Quiet(const char* /*message*/) {}

bool WaitForExit(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || done < 0) {
      return true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return false;
}

pid_t SpawnJackd(const std::string& name) {
  const std::string rate = std::to_string(kJackTestSampleRate);
  const std::string period = std::to_string(kJackTestPeriod);
  std::vector<std::string> args = {"jackd", "--no-realtime", "--name", name, "-d", "dummy",
                                   "-r",    rate,           "-p",     period};
  std::vector<char*> argv;
  for (std::string& arg : args) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) {
    return pid;  // the parent, or -1 when fork failed
  }
  // The child: only async-signal-safe calls until exec. A test binary that
  // dies (a crash, a timeout kill) takes its server with it.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) {
    _exit(1);
  }
  const int devNull = open("/dev/null", O_WRONLY);
  if (devNull >= 0) {
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
  }
  execvp(argv[0], argv.data());
  _exit(127);
}

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
  if (client == nullptr) {
    return false;
  }
  jack_client_close(client);
  return true;
}

JackServer::~JackServer() { Stop(); }

bool JackServer::Start(std::chrono::milliseconds timeout) {
  SilenceJackMessages();
  if (const char* existing = std::getenv(kServerVariable)) {
    if (JackServerAnswers(existing)) {
      mName = existing;
      return true;
    }
  }
  mName = "kr7-test-" + std::to_string(getpid());
  setenv(kServerVariable, mName.c_str(), 1);
  mPid = SpawnJackd(mName);
  if (mPid <= 0) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (JackServerAnswers(mName)) {
      return true;
    }
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
      mPid = -1;  // it exited on its own: nothing left to stop
      return false;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  Stop();
  return false;
}

void JackServer::Stop() {
  if (mPid <= 0) {
    return;
  }
  kill(mPid, SIGTERM);
  if (!WaitForExit(mPid, kStopTimeout)) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  mPid = -1;
}

}  // namespace kr7::jacktest
