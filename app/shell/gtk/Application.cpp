#include "app/shell/gtk/Application.h"

#include <gtk/gtk.h>
#include <glib-unix.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/shell/CommandLine.h"
#include "app/shell/Host.h"
#include "app/shell/ShellActions.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/gtk/MainWindow.h"
#include "app/shell/gtk/MidiMonitorWindow.h"
#include "app/shell/window/DesktopWindows.h"

namespace kr7::shell {
namespace {

constexpr guint kDetectionTickMs = 100;

struct Running {
  explicit Running(Host& theHost) : host(&theHost), windows(theHost) {}

  Host* host;
  DesktopWindows<MidiMonitorWindow> windows;
  MainWindow* window = nullptr;
  SingleInstance* instance = nullptr;
  // The file named at the first start, until it is opened.
  std::string startFileName;
  std::optional<StartFile> startFile;
  guint startFileWatch = 0;
};

gboolean OpenStartFileWhenReady(gpointer data) {
  auto& running = *static_cast<Running*>(data);
  if (!running.startFile->Due(running.host->Control().Session())) return G_SOURCE_CONTINUE;
  running.startFileWatch = 0;
  const std::string path = running.startFile->Path();
  running.startFile.reset();
  running.windows.OpenFile(path);
  return G_SOURCE_REMOVE;
}

// Start steps 4 and 5 for the devices, after the first frame; then the file
// named on the command line.
void OnFirstFrame(Running& running) {
  running.windows.OpenDevices();
  if (running.startFileName.empty()) return;
  running.startFile.emplace(std::exchange(running.startFileName, {}));
  running.startFileWatch = g_timeout_add(StartFile::kTickMs, &OpenStartFileWhenReady, &running);
}

gboolean OnInstanceRequest(gint, GIOCondition, gpointer data) {
  auto& running = *static_cast<Running*>(data);
  const std::optional<std::string> request = running.instance->TakeRequest();
  if (!request || !running.window) return G_SOURCE_CONTINUE;
  running.window->Present();
  if (!request->empty()) running.windows.OpenFile(*request);
  return G_SOURCE_CONTINUE;
}

// The path as the running instance, with another working folder, sees it.
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

int RunEditor(int argc, char** argv) {
  // Everything is drawn with Cairo: GDK's OpenGL set-up would only load the
  // GL driver stack (tens of megabytes) for nothing. GDK reads the variable
  // when it parses its options, so it is set first.
  g_setenv("GDK_GL", "disable", FALSE);
  // GTK's own options (--display, ...) come out first; this opens no display.
  gtk_parse_args(&argc, &argv);
  const std::vector<std::string_view> args(argv + std::min(argc, 1), argv + argc);
  const StartRequest request = ParseCommandLine(args);
  switch (request.action) {
    case StartAction::kHelp:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case StartAction::kVersion:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case StartAction::kBadUsage:
      std::fprintf(stderr, "kr7control: %s\nTry 'kr7control --help'.\n", request.error.c_str());
      return 2;
    case StartAction::kRun:
      break;
  }
  const std::string file = request.file.empty() ? std::string() : AbsolutePath(request.file);

  DataFolder folder;
  CreateFolder(folder.Base());
  SingleInstance instance(folder.Base());
  if (instance.Acquire(file) != SingleInstance::Outcome::kFirst) return 0;

  gtk_init(&argc, &argv);
  g_set_prgname(std::string(kProductName).c_str());
  g_set_application_name(std::string(kProductName).c_str());

  auto host = std::make_unique<Host>(folder);
  Running running(*host);
  running.instance = &instance;
  running.startFileName = file;
  auto window = std::make_unique<MainWindow>(
      host->Control(), host->Settings().ReadScale(),
      [&running](int commandId) { RunMenuCommand(*running.host, commandId, running.windows); },
      [&host](double scale) {
        host->Settings().WriteScale(scale);
        gtk_main_quit();
      });
  running.window = window.get();
  running.windows.SetMainWindow(window.get());
  window->SetFirstFrameHandler([&running] { OnFirstFrame(running); });

  guint presentWatch = 0;
  if (instance.ListenFd() >= 0)
    presentWatch = g_unix_fd_add(instance.ListenFd(), G_IO_IN, &OnInstanceRequest, &running);
  // A termination request closes the window like the user would, so the
  // shutdown order (EditorClosed, scale, audio, ports) holds.
  const guint termWatch = g_unix_signal_add(
      SIGTERM,
      +[](gpointer data) -> gboolean {
        auto* r = static_cast<Running*>(data);
        if (r->window) r->window->Close();
        return G_SOURCE_CONTINUE;
      },
      &running);

  // The pedal search keeps the device tick's pace on a timer of its own.
  const guint detectionTimer = g_timeout_add(
      kDetectionTickMs,
      +[](gpointer data) -> gboolean {
        if (PedalDetection* detection = static_cast<Host*>(data)->Detection()) detection->Tick();
        return G_SOURCE_CONTINUE;
      },
      host.get());

  gtk_main();

  g_source_remove(detectionTimer);
  g_source_remove(termWatch);
  if (running.startFileWatch) g_source_remove(running.startFileWatch);
  if (presentWatch) g_source_remove(presentWatch);
  running.windows.CloseMonitor();
  running.windows.SetMainWindow(nullptr);
  running.window = nullptr;
  window.reset();
  host.reset();
  return 0;
}

}  // namespace kr7::shell
