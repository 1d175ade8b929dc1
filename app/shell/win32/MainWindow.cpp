#include "app/shell/win32/MainWindow.h"

#include <windowsx.h>

#include <cctype>
#include <cmath>
#include <string>
#include <utility>

#include "app/core/KR7Control.h"
#include "app/shell/MenuCommands.h"
#include "app/shell/win32/Dpi.h"
#include "model/win32/WideText.h"
#include "ui/pages/Pages.h"

namespace kr7::shell {
namespace {

constexpr UINT kDeviceTickMs = 100;
constexpr UINT kFrameworkTimerMs = 20;
constexpr UINT_PTR kDeviceTimer = 1;
constexpr UINT_PTR kFrameworkTimer = 2;
constexpr UINT kFirstFrameShown = WM_APP + 2;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kIconResource = 1;
constexpr float kWheelNotch = WHEEL_DELTA;

igraphics::IMouseMod Modifiers(bool left, bool right) {
  igraphics::IMouseMod mod;
  mod.L = left;
  mod.R = right;
  mod.S = GetKeyState(VK_SHIFT) < 0;
  mod.C = GetKeyState(VK_CONTROL) < 0;
  mod.A = GetKeyState(VK_MENU) < 0;
  return mod;
}

// The table spells accelerators the GTK way ("<Control>comma"); Windows
// wants a virtual key and shows "Ctrl+," after a tab in the entry.
struct Accelerator {
  WORD key = 0;
  BYTE flags = FVIRTKEY;
  std::wstring label;
};

Accelerator ParseAccelerator(std::string_view keys) {
  Accelerator accelerator;
  constexpr std::string_view kControl = "<Control>";
  if (keys.starts_with(kControl)) {
    accelerator.flags |= FCONTROL;
    accelerator.label = L"Ctrl+";
    keys.remove_prefix(kControl.size());
  }
  if (keys == "comma") {
    accelerator.key = VK_OEM_COMMA;
    accelerator.label += L",";
  } else if (keys.size() == 1) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(keys[0])));
    accelerator.key = static_cast<WORD>(c);
    accelerator.label += static_cast<wchar_t>(c);
  }
  return accelerator;
}

}  // namespace

MainWindow::MainWindow(KR7Control& control, double scale, CommandHandler onCommand,
                       CloseHandler onClose)
    : EditorWindow(control, scale, std::move(onCommand), std::move(onClose)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &MainWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  windowClass.hIconSm = windowClass.hIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExW(&windowClass);

  // Created hidden at the origin: its DPI is known only once it exists.
  CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, kStyle, 0, 0, 100, 100, nullptr,
                  nullptr, instance, this);
  mDpiScale = DpiScaleOf(mWindow);
  BuildMenu();
  // Screens at 150 % and more draw the @2x artwork.
  mPages.Open(mDpiScale >= 1.5f ? 2 : 1);

  const SIZE size = OuterSize();
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - size.cx / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - size.cy / 2;
  SetWindowPos(mWindow, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  mGraphics->SetAllControlsDirty();
  RequestRedraw();
  SetTimer(mWindow, kDeviceTimer, kDeviceTickMs, nullptr);
  SetTimer(mWindow, kFrameworkTimer, kFrameworkTimerMs, nullptr);
  ShowWindow(mWindow, SW_SHOW);
  UpdateWindow(mWindow);
}

MainWindow::~MainWindow() {
  Close();
  if (mAccelerators) DestroyAcceleratorTable(mAccelerators);
}

void MainWindow::BuildMenu() {
  HMENU bar = CreateMenu();
  std::vector<ACCEL> accelerators;
  for (const MenuPopup& popup : MainMenu()) {
    HMENU menu = CreatePopupMenu();
    for (const MenuEntry& entry : popup.entries) {
      if (entry.commandId == 0) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      std::wstring label = Widen(entry.label);
      if (!entry.accelerator.empty()) {
        const Accelerator accelerator = ParseAccelerator(entry.accelerator);
        label += L"\t" + accelerator.label;
        accelerators.push_back(
            {accelerator.flags, accelerator.key, static_cast<WORD>(entry.commandId)});
      }
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.commandId), label.c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), Widen(popup.label).c_str());
  }
  SetMenu(mWindow, bar);
  mAccelerators = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
}

float MainWindow::PixelsPerUnit() const { return mGraphics->GetDrawScale() * mDpiScale; }

float MainWindow::ToDesign(int pixels) const {
  return static_cast<float>(pixels) / PixelsPerUnit();
}

