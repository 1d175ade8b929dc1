#include "app/shell/window/MonitorWindow.h"

namespace kr7::shell {
namespace {

MonitorList::Chooser ChooserOver(NativeWindow owner) {
  return [owner](const FileRequest& request) { return ChooseFile(owner, request); };
}

MonitorList::Notice NoticeOver(NativeWindow owner) {
  return [owner](std::string_view text) { ShowMessageBox(owner, text, false); };
}

}  // namespace

MonitorList::Change MonitorWindow::TakeRecorded() {
  mList.SetDropped(mMonitor->Dropped());
  return mList.Append(mMonitor->Drain());
}

void MonitorWindow::StopRecording() {
  if (mMonitor) mMonitor->SetEnabled(false);
}

void MonitorWindow::Save() const { mList.SaveChosen(ChooserOver(mWindow), NoticeOver(mWindow)); }

std::optional<MonitorLog> MonitorWindow::ChooseSavedList() const {
  return MonitorList::OpenChosen(ChooserOver(mWindow), NoticeOver(mWindow));
}

}  // namespace kr7::shell
