#pragma once
// Per-monitor DPI awareness, reached through user32.dll's own exports: the
// calls exist from Windows 10 on, and an older system (or Wine without them)
// runs the window at 96 DPI.

#include <windows.h>

namespace kr7::shell {

// Makes the process per-monitor DPI aware (version 2) when the system can.
void MakeProcessDpiAware();
// The window's DPI over 96: 1 at 100 %, 1.5 at 150 %, 2 at 200 %.
float DpiScaleOf(HWND window);
// Grows a client rectangle to the outer one at the window's DPI.
void AdjustOuterRect(RECT& rect, DWORD style, bool hasMenu, HWND window);

}  // namespace kr7::shell
