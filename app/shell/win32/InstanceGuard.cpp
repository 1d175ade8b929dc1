#include "app/shell/win32/InstanceGuard.h"

#include <lmcons.h>

#include <string>

#include "app/shell/win32/MainWindow.h"

namespace kr7::shell {
namespace {

// The first instance may still be opening its window when a second start
// looks for it.
constexpr int kWindowWaits = 50;
constexpr DWORD kWindowWaitMs = 100;

// Per user and per session: another user's editor on the same machine is
// not this one's.
std::wstring MutexName() {
  wchar_t user[UNLEN + 1] = {};
  DWORD size = UNLEN + 1;
  if (!GetUserNameW(user, &size)) user[0] = L'\0';
  return std::wstring(L"Local\\KR7Control-") + user;
}

}  // namespace

InstanceGuard::~InstanceGuard() {
  if (mMutex) {
    ReleaseMutex(mMutex);
    CloseHandle(mMutex);
  }
}

InstanceGuard::Outcome InstanceGuard::Acquire(const std::string& openPath) {
  mMutex = CreateMutexW(nullptr, TRUE, MutexName().c_str());
  // Without a mutex at all the editor runs rather than not at all.
  if (!mMutex || GetLastError() != ERROR_ALREADY_EXISTS) return Outcome::kFirst;
  CloseHandle(mMutex);
  mMutex = nullptr;
  HWND window = nullptr;
  for (int wait = 0; wait < kWindowWaits && !window; ++wait) {
    window = FindWindowW(kMainWindowClass, nullptr);
    if (!window) Sleep(kWindowWaitMs);
  }
  if (!window) return Outcome::kPresented;
  // The running instance may take the foreground from this process only
  // when this process allows it.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  COPYDATASTRUCT data{};
  data.dwData = kOpenFileData;
  data.cbData = static_cast<DWORD>(openPath.size());
  data.lpData = const_cast<char*>(openPath.data());
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                      5000, &answer);
  return Outcome::kPresented;
}

}  // namespace kr7::shell
