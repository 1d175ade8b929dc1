#pragma once
// What a MIDI monitor window does the same on every system (gtk/ and win32/
// derive MidiMonitorWindow from it): a live one takes what the monitor
// recorded since it last asked and switches recording off when it goes;
// "Save..." writes its list through the system's dialogs and "Open..." reads
// a saved list back for a window of its own. The list is MonitorList's.

#include <memory>
#include <optional>

#include "app/shell/MonitorList.h"
#include "app/shell/window/Dialogs.h"
#include "device/MidiMonitor.h"

namespace kr7::shell {

class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;

  bool IsOpen() const { return mWindow != nullptr; }

 protected:
  MonitorWindow() = default;
  // Live: shows what monitor records (the window switches it on).
  explicit MonitorWindow(MidiMonitor& monitor) : mMonitor(&monitor) {}
  // A saved list, read-only.
  explicit MonitorWindow(MonitorLog log) : mList(std::move(log)) {}

  // Every 100 ms in a live window: the recorded messages joined to the list.
  MonitorList::Change TakeRecorded();
  // The window went: a live one's monitor stops recording.
  void StopRecording();
  // Into a text file the user chooses; a failed write is told.
  void Save() const;
  // A saved list the user chooses; nothing when cancelled or refused (which
  // is told).
  std::optional<MonitorLog> ChooseSavedList() const;

  MidiMonitor* mMonitor = nullptr;
  MonitorList mList;
  NativeWindow mWindow = nullptr;
  std::unique_ptr<MonitorWindow> mOpened;  // the last saved list opened
};

}  // namespace kr7::shell
