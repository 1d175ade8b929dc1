#include "app/shell/MonitorList.h"

#include <algorithm>
#include <iterator>

#include "model/FileIO.h"
#include "model/UserTexts.h"

namespace kr7 {
namespace {

constexpr std::size_t kMaxLogFile = 16u << 20;
// Saved lists are plain text files.
constexpr std::string_view kLogExtension = "txt";
constexpr std::string_view kLogName = "KR7 MIDI monitor";

}  // namespace

MonitorList::MonitorList(MonitorLog log) : MonitorList() {
  mLog.dropped = log.dropped;
  Append(std::move(log.entries));
}

MonitorList::Change MonitorList::Append(std::vector<MonitorEntry> entries) {
  const std::size_t fresh = std::min(entries.size(), kMonitorListLimit);
  Change change;
  change.leaving = mLog.entries.size() + fresh > kMonitorListLimit
                       ? mLog.entries.size() + fresh - kMonitorListLimit
                       : 0;
  mLog.entries.erase(mLog.entries.begin(),
                     mLog.entries.begin() + static_cast<std::ptrdiff_t>(change.leaving));
  mLog.entries.insert(mLog.entries.end(),
                      std::make_move_iterator(entries.end() - static_cast<std::ptrdiff_t>(fresh)),
                      std::make_move_iterator(entries.end()));
  change.added = std::span(mLog.entries).last(fresh);
  return change;
}

std::string MonitorList::CountsText() const {
  return std::to_string(mLog.entries.size()) + " messages, " + std::to_string(mLog.dropped) +
         " dropped";
}

bool MonitorList::Save(const std::string& path) const {
  const std::string text = FormatMonitorLog(mLog);
  return WriteFileAtomically(path, text.data(), text.size());
}

std::optional<MonitorLog> MonitorList::Load(const std::string& path) {
  FileReader reader(path);
  const Bytes bytes = reader.IsOpen() ? reader.ReadAll(kMaxLogFile) : Bytes();
  return ParseMonitorLog(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void MonitorList::SaveChosen(const Chooser& choose, const Notice& notice) const {
  FileRequest request;
  request.save = true;
  request.extension = kLogExtension;
  request.initialName = kLogName;
  const std::optional<std::string> path = choose(request);
  if (path && !Save(*path)) notice("The list could not be written to\n" + *path);
}

std::optional<MonitorLog> MonitorList::OpenChosen(const Chooser& choose, const Notice& notice) {
  FileRequest request;
  request.extension = kLogExtension;
  const std::optional<std::string> path = choose(request);
  if (!path) return std::nullopt;
  std::optional<MonitorLog> log = Load(*path);
  if (!log) notice(kUnknownFileFormatText);
  return log;
}

}  // namespace kr7
