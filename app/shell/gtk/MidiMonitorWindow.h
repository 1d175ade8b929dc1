#pragma once
// Help ▸ MIDI Monitor: a window listing every SysEx message in both
// directions as the editor names it, with "Save..." writing the list as text
// for a bug report and "Open..." showing a saved list in a window of its own.
// Recording runs only while a live window is open; closing it switches the
// monitor off. The recording and the text belong to MidiMonitor; this only
// shows them.

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "app/shell/MonitorList.h"
#include "device/MidiMonitor.h"

namespace kr7::shell {

class MidiMonitorWindow {
 public:
  // Live: switches monitor on and shows what it records.
  MidiMonitorWindow(GtkWindow* parent, MidiMonitor& monitor);
  // A saved list, read-only.
  MidiMonitorWindow(GtkWindow* parent, MonitorLog log);
  ~MidiMonitorWindow();
  MidiMonitorWindow(const MidiMonitorWindow&) = delete;
  MidiMonitorWindow& operator=(const MidiMonitorWindow&) = delete;

  bool IsOpen() const { return mWindow != nullptr; }
  void Present();

 private:
  void Build(GtkWindow* parent, const char* title);
  void Append(std::vector<MonitorEntry> entries);
  void ShowCounts();
  void Save();
  void Open();
  static gboolean Drain(gpointer self);

  MidiMonitor* mMonitor = nullptr;
  MonitorList mList;
  GtkWindow* mWindow = nullptr;
  GtkListStore* mRows = nullptr;
  GtkWidget* mCounts = nullptr;
  guint mTimer = 0;
  std::unique_ptr<MidiMonitorWindow> mOpened;  // the last saved list opened
};

}  // namespace kr7::shell
