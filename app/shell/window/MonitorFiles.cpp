#include "app/shell/window/MonitorFiles.h"

namespace kr7::shell {
namespace {

MonitorList::Chooser ChooserOver(NativeWindow owner) {
  return [owner](const FileRequest& request) { return ChooseFile(owner, request); };
}

MonitorList::Notice NoticeOver(NativeWindow owner) {
  return [owner](std::string_view text) { ShowMessageBox(owner, text, false); };
}

}  // namespace

void SaveMonitorList(NativeWindow owner, const MonitorList& list) {
  list.SaveChosen(ChooserOver(owner), NoticeOver(owner));
}

std::optional<MonitorLog> OpenMonitorList(NativeWindow owner) {
  return MonitorList::OpenChosen(ChooserOver(owner), NoticeOver(owner));
}

}  // namespace kr7::shell
