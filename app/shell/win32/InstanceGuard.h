#pragma once
// One editor per user on Windows: the first start owns a named mutex; a
// later start finds it taken, brings the first instance's window to the
// front, hands it the file it was started with (WM_COPYDATA) and leaves.

#include <windows.h>

#include <string>

namespace kr7::shell {

class InstanceGuard {
 public:
  enum class Outcome { kFirst, kPresented };

  InstanceGuard() = default;
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // openPath: an absolute path the running instance is to open, or empty.
  Outcome Acquire(const std::string& openPath);

 private:
  HANDLE mMutex = nullptr;
};

}  // namespace kr7::shell
