#pragma once
// Help ▸ MIDI Monitor: a window listing every SysEx message in both
// directions as the editor names it, with "Save..." writing the list as text
// for a bug report and "Open..." showing a saved list in a window of its own.
// Recording runs only while a live window is open; closing it switches the
// monitor off. The recording and the text belong to MidiMonitor; this only
// shows them.

#include <gtk/gtk.h>

#include "app/shell/window/MonitorWindow.h"

namespace kr7::shell {

class MidiMonitorWindow final : public MonitorWindow {
 public:
  // Live: switches monitor on and shows what it records.
  MidiMonitorWindow(GtkWindow* parent, MidiMonitor& monitor);
  // A saved list, read-only.
  MidiMonitorWindow(GtkWindow* parent, MonitorLog log);
  ~MidiMonitorWindow() override;

  void Present();

 private:
  void Build(GtkWindow* parent, const char* title);
  void Show(const MonitorList::Change& change);
  void ShowCounts();
  void Open();
  static gboolean Drain(gpointer self);

  GtkListStore* mRows = nullptr;
  GtkWidget* mCounts = nullptr;
  guint mTimer = 0;
};

}  // namespace kr7::shell
