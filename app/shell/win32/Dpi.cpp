#include "app/shell/win32/Dpi.h"

namespace kr7::shell {
namespace {

template <class Function>
Function User32(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);
using GetWindowDpi = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

UINT DpiOf(HWND window) {
  static const GetWindowDpi getDpi = User32<GetWindowDpi>("GetDpiForWindow");
  const UINT dpi = getDpi && window ? getDpi(window) : 0;
  return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

void MakeProcessDpiAware() {
  if (const auto set = User32<SetAwarenessContext>("SetProcessDpiAwarenessContext"))
    set(kPerMonitorAwareV2);
}

float DpiScaleOf(HWND window) {
  return static_cast<float>(DpiOf(window)) / USER_DEFAULT_SCREEN_DPI;
}

void AdjustOuterRect(RECT& rect, DWORD style, bool hasMenu, HWND window) {
  static const AdjustForDpi adjust = User32<AdjustForDpi>("AdjustWindowRectExForDpi");
  if (adjust) adjust(&rect, style, hasMenu, 0, DpiOf(window));
  else AdjustWindowRectEx(&rect, style, hasMenu, 0);
}

}  // namespace kr7::shell
