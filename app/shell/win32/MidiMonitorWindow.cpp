#include "app/shell/win32/MidiMonitorWindow.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "model/win32/WideText.h"

namespace kr7::shell {
namespace {

constexpr UINT kDrainMs = 100;
constexpr UINT_PTR kDrainTimer = 1;
constexpr int kSaveId = 1, kOpenId = 2, kRowsId = 3;
constexpr const wchar_t* kClass = L"KR7ControlMidiMonitor";
constexpr int kMargin = 6, kButtonWidth = 90, kBarHeight = 26;

struct Column {
  const wchar_t* heading;
  int width;
};
constexpr std::array kColumns{Column{L"Time", 100}, Column{L"Direction", 70}, Column{L"Length", 60},
                              Column{L"Message", 220}, Column{L"Fields", 420}};

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int id) {
  const HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

}  // namespace

MidiMonitorWindow::MidiMonitorWindow(HWND owner, MidiMonitor& monitor) : MonitorWindow(monitor) {
  Build(owner, L"MIDI Monitor");
  mMonitor->SetEnabled(true);
  SetTimer(mWindow, kDrainTimer, kDrainMs, nullptr);
}

MidiMonitorWindow::MidiMonitorWindow(HWND owner, MonitorLog log) : MonitorWindow(std::move(log)) {
  Build(owner, L"MIDI Monitor (saved)");
  ShowRows();
}

MidiMonitorWindow::~MidiMonitorWindow() {
  if (mWindow) DestroyWindow(mWindow);
}

void MidiMonitorWindow::Build(HWND owner, const wchar_t* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &MidiMonitorWindow::Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClass;
  RegisterClassW(&windowClass);
  CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 900, 500,
                  owner, nullptr, windowClass.hInstance, this);
  // A virtual list: the view holds no texts, it asks for the rows it shows.
  mRows = Child(mWindow, WC_LISTVIEWW, L"",
                WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, kRowsId);
  ListView_SetExtendedListViewStyle(mRows, LVS_EX_FULLROWSELECT);
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(kColumns[i].heading);
    column.cx = kColumns[i].width;
    ListView_InsertColumn(mRows, static_cast<int>(i), &column);
  }
  mCounts = Child(mWindow, L"STATIC", L"", SS_LEFT | SS_CENTERIMAGE, 0);
  mOpenButton = Child(mWindow, L"BUTTON", L"Open...", BS_PUSHBUTTON | WS_TABSTOP, kOpenId);
  mSaveButton = Child(mWindow, L"BUTTON", L"Save...", BS_PUSHBUTTON | WS_TABSTOP, kSaveId);
  Layout();
  ShowRows();
  ShowWindow(mWindow, SW_SHOW);
}

void MidiMonitorWindow::Layout() {
  RECT client{};
  GetClientRect(mWindow, &client);
  const int width = client.right, height = client.bottom;
  const int barTop = height - kMargin - kBarHeight;
  MoveWindow(mRows, kMargin, kMargin, width - 2 * kMargin, barTop - 2 * kMargin, TRUE);
  MoveWindow(mCounts, kMargin, barTop, width - 4 * kMargin - 2 * kButtonWidth, kBarHeight, TRUE);
  MoveWindow(mOpenButton, width - 2 * kMargin - 2 * kButtonWidth, barTop, kButtonWidth, kBarHeight, TRUE);
  MoveWindow(mSaveButton, width - kMargin - kButtonWidth, barTop, kButtonWidth, kBarHeight, TRUE);
}

void MidiMonitorWindow::Present() {
  if (mWindow) SetForegroundWindow(mWindow);
}

void MidiMonitorWindow::Drain() {
  const MonitorList::Change change = TakeRecorded();
  if (change.leaving || !change.added.empty()) ShowRows();
}

void MidiMonitorWindow::ShowRows() {
  ListView_SetItemCountEx(mRows, static_cast<int>(mList.Log().entries.size()),
                          LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  InvalidateRect(mRows, nullptr, FALSE);
  SetWindowTextW(mCounts, Widen(mList.CountsText()).c_str());
}

void MidiMonitorWindow::FillRow(NMLVDISPINFOW& request) {
  LVITEMW& item = request.item;
  const auto& entries = mList.Log().entries;
  if (!(item.mask & LVIF_TEXT) || item.iItem < 0 ||
      static_cast<std::size_t>(item.iItem) >= entries.size())
    return;
  const MonitorEntry& entry = entries[static_cast<std::size_t>(item.iItem)];
  switch (item.iSubItem) {
    case 0: mCell = Widen(FormatMonitorTime(entry.milliseconds)); break;
    case 1: mCell = entry.direction == MonitorDirection::In ? L"IN" : L"OUT"; break;
    case 2: mCell = std::to_wstring(entry.length); break;
    case 3: mCell = Widen(entry.name); break;
    default: mCell = Widen(entry.fields); break;
  }
  item.pszText = mCell.data();
}

void MidiMonitorWindow::Open() {
  if (std::optional<MonitorLog> log = ChooseSavedList())
    mOpened = std::make_unique<MidiMonitorWindow>(mWindow, std::move(*log));
}

LRESULT CALLBACK MidiMonitorWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<MidiMonitorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->mWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MidiMonitorWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->mWindow) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MidiMonitorWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kDrainTimer && mMonitor) Drain();
      return 0;
    case WM_SIZE:
      if (mRows) Layout();
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == mRows && header->code == LVN_GETDISPINFOW)
        FillRow(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kSaveId) Save();
      if (LOWORD(wParam) == kOpenId) Open();
      return 0;
    case WM_DESTROY: {
      const HWND window = mWindow;
      KillTimer(window, kDrainTimer);
      StopRecording();
      mWindow = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(mWindow, message, wParam, lParam);
}

}  // namespace kr7::shell