SIZE MainWindow::OuterSize(float clientWidth, float clientHeight) const {
  RECT outer{0, 0, static_cast<LONG>(std::lround(clientWidth * mDpiScale)),
             static_cast<LONG>(std::lround(clientHeight * mDpiScale))};
  AdjustOuterRect(outer, kStyle, true, mWindow);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

SIZE MainWindow::OuterSize() const {
  return OuterSize(static_cast<float>(mGraphics->WindowWidth()),
                   static_cast<float>(mGraphics->WindowHeight()));
}

void MainWindow::FitToEditor() {
  const SIZE size = OuterSize();
  SetWindowPos(mWindow, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  mGraphics->SetAllControlsDirty();
  RequestRedraw();
}

void MainWindow::Present() {
  if (!mWindow) return;
  if (IsIconic(mWindow)) ShowWindow(mWindow, SW_RESTORE);
  SetForegroundWindow(mWindow);
}

void MainWindow::Close() {
  if (mWindow) DestroyWindow(mWindow);
}

void MainWindow::OnDestroyed() {
  KillTimer(mWindow, kDeviceTimer);
  KillTimer(mWindow, kFrameworkTimer);
  mWindow = nullptr;
  if (mBackBuffer) cairo_surface_destroy(mBackBuffer);
  mBackBuffer = nullptr;
  ReleaseEditor();
}

// --- IGraphicsHost --------------------------------------------------------------

void MainWindow::OnScaleChanged(int, int) {
  if (mWindow) FitToEditor();
}

void MainWindow::RequestRedraw() {
  if (!mWindow) return;
  const float scale = PixelsPerUnit();
  for (const igraphics::Rect& dirty : mGraphics->TakeDirtyRects()) {
    mPending.push_back(dirty);
    const PixelArea area = PixelsOf(dirty, scale);
    const RECT pixels{area.left, area.top, area.right, area.bottom};
    InvalidateRect(mWindow, &pixels, FALSE);
  }
}

void MainWindow::HideCursor(bool hide) {
  if (hide == mCursorHidden) return;
  mCursorHidden = hide;
  SetCursor(hide ? nullptr : LoadCursorW(nullptr, IDC_ARROW));
}

// --- Painting ---------------------------------------------------------------------

void MainWindow::Paint() {
  RECT client{};
  GetClientRect(mWindow, &client);
  const int width = client.right, height = client.bottom;
  if (width > 0 && height > 0 &&
      (!mBackBuffer || cairo_image_surface_get_width(mBackBuffer) != width ||
       cairo_image_surface_get_height(mBackBuffer) != height)) {
    if (mBackBuffer) cairo_surface_destroy(mBackBuffer);
    // RGB24 is laid out as a 32-bit top-down DIB, so the buffer goes to the
    // screen as it is.
    mBackBuffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    mPending.assign(1, mGraphics->GetBounds());
  }
  if (mBackBuffer && !mPending.empty()) {
    cairo_t* cr = cairo_create(mBackBuffer);
    cairo_scale(cr, mDpiScale, mDpiScale);
    for (const igraphics::Rect& area : mPending) mGraphics->Draw(cr, area);
    cairo_destroy(cr);
    cairo_surface_flush(mBackBuffer);
    mPending.clear();
  }

  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(mWindow, &paint);
  if (mBackBuffer) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cairo_image_surface_get_stride(mBackBuffer) / 4;
    info.bmiHeader.biHeight = -cairo_image_surface_get_height(mBackBuffer);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // The paint DC is clipped to the damaged region, so handing over the
    // whole buffer copies only what changed.
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), cairo_image_surface_get_data(mBackBuffer), &info,
                      DIB_RGB_COLORS);
  }
  EndPaint(mWindow, &paint);
  // The frame is on the screen now; what waits for it runs from the loop.
  if (WaitsForFirstFrame()) PostMessageW(mWindow, kFirstFrameShown, 0, 0);
}

// --- Input ------------------------------------------------------------------------

void MainWindow::OnButton(UINT message, LPARAM lParam) {
  const float x = ToDesign(GET_X_LPARAM(lParam)), y = ToDesign(GET_Y_LPARAM(lParam));
  const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
  const igraphics::IMouseMod mod = Modifiers(left, !left);
  SetFocus(mWindow);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      SetCapture(mWindow);
      PressAt(x, y, mod);
      // The second click arrives as the double-click alone; the toolkit
      // expects its press first, as GTK reports it.
      if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK)
        mGraphics->OnMouseDblClick(x, y, mod);
      break;
    default:  // a button went up
      if (GetCapture() == mWindow) ReleaseCapture();
      ReleaseAt(x, y, mod);
      break;
  }
  RequestRedraw();
}

