#include "app/shell/win32/Application.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/KR7Control.h"
#include "app/shell/CommandLine.h"
#include "app/shell/Host.h"
#include "app/shell/ShellActions.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/win32/Dpi.h"
#include "app/shell/win32/HandOff.h"
#include "app/shell/win32/MainWindow.h"
#include "app/shell/win32/MidiMonitorWindow.h"
#include "app/shell/window/DesktopWindows.h"
#include "model/win32/WideText.h"

namespace kr7::shell {
namespace {

struct Running {
  explicit Running(Host& theHost) : host(&theHost), windows(theHost) {}

  Host* host;
  DesktopWindows<MidiMonitorWindow> windows;
  std::optional<StartFile> startFile;
};

// The command line as UTF-8 words, whatever the user's code page.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(words[i]));
  LocalFree(words);
  return arguments;
}

// A windowed program has no console of its own; --help and --version answer
// into the one it was started from, when there is one.
void Print(DWORD stream, std::string_view text) {
  HANDLE where = GetStdHandle(stream);
  const bool attached = !where || where == INVALID_HANDLE_VALUE;
  if (attached) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    where = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (where == INVALID_HANDLE_VALUE) return;
  }
  DWORD written = 0;
  WriteFile(where, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (attached) CloseHandle(where);
}

// The path as the running instance, with another working folder, sees it.
std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = Widen(path);
  std::vector<wchar_t> full(32768);
  const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  return length == 0 || length >= full.size() ? path : Narrow(std::wstring_view(full.data(), length));
}

void OnTick(Running& running) {
  if (PedalDetection* detection = running.host->Detection()) detection->Tick();
  if (running.startFile && running.startFile->Due(running.host->Control().Session())) {
    const std::string path = running.startFile->Path();
    running.startFile.reset();
    running.windows.OpenFile(path);
  }
}

int RunMessageLoop(const MainWindow& window) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) {
      Sleep(10);
      continue;
    }
    if (window.IsOpen() && TranslateAcceleratorW(window.Window(), window.Accelerators(), &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int RunEditor() {
  const std::vector<std::string> words = Arguments();
  const std::vector<std::string_view> args(words.begin(), words.end());
  const StartRequest request = ParseCommandLine(args);
  switch (request.action) {
    case StartAction::kHelp:
      Print(STD_OUTPUT_HANDLE, HelpText());
      return 0;
    case StartAction::kVersion:
      Print(STD_OUTPUT_HANDLE, VersionText());
      return 0;
    case StartAction::kBadUsage:
      Print(STD_ERROR_HANDLE,
            "kr7control: " + request.error + "\nTry 'kr7control --help'.\n");
      return 2;
    case StartAction::kRun:
      break;
  }
  const std::string file = request.file.empty() ? std::string() : AbsolutePath(request.file);

  // Before any window exists, so that every window is per-monitor aware.
  MakeProcessDpiAware();
  DataFolder folder;
  folder.CreateAll();
  SingleInstance instance(folder.Base(), &HandToRunningEditor);
  if (instance.Acquire(file) != SingleInstance::Outcome::kFirst) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  auto host = std::make_unique<Host>(folder);
  Running running(*host);
  if (!file.empty()) running.startFile.emplace(file);
  auto window = std::make_unique<MainWindow>(
      host->Control(), host->Settings().ReadScale(),
      [&running](int commandId) { RunMenuCommand(*running.host, commandId, running.windows); },
      [&host](double scale) { host->Settings().WriteScale(scale); });
  running.windows.SetMainWindow(window.get());
  // Start steps 4 and 5 for the devices, after the first frame.
  window->SetFirstFrameHandler([&running] { running.windows.OpenDevices(); });
  window->SetTickHandler([&running] { OnTick(running); });
  window->SetOpenFileHandler([&running](const std::string& request) {
    const std::optional<std::string> path = ParseInstanceRequest(request);
    if (path && !path->empty()) running.windows.OpenFile(*path);
  });

  const int code = RunMessageLoop(*window);

  running.windows.CloseMonitor();
  running.windows.SetMainWindow(nullptr);
  window.reset();
  host.reset();
  return code;
}

}  // namespace kr7::shell
