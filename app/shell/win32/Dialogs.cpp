#include "app/shell/window/Dialogs.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <wininet.h>

#include <deque>
#include <vector>

#include "app/shell/ShellActions.h"
#include "model/win32/WideText.h"

namespace kr7::shell {
namespace {

constexpr UINT kShowWaitingBoxes = WM_APP + 1;

struct WaitingBox {
  HWND owner;
  std::wstring text;
  std::wstring caption;
};

// The informative boxes of the program, on the UI thread only.
struct InformationBoxes {
  HWND messages = nullptr;  // message-only window that shows them from the loop
  bool onScreen = false;
  std::deque<WaitingBox> waiting;
};

InformationBoxes& Boxes() {
  static InformationBoxes boxes;
  return boxes;
}

void ShowWaitingBoxes() {
  InformationBoxes& boxes = Boxes();
  // A box's own loop lands here again for the next post; the outer call
  // shows what arrived when the box on screen goes.
  if (boxes.onScreen) return;
  while (!boxes.waiting.empty()) {
    const WaitingBox next = std::move(boxes.waiting.front());
    boxes.waiting.pop_front();
    boxes.onScreen = true;
    MessageBoxW(IsWindow(next.owner) ? next.owner : nullptr, next.text.c_str(),
                next.caption.c_str(), MB_OK);
    boxes.onScreen = false;
  }
}

LRESULT CALLBACK MessagesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kShowWaitingBoxes) {
    ShowWaitingBoxes();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MessagesWindow() {
  InformationBoxes& boxes = Boxes();
  if (!boxes.messages) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &MessagesProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KR7ControlMessages";
    RegisterClassW(&windowClass);
    boxes.messages = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                     HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
  }
  return boxes.messages;
}

}  // namespace

bool ShowMessageBox(HWND owner, std::string_view text, bool okCancel, std::string_view caption) {
  if (okCancel)
    return MessageBoxW(owner, Widen(text).c_str(), Widen(MessageBoxTitle(caption)).c_str(),
                       MB_OKCANCEL) == IDOK;
  Boxes().waiting.push_back({owner, Widen(text), Widen(MessageBoxTitle(caption))});
  PostMessageW(MessagesWindow(), kShowWaitingBoxes, 0, 0);
  return true;
}

std::optional<std::string> ChooseFile(HWND owner, const FileRequest& request) {
  // "R3P files (*.r3p)\0*.r3p\0\0": the system matches extensions without
  // regard to case.
  const std::wstring pattern = L"*." + Widen(request.extension);
  std::wstring filter;
  if (!request.extension.empty()) {
    filter = pattern + L" files";
    filter.push_back(L'\0');
    filter += pattern;
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  std::vector<wchar_t> name(32768, L'\0');
  if (request.save) {
    const std::wstring initial = Widen(request.initialName);
    initial.copy(name.data(), name.size() - 1);
  }
  const std::wstring folder = Widen(request.initialFolder);
  const std::wstring extension = Widen(request.extension);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                 (request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return Narrow(name.data());
}

void SetWindowTitle(HWND window, std::string_view title) {
  SetWindowTextW(window, Widen(title).c_str());
}

bool OpenWithDefaultApplication(const std::string& path) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool OpenLinkWhenOnline(std::string_view url) {
  DWORD how = 0;
  if (!InternetGetConnectedState(&how, 0)) return false;
  return OpenWithDefaultApplication(std::string(url));
}

}  // namespace kr7::shell
