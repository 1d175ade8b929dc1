#pragma once
// The program's windows as the menu commands and the start-up use them, the
// same on every system: message boxes, the preferences dialog and the live
// MIDI monitor, all over the main window once it exists. SystemMonitorWindow
// is the system's MonitorWindow (made over an owner and the monitor, with
// Present).

#include <memory>
#include <string>
#include <string_view>

#include "app/shell/Host.h"
#include "app/shell/ShellActions.h"
#include "app/shell/window/Dialogs.h"
#include "app/shell/window/EditorWindow.h"
#include "model/UserTexts.h"

namespace kr7::shell {

template <class SystemMonitorWindow>
class DesktopWindows final : public ShellWindows {
 public:
  explicit DesktopWindows(Host& host) : mHost(host) {}

  // The main window, from when it is made until before it goes.
  void SetMainWindow(const EditorWindow* window) { mWindow = window; }
  NativeWindow Owner() const { return mWindow ? mWindow->Window() : nullptr; }
  void CloseMonitor() { mMonitor.reset(); }

  // A file handed over by the command line or a later start; what is no
  // preset or bank is refused in a box.
  void OpenFile(const std::string& path) {
    OpenFileInEditor(mHost.Control(), path, [this](std::string_view text) { Notice(text, {}); });
  }

  // ShellWindows
  void Notice(std::string_view text, std::string_view caption) override {
    ShowMessageBox(Owner(), text, false, caption);
  }
  void OpenDevices() override {
    mHost.SetPedalKindHook([this](bool builtIn) {
      if (const NativeWindow owner = Owner())
        SetWindowTitle(owner, builtIn ? kBuiltInPedalTitle : kProductName);
    });
    mHost.OpenDevices(
        [this](const std::string& text, const std::string& caption) { Notice(text, caption); });
  }
  void RunPreferences(PreferencesSession& session) override {
    RunPreferencesDialog(Owner(), session, mHost, mHost.Detection());
  }
  void ShowMonitor() override {
    if (!mMonitor || !mMonitor->IsOpen())
      mMonitor = std::make_unique<SystemMonitorWindow>(Owner(), mHost.Control().Monitor());
    mMonitor->Present();
  }
  bool OpenDocument(const std::string& path) override { return OpenWithDefaultApplication(path); }

 private:
  Host& mHost;
  const EditorWindow* mWindow = nullptr;
  std::unique_ptr<SystemMonitorWindow> mMonitor;
};

}  // namespace kr7::shell