void MainWindow::OnMove(LPARAM lParam) {
  if (!mTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, mWindow, 0};
    mTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  MoveTo(ToDesign(GET_X_LPARAM(lParam)), ToDesign(GET_Y_LPARAM(lParam)),
         Modifiers(GetKeyState(VK_LBUTTON) < 0, GetKeyState(VK_RBUTTON) < 0));
  RequestRedraw();
}

void MainWindow::OnWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel reports where the pointer is on the screen.
  POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(mWindow, &where);
  const float notches = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / kWheelNotch;
  mGraphics->OnMouseWheel(ToDesign(where.x), ToDesign(where.y), Modifiers(false, false), notches);
  RequestRedraw();
}

bool MainWindow::OnKey(WPARAM key) {
  using igraphics::EKey;
  igraphics::IKeyPress press;
  switch (key) {
    case VK_BACK: press.Key = EKey::kBackspace; break;
    case VK_DELETE: press.Key = EKey::kDelete; break;
    case VK_LEFT: press.Key = EKey::kLeft; break;
    case VK_RIGHT: press.Key = EKey::kRight; break;
    case VK_UP: press.Key = EKey::kUp; break;
    case VK_DOWN: press.Key = EKey::kDown; break;
    case VK_HOME: press.Key = EKey::kHome; break;
    case VK_END: press.Key = EKey::kEnd; break;
    case VK_RETURN: press.Key = EKey::kReturn; break;
    case VK_ESCAPE: press.Key = EKey::kEscape; break;
    case VK_TAB: press.Key = EKey::kTab; break;
    default: return false;  // characters come as WM_CHAR
  }
  press.Mod = Modifiers(false, false);
  const bool used = mGraphics->OnKeyDown(press);
  RequestRedraw();
  return used;
}

bool MainWindow::OnCharacter(wchar_t unit) {
  // Control characters were keys already (WM_KEYDOWN).
  if (unit < 0x20 || unit == 0x7F) return false;
  if (IS_HIGH_SURROGATE(unit)) {
    mHighSurrogate = unit;
    return true;
  }
  std::wstring character;
  if (IS_LOW_SURROGATE(unit)) {
    if (!mHighSurrogate) return false;
    character.push_back(std::exchange(mHighSurrogate, 0));
  }
  character.push_back(unit);
  igraphics::IKeyPress press;
  press.Utf8 = Narrow(character);
  press.Mod = Modifiers(false, false);
  const bool used = mGraphics->OnKeyDown(press);
  RequestRedraw();
  return used;
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  mDpiScale = static_cast<float>(dpi) / USER_DEFAULT_SCREEN_DPI;
  mGraphics->SetScreenScale(mDpiScale >= 1.5f ? 2 : 1);
  // The suggested place, with the size the editor needs at the new scale.
  const SIZE size = OuterSize();
  SetWindowPos(mWindow, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  mGraphics->SetAllControlsDirty();
  RequestRedraw();
}

void MainWindow::OnCopyData(const COPYDATASTRUCT& data) {
  if (data.dwData != kOpenFileData) return;
  const std::string request(static_cast<const char*>(data.lpData), data.cbData);
  Present();
  if (mOnOpenFile) mOnOpenFile(request);
}

// --- The window procedure -----------------------------------------------------------

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->mWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->mWindow) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kDeviceTimer) {
        mControl.OnDeviceTick();
        if (mOnTick) mOnTick();
      } else if (wParam == kFrameworkTimer) {
        FrameworkTick();
      }
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every pixel comes from the back buffer
    case kFirstFrameShown:
      RunFirstFrameHandler();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      OnButton(message, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMove(lParam);
      return 0;
    case WM_MOUSELEAVE:
      mTrackingLeave = false;
      Leave();
      RequestRedraw();
      return 0;
    case WM_CAPTURECHANGED:
      mButtonDown = false;
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      if (OnKey(wParam)) return 0;
      break;
    case WM_CHAR:
      if (OnCharacter(static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_SETCURSOR:
      if (mCursorHidden && LOWORD(lParam) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) <= 1) {  // a menu entry or an accelerator
        RunCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_GETMINMAXINFO: {
      // The editor's own limits, in pixels of this monitor.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      const SIZE smallest = OuterSize(pages::kDesignWidth * pages::kMinScale,
                                      pages::kDesignHeight * pages::kMinScale);
      const SIZE largest = OuterSize(pages::kDesignWidth * pages::kMaxScale,
                                     pages::kDesignHeight * pages::kMaxScale);
      limits->ptMinTrackSize = {smallest.cx, smallest.cy};
      limits->ptMaxTrackSize = {largest.cx, largest.cy};
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COPYDATA:
      OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return TRUE;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY: {
      const HWND window = mWindow;
      OnDestroyed();
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(mWindow, message, wParam, lParam);
}

}  // namespace kr7::shell
