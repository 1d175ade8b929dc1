#pragma once
// The main window "KR7Control" on Windows: the menu bar and accelerators of
// the menu table above a client area that shows the editor's surface at its
// stored scale. It draws what became dirty into a back buffer that WM_PAINT copies to the screen,
// translates window messages into design-unit events, and runs the device
// timer (100 ms) and the framework timer (20 ms) as window timers, which
// also tick inside the loops of message boxes and dialogs.
//
// Per-monitor DPI aware: the client area is the editor size times the
// monitor's scale, and the editor is drawn sharp at that scale.

#include <windows.h>

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "app/shell/window/EditorWindow.h"

namespace kr7::shell {

class MainWindow final : public EditorWindow {
 public:
  // Called after each device tick, for the shell's own 100 ms work.
  using TickHandler = std::function<void()>;
  // A later start's request (see InstanceRequest), after the window came
  // to the front.
  using OpenFileHandler = std::function<void(const std::string& request)>;

  MainWindow(KR7Control& control, double scale, CommandHandler onCommand, CloseHandler onClose);
  ~MainWindow() override;

  HACCEL Accelerators() const { return mAccelerators; }
  void Present();
  void Close() override;
  void SetTickHandler(TickHandler handler) { mOnTick = std::move(handler); }
  void SetOpenFileHandler(OpenFileHandler handler) { mOnOpenFile = std::move(handler); }

  // IGraphicsHost
  void OnScaleChanged(int widthPixels, int heightPixels) override;
  void RequestRedraw() override;
  void HideCursor(bool hide) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void BuildMenu();
  // The outer window size whose client area holds the editor (or the given
  // size in logical pixels) at this DPI.
  SIZE OuterSize() const;
  SIZE OuterSize(float clientWidth, float clientHeight) const;
  void FitToEditor();
  void Paint();
  void OnDestroyed();
  float PixelsPerUnit() const;
  float ToDesign(int pixels) const;
  void OnButton(UINT message, LPARAM lParam);
  void OnMove(LPARAM lParam);
  void OnWheel(WPARAM wParam, LPARAM lParam);
  bool OnKey(WPARAM key);
  bool OnCharacter(wchar_t unit);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnCopyData(const COPYDATASTRUCT& data);

  TickHandler mOnTick;
  OpenFileHandler mOnOpenFile;
  HACCEL mAccelerators = nullptr;
  float mDpiScale = 1.f;
  // What the screen shows, in device pixels; dirty areas (design units) are
  // drawn into it before a paint copies it out.
  cairo_surface_t* mBackBuffer = nullptr;
  std::vector<igraphics::Rect> mPending;
  bool mTrackingLeave = false;
  bool mCursorHidden = false;
  wchar_t mHighSurrogate = 0;
};

// The window class a later start looks for, and the WM_COPYDATA tag of the
// request it hands over.
inline constexpr const wchar_t* kMainWindowClass = L"KR7ControlMain";
inline constexpr const wchar_t* kMainWindowTitle = L"KR7Control";
inline constexpr ULONG_PTR kOpenFileData = 0x4B52370F;

}  // namespace kr7::shell
