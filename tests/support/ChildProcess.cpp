#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace kr7::test {

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args,
                         const Environment& environment, const std::string& logPath) {
  std::vector<std::string> argStore{program};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStore) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  mExitCode.reset();
  mPid = fork();
  if (mPid != 0) return mPid > 0;
  // The child: a test that dies takes its programs with it.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(1);
  for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
  if (!logPath.empty()) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
  }
  execvp(argv[0], argv.data());
  _exit(127);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (mExitCode) return mExitCode;
  if (mPid <= 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(mPid, &status, WNOHANG);
    if (done == mPid) {
      mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
      mPid = -1;
      return mExitCode;
    }
    if (done < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool ChildProcess::Running() { return mPid > 0 && !WaitForExit(std::chrono::milliseconds(0)); }

void ChildProcess::Stop(std::chrono::milliseconds timeout) {
  if (mPid <= 0) return;
  kill(mPid, SIGTERM);
  if (WaitForExit(timeout)) return;
  kill(mPid, SIGKILL);
  WaitForExit(std::chrono::seconds(5));
}

}  // namespace kr7::test
