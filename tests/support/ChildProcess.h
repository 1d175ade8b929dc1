#pragma once
// A program started by a test, with extra environment variables, ended by
// the test or reaped when it exits by itself.

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace kr7::test {

class ChildProcess {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;

  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts program with args; stdout and stderr go to logPath when given.
  bool Start(const std::string& program, const std::vector<std::string>& args,
             const Environment& environment, const std::string& logPath = {});
  // The exit code once the process ended within timeout (-signal when it was
  // killed by one), or nothing while it still runs.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  bool Running();
  // SIGTERM, then SIGKILL if it does not go within timeout.
  void Stop(std::chrono::milliseconds timeout = std::chrono::seconds(5));
  pid_t Pid() const { return mPid; }

 private:
  pid_t mPid = -1;
  std::optional<int> mExitCode;
};

}  // namespace kr7::test
