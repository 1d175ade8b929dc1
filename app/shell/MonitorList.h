#pragma once
// What a MIDI monitor window lists, apart from drawing it: the entries kept
// (the newest, up to a limit), the count line, and the list saved as text
// for a bug report or read back from such a file.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/MidiMonitor.h"
#include "model/EditorView.h"

namespace kr7 {

// Entries kept in a live window; older ones leave the list first.
inline constexpr std::size_t kMonitorListLimit = 20000;
// Saved lists are plain text files.

class MonitorList {
 public:
  struct Change {
    std::size_t leaving = 0;                // rows that left the front
    std::span<const MonitorEntry> added;    // rows appended at the end
  };

  MonitorList() = default;
  explicit MonitorList(MonitorLog log);

  // The oldest entries leave in one step, not with a shift of the whole list
  // for each new entry; of a batch longer than the limit only its end stays.
  Change Append(std::vector<MonitorEntry> entries);
  void SetDropped(std::uint64_t dropped) { mLog.dropped = dropped; }
  const MonitorLog& Log() const { return mLog; }
  // "N messages, M dropped".
  std::string CountsText() const;

  // The platform's Open or Save dialog; nothing when the user cancelled.
  using Chooser = std::function<std::optional<std::string>(const FileRequest& request)>;
  using Notice = std::function<void(std::string_view text)>;

  bool Save(const std::string& path) const;
  // Nothing for a file that is missing, too large or not a saved list.
  static std::optional<MonitorLog> Load(const std::string& path);
  // "Save...": into a text file the user chooses; a failed write is noticed.
  void SaveChosen(const Chooser& choose, const Notice& notice) const;
  // "Open...": a saved list the user chooses; nothing when cancelled or
  // refused (which is noticed).
  static std::optional<MonitorLog> OpenChosen(const Chooser& choose, const Notice& notice);

 private:
  MonitorLog mLog;
};

}  // namespace kr7
