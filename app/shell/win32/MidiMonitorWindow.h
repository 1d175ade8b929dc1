#pragma once
// Help ▸ MIDI Monitor on Windows: a window listing every SysEx message in
// both directions as the editor names it, with "Save..." and "Open..." as on
// Linux. Recording runs only while a live window is open; closing it
// switches the monitor off. The list itself is MonitorList's; the list view
// only asks it for the rows on screen.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/shell/window/MonitorWindow.h"

namespace kr7::shell {

class MidiMonitorWindow final : public MonitorWindow {
 public:
  // Live: switches monitor on and shows what it records.
  MidiMonitorWindow(HWND owner, MidiMonitor& monitor);
  // A saved list, read-only.
  MidiMonitorWindow(HWND owner, MonitorLog log);
  ~MidiMonitorWindow() override;

  void Present();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Build(HWND owner, const wchar_t* title);
  void Layout();
  void Drain();
  void ShowRows();
  void FillRow(NMLVDISPINFOW& request);
  void Open();

  HWND mRows = nullptr;
  HWND mCounts = nullptr;
  HWND mSaveButton = nullptr;
  HWND mOpenButton = nullptr;
  std::wstring mCell;  // the text last handed to the list view
};

}  // namespace kr7::shell
