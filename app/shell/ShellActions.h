#pragma once
// What the shell does around the editor the same way on every platform:
// opening a file handed over by the command line or a later start, the wait
// of a preset file named at the first start, and the texts of the about box
// and of a manual that cannot be shown. The windows supply the dialogs.

#include <functional>
#include <string>
#include <string_view>


namespace kr7 {

class KR7Control;
class PreferencesSession;
struct SessionState;

namespace shell {
class Host;
}

// What a platform's windows do for the menu commands of RunMenuCommand.
class ShellWindows {
 public:
  virtual ~ShellWindows() = default;
  // An informative message box; never waits for the user.
  virtual void Notice(std::string_view text, std::string_view caption) = 0;
  // The devices are opened (once) before the preferences show them.
  virtual void OpenDevices() = 0;
  // Runs the preferences dialog over the main window until it closes.
  virtual void RunPreferences(PreferencesSession& session) = 0;
  // Opens the live MIDI monitor window, or raises the open one.
  virtual void ShowMonitor() = 0;
  // Opens a local file with its default application.
  virtual bool OpenDocument(const std::string& path) = 0;
};

// A command of the menu: the editor's commands go to KR7Control, the rest
// (preferences, about, manual, MIDI monitor) through windows. Without an
// editor window "About" shows a plain box; the manual is written into the
// data folder when needed and opened from there.
void RunMenuCommand(shell::Host& host, int commandId, ShellWindows& windows);

inline constexpr std::string_view kProductName = "KR7Control";

// The title a message box with caption gets: the program's name, followed by
// the caption when there is one, so no box is untitled.
inline std::string MessageBoxTitle(std::string_view caption) {
  std::string title(kProductName);
  if (!caption.empty() && caption != kProductName) title.append(": ").append(caption);
  return title;
}

// Opens a preset or bank file in the editor by its extension; anything else
// is refused with the text given to refuse.
void OpenFileInEditor(KR7Control& control, const std::string& path,
                      const std::function<void(std::string_view text)>& refuse);

// A file named at the first start, waiting for its moment. A preset file
// applied before the pedal's own active preset arrived would be replaced by
// it, so a good one waits for the handshake to apply the pedal's preset (or
// for no pedal to answer within kWaitTicks); a bank waits the same, since
// its import is refused without a pedal. Refused files are reported at once.
class StartFile {
 public:
  static constexpr int kWaitTicks = 50;
  static constexpr int kTickMs = 100;

  // Reads the file once, to know whether it is a good preset file or a bank.
  explicit StartFile(std::string path);
  // Every kTickMs: true once the file is to be opened now.
  bool Due(const SessionState& session);
  const std::string& Path() const { return mPath; }

 private:
  std::string mPath;
  bool mWaits;
  int mTicks = 0;
};

}  // namespace kr7
