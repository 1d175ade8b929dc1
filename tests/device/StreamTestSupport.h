#pragma once
// A stream host for the transfer units' tests: records what goes to the pedal
// and what the window would be told, and answers message boxes and file
// dialogs as the test scripts them.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/BankBackup.h"
#include "device/Messages.h"
#include "device/StreamsHost.h"
#include "model/EditorView.h"

namespace kr7::test {

// The next scripted answer of an OK/Cancel message box; OK once the script
// runs out.
inline bool TakeAnswer(std::deque<bool>& answers) {
  if (answers.empty()) return true;
  const bool ok = answers.front();
  answers.pop_front();
  return ok;
}

class ScriptedStreamView : public EditorView {
 public:
  void SetControlText(int tag, std::string_view text) override {
    texts[tag] = std::string(text);
    textLog.emplace_back(tag, std::string(text));
  }
  void SetControlTextColour(int /*tag*/, igraphics::Colour /*colour*/) override {}
  void SetControlValue(int tag, double normalised) override { values[tag] = normalised; }
  void SetControlHidden(int /*tag*/, bool /*hidden*/) override {}
  void SetControlDisabled(int /*tag*/, bool /*disabled*/) override {}
  void SetGroupHidden(std::string_view group, bool hidden) override {
    hiddenGroups[std::string(group)] = hidden;
  }
  void SetGroupDisabled(std::string_view group, bool disabled) override {
    disabledGroups[std::string(group)] = disabled;
  }
  void SendParameterValueFromDelegate(int /*paramIndex*/, double /*value*/) override {}
  // Answers from `answers` in order, OK once they run out.
  bool ShowMessage(std::string_view text, std::string_view caption, bool /*okCancel*/) override {
    messages.emplace_back(text);
    captions.emplace_back(caption);
    return TakeAnswer(answers);
  }
  std::optional<std::string> AskForFile(const FileRequest& request) override {
    fileRequests.push_back(request);
    return chosenFile;
  }
  void OpenLink(std::string_view /*url*/) override {}

  std::vector<std::string> TextsOf(int tag) const {
    std::vector<std::string> result;
    for (const auto& [t, text] : textLog) {
      if (t == tag) result.push_back(text);
    }
    return result;
  }
  // Hidden only once something hid it (groups start hidden in the window,
  // but a test asks whether the transfer hid it).
  bool Hidden(std::string_view group) const {
    const auto it = hiddenGroups.find(std::string(group));
    return it != hiddenGroups.end() && it->second;
  }
  bool Shown(std::string_view group) const {
    const auto it = hiddenGroups.find(std::string(group));
    return it != hiddenGroups.end() && !it->second;
  }

  std::deque<bool> answers;
  std::optional<std::string> chosenFile;
  std::vector<FileRequest> fileRequests;
  std::map<int, std::string> texts;
  std::vector<std::pair<int, std::string>> textLog;
  std::map<int, double> values;
  std::map<std::string, bool> hiddenGroups;
  std::map<std::string, bool> disabledGroups;
  std::vector<std::string> messages;
  std::vector<std::string> captions;  // one per message
};

// Lets every overwrite start at once, as with backups switched off.
class ImmediateGuard : public OverwriteGuard {
 public:
  void BeforeOverwrite(std::function<void()> start) override { start(); }
};

// Plays every role a stream needs and records what the streams did.
class RecordingStreamHost : public SysExSender, public WindowLink, public CacheReset, public PathMemory {
 public:
  operator StreamHost() { return {*this, *this, *this, *this}; }

  bool SendSysEx(ByteSpan message) override {
    sent.emplace_back(message.begin(), message.end());
    return true;
  }
  EditorView& View() override { return view; }
  bool HasWindow() const override { return true; }
  void SetPendingMessage(std::string text) override { pending.push_back(std::move(text)); }
  void RunOnUiThread(const UiTask& task) override { task(); }
  void ClearCachesAndRebuild() override { ++cacheClears; }
  const std::string& RememberedPath() const override { return remembered; }
  bool RememberPath(std::string_view path) override {
    remembered = std::string(path);
    return true;
  }

  // Command bytes (byte 5) of the messages sent.
  std::vector<std::uint8_t> Commands() const {
    std::vector<std::uint8_t> commands;
    for (const Bytes& m : sent) commands.push_back(m.size() > kOffsetCommand ? m[kOffsetCommand] : 0);
    return commands;
  }

  ScriptedStreamView view;
  std::vector<Bytes> sent;
  std::vector<std::string> pending;
  int cacheClears = 0;
  std::string remembered;
};

// A complete editor-family message of `length` bytes with the given command:
// F0 00 51 21 03 <command> 0C, `fill` up to the F7.
inline Bytes FramedMessage(std::uint8_t command, std::size_t length, std::uint8_t fill = 0x00) {
  Bytes m(length, fill);
  m[0] = kSysExStart;
  m[1] = kManufacturerId[0];
  m[2] = kManufacturerId[1];
  m[3] = kManufacturerId[2];
  m[kOffsetFamily] = kFamilyEditor;
  m[kOffsetCommand] = command;
  m[kOffsetFormat] = kFormatByte;
  m.back() = kSysExEnd;
  return m;
}

inline Bytes Concat(const std::vector<Bytes>& messages) {
  Bytes out;
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

}  // namespace kr7::test
