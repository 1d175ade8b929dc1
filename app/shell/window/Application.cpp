#include "app/shell/window/Application.h"

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
#include "app/shell/Manual.h"
#include "app/shell/MenuCommands.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/window/Dialogs.h"
#include "app/shell/window/Host.h"
#include "app/shell/window/MainWindow.h"
#include "app/shell/window/MidiMonitorWindow.h"
#include "app/shell/window/PreferencesDialog.h"
#include "model/UserTexts.h"
#include "resources/Resources.h"

namespace kr7::shell {
namespace {

constexpr const char* kProductName = "KR7Control";
constexpr guint kDetectionTickMs = 100;

// A file named at the first start waits this many ticks for a pedal to
// connect before it is applied to the editor alone.
constexpr int kStartFileWaitTicks = 50;
constexpr guint kStartFileTickMs = 100;

struct Running {
  Host* host = nullptr;
  MainWindow* window = nullptr;
  std::unique_ptr<MidiMonitorWindow> monitor;
  SingleInstance* instance = nullptr;
  // The file named at the first start, until it is opened.
  std::string startFile;
  // Whether it waits for the pedal (a good preset file, or a bank, which is
  // refused without a connection), read once when the watch starts.
  bool startFileWaits = false;
  int startFileTicks = 0;
  guint startFileWatch = 0;
};

void OpenFile(Running& running, const std::string& path) {
  KR7Control& control = running.host->Control();
  switch (KindOfFile(path)) {
    case OpenedFileKind::kPreset:
      control.PresetFiles().ImportPath(path);
      break;
    case OpenedFileKind::kBank:
      control.Streams().Import().StartFile(path);
      break;
    case OpenedFileKind::kUnknown:
      running.window->ShowMessage(kUnknownFileFormatText, "", igraphics::kMB_OK);
      break;
  }
}

bool IsGoodPresetFile(const std::string& path) {
  if (KindOfFile(path) != OpenedFileKind::kPreset) return false;
  const std::optional<std::vector<std::uint8_t>> image = ReadPresetFileImage(path);
  return image && CheckPresetFile(*image) == PresetFileCheck::kOk;
}

// A preset file applied before the pedal's own active preset arrived would
// be replaced by it, so a good one named at the start waits for the
// handshake to apply the pedal's preset (or for no pedal to answer); a bank
// waits the same, since its import needs the pedal. Refused files are
// reported at once.
gboolean OpenStartFileWhenReady(gpointer data) {
  auto& running = *static_cast<Running*>(data);
  const SessionState& session = running.host->Control().Session();
  const bool waitForPedal =
      running.startFileWaits &&
      (session.connected.load() ? session.activePresetPending.load()
                                : ++running.startFileTicks < kStartFileWaitTicks);
  if (waitForPedal) return G_SOURCE_CONTINUE;
  running.startFileWatch = 0;
  OpenFile(running, std::exchange(running.startFile, {}));
  return G_SOURCE_REMOVE;
}

// Start steps 4 and 5 for the devices, after the first frame; then the file
// named on the command line.
void OnFirstFrame(Running& running) {
  running.host->OpenDevices(running.window->Window());
  if (running.startFile.empty()) return;
  running.startFileWaits = IsGoodPresetFile(running.startFile) ||
                           KindOfFile(running.startFile) == OpenedFileKind::kBank;
  running.startFileWatch = g_timeout_add(kStartFileTickMs, &OpenStartFileWhenReady, &running);
}

gboolean OnInstanceRequest(gint, GIOCondition, gpointer data) {
  auto& running = *static_cast<Running*>(data);
  const std::optional<std::string> request = running.instance->TakeRequest();
  if (!request || !running.window) return G_SOURCE_CONTINUE;
  running.window->Present();
  if (!request->empty()) OpenFile(running, *request);
  return G_SOURCE_CONTINUE;
}

// The path as the running instance, with another working folder, sees it.
std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

void ShowPlainAbout(GtkWindow* parent) {
  ShowMessageBox(parent,
                 "KR7Control v1.2.0\nEditor for the Norvane Valvora KR7\nBuilt " __DATE__,
                 false, kProductName);
}

void ReadManual(GtkWindow* parent, const DataFolder& folder) {
  const auto embedded = FindResource(kResourceIdManual);
  const ManualFile manual =
      PrepareManual(folder.Base(), embedded.value_or(std::span<const std::uint8_t>{}));
  std::string problem;
  if (manual.status == ManualFile::Status::kPathTooLong) {
    problem = "The manual cannot be written: the path of the data folder is too long.\n" +
              folder.Base();
  } else if (manual.status == ManualFile::Status::kWriteFailed) {
    problem = "The manual could not be written:\n" + manual.path;
  } else if (!OpenWithDefaultApplication(manual.path)) {
    problem = "No application could open the manual:\n" + manual.path;
  }
  if (!problem.empty()) ShowMessageBox(parent, problem, false, kProductName);
}

void OnMenuCommand(Running& running, int commandId) {
  Host& host = *running.host;
  GtkWindow* parent = running.window ? running.window->Window() : nullptr;
  if (std::optional<int> code = EditorCommandCodeFor(commandId)) {
    host.Control().OnCommand(*code);
    return;
  }
  switch (commandId) {
    case kCmdMidiSettings: {
      host.OpenDevices(parent);
      PreferencesSession session(host.CurrentSettings(), host);
      RunPreferencesDialog(parent, session, host, host.Detection());
      // The stored names follow the dialog either way; Cancel restored them.
      host.WriteSettings();
      break;
    }
    case kCmdAbout:
      if (!host.Control().ShowAbout()) ShowPlainAbout(parent);
      break;
    case kCmdReadManual:
      ReadManual(parent, host.Control().Folder());
      break;
    case kCmdMidiMonitor:
      if (!running.monitor || !running.monitor->IsOpen())
        running.monitor = std::make_unique<MidiMonitorWindow>(parent, host.Control().Monitor());
      running.monitor->Present();
      break;
    default:
      break;
  }
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
  g_set_prgname(kProductName);
  g_set_application_name(kProductName);

  auto host = std::make_unique<Host>(folder);
  Running running;
  running.host = host.get();
  running.instance = &instance;
  running.startFile = file;
  auto window = std::make_unique<MainWindow>(
      host->Control(), host->Settings().ReadScale(),
      [&running](int commandId) { OnMenuCommand(running, commandId); },
      [&host](double scale) {
        host->Settings().WriteScale(scale);
        gtk_main_quit();
      });
  running.window = window.get();
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
  running.monitor.reset();
  running.window = nullptr;
  window.reset();
  host.reset();
  return 0;
}

}  // namespace kr7::shell
