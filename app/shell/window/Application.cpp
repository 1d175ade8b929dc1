#include "app/shell/window/Application.h"

#include <gtk/gtk.h>
#include <glib-unix.h>

#include <csignal>
#include <memory>
#include <utility>
#include <optional>

#include "app/shell/Manual.h"
#include "app/shell/MenuCommands.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/window/Dialogs.h"
#include "app/shell/window/Host.h"
#include "app/shell/window/MainWindow.h"
#include "app/shell/window/MidiMonitorWindow.h"
#include "app/shell/window/PreferencesDialog.h"
#include "resources/Resources.h"

namespace kr7::shell {
namespace {

constexpr const char* kProductName = "KR7Control";
constexpr guint kDetectionTickMs = 100;

struct Running {
  Host* host = nullptr;
  MainWindow* window = nullptr;
  std::unique_ptr<MidiMonitorWindow> monitor;
};

void ShowPlainAbout(GtkWindow* parent) {
  ShowMessageBox(parent,
                 "KR7Control v1.2.0\nEditor for the Norvane Valvora KR7\nBuilt " __DATE__,
                 false, kProductName);
}

void ReadManual(GtkWindow* parent, const DataFolder& folder) {
  const auto embedded = FindResource(kResourceIdManual);
  const ManualFile manual =
      PrepareManual(folder.Base(), embedded.value_or(std::span<const std::uint8_t>{}));
  if (manual.status == ManualFile::Status::kPathTooLong) {
    ShowMessageBox(parent,
                   "The manual cannot be written: the path of the data folder is too long.\n" +
                       folder.Base(),
                   false, kProductName);
    return;
  }
  if (!OpenWithDefaultApplication(manual.path))
    ShowMessageBox(parent, "No application could open the manual:\n" + manual.path, false,
                   kProductName);
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
      PreferencesSession session(host.CurrentSettings(), host);
      RunPreferencesDialog(parent, session, host, host.Detection());
      // The stored names follow the dialog either way; Cancel restored them.
      host.WriteSettings();
      break;
    }
    case kCmdAbout:
      ShowPlainAbout(parent);
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
  DataFolder folder;
  CreateFolder(folder.Base());
  SingleInstance instance(folder.Base());
  if (instance.Acquire() != SingleInstance::Outcome::kFirst) return 0;

  // Everything is drawn with Cairo: GDK's OpenGL set-up would only load the
  // GL driver stack (tens of megabytes) for nothing.
  g_setenv("GDK_GL", "disable", FALSE);
  gtk_init(&argc, &argv);
  g_set_prgname(kProductName);
  g_set_application_name(kProductName);

  auto host = std::make_unique<Host>(folder);
  Running running;
  running.host = host.get();
  auto window = std::make_unique<MainWindow>(
      host->Control(), host->Settings().ReadScale(),
      [&running](int commandId) { OnMenuCommand(running, commandId); },
      [&host](double scale) {
        host->Settings().WriteScale(scale);
        gtk_main_quit();
      });
  running.window = window.get();

  std::pair<SingleInstance*, Running*> watchData{&instance, &running};
  guint presentWatch = 0;
  if (instance.ListenFd() >= 0) {
    presentWatch = g_unix_fd_add(
        instance.ListenFd(), G_IO_IN,
        +[](gint, GIOCondition, gpointer data) -> gboolean {
          auto* watch = static_cast<std::pair<SingleInstance*, Running*>*>(data);
          if (watch->first->TakeRequest() && watch->second->window)
            watch->second->window->Present();
          return G_SOURCE_CONTINUE;
        },
        &watchData);
  }
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
  if (presentWatch) g_source_remove(presentWatch);
  running.monitor.reset();
  running.window = nullptr;
  window.reset();
  host.reset();
  return 0;
}

}  // namespace kr7::shell
