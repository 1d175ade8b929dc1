#include "app/shell/win32/HandOff.h"

#include <windows.h>

#include "app/shell/win32/MainWindow.h"

namespace kr7::shell {
namespace {

// The first instance may still be opening its window when a second start
// looks for it.
constexpr int kWindowWaits = 50;
constexpr DWORD kWindowWaitMs = 100;
constexpr UINT kAnswerMs = 5000;

}  // namespace

bool HandToRunningEditor(const std::string& request) {
  HWND window = nullptr;
  for (int wait = 0; wait < kWindowWaits && !window; ++wait) {
    window = FindWindowW(kMainWindowClass, nullptr);
    if (!window) Sleep(kWindowWaitMs);
  }
  if (!window) return false;
  // The running editor may take the foreground from this process only when
  // this process allows it.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  COPYDATASTRUCT data{};
  data.dwData = kOpenFileData;
  data.cbData = static_cast<DWORD>(request.size());
  data.lpData = const_cast<char*>(request.data());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, kAnswerMs, &answer) != 0 &&
         answer == TRUE;
}

}  // namespace kr7::shell
