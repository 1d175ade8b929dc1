#pragma once
// An editor and a virtual pedal talking in process, for the session tests.
//
// What the editor sends is logged and handed to the pedal at once; what the
// pedal answers waits in an inbox until the test lets the "audio thread" run
// (Deliver), so replies reach the receive handler one at a time and in order,
// as the message pump would hand them over, and never re-enter it. Ticks are
// driven directly, so a whole handshake takes microseconds.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/core/KR7Control.h"
#include "device/Messages.h"
#include "model/EditorView.h"
#include "pedal/FactoryContent.h"
#include "pedal/VirtualPedal.h"
#include "tests/support/TempFolder.h"

namespace kr7::test {

// Remembers what the window would have been told.
class RecordingView : public EditorView {
 public:
  void SetControlText(int tag, std::string_view text) override {
    texts[tag] = std::string(text);
    textLog.emplace_back(tag, std::string(text));
  }
  void SetControlTextColour(int tag, igraphics::Colour colour) override { colours[tag] = colour; }
  void SetControlValue(int tag, double normalised) override { values[tag] = normalised; }
  void SetControlHidden(int tag, bool hidden) override { hiddenTags[tag] = hidden; }
  void SetControlDisabled(int tag, bool disabled) override { disabledTags[tag] = disabled; }
  void SetGroupHidden(std::string_view group, bool hidden) override {
    hiddenGroups[std::string(group)] = hidden;
  }
  void SetGroupDisabled(std::string_view group, bool disabled) override {
    disabledGroups[std::string(group)] = disabled;
  }
  void SendParameterValueFromDelegate(int paramIndex, double value) override {
    parameterValues[paramIndex] = value;
  }
  void SetDynamicsInput(DynamicsInput input, double value) override {
    dynamicsInputs[input] = value;
  }
  void SetDynamicsGraphHidden(bool hidden) override { dynamicsGraphHidden = hidden; }
  void SetIrGraphResponse(std::span<const double> response) override {
    irGraph.assign(response.begin(), response.end());
  }
  void SetParameterControlsDisabled(int paramIndex, bool disabled) override {
    disabledParams[paramIndex] = disabled;
  }
  void SetPresetRowPlacement(int slot, double top, bool hidden) override {
    rowPlacements[slot] = {top, hidden};
  }
  void SetUserIrRowColour(int row, igraphics::Colour colour) override {
    userIrRowColours[row] = colour;
  }
  bool ShowMessage(std::string_view text, std::string_view /*caption*/, bool /*okCancel*/) override {
    messages.emplace_back(text);
    return true;
  }
  std::optional<std::string> AskForFile(const FileRequest& /*request*/) override {
    return std::nullopt;
  }
  void OpenLink(std::string_view /*url*/) override {}

  // Texts written to tag, in order.
  std::vector<std::string> TextsOf(int tag) const {
    std::vector<std::string> result;
    for (const auto& [t, text] : textLog) {
      if (t == tag) result.push_back(text);
    }
    return result;
  }
  bool GroupHidden(const std::string& group) const {
    auto it = hiddenGroups.find(group);
    return it != hiddenGroups.end() && it->second;
  }

  std::map<int, std::string> texts;
  std::vector<std::pair<int, std::string>> textLog;
  std::map<int, igraphics::Colour> colours;
  std::map<int, double> values;
  std::map<int, bool> hiddenTags;
  std::map<int, bool> disabledTags;
  std::map<std::string, bool> hiddenGroups;
  std::map<std::string, bool> disabledGroups;
  std::map<int, double> parameterValues;
  std::vector<std::string> messages;
  std::map<DynamicsInput, double> dynamicsInputs;
  bool dynamicsGraphHidden = true;
  std::vector<double> irGraph;
  std::map<int, bool> disabledParams;
  std::map<int, std::pair<double, bool>> rowPlacements;
  std::map<int, igraphics::Colour> userIrRowColours;
};

// The editor's output port: logs and forwards to the pedal. Safe to call
// from the UI and the audio thread at once, as a real port must be; read the
// log only while neither sends.
class PedalLink : public SysExSender {
 public:
  explicit PedalLink(pedal::VirtualPedal& pedal) : mPedal(pedal) {}
  bool SendSysEx(std::span<const std::uint8_t> message) override {
    {
      std::lock_guard lock(mMutex);
      sent.emplace_back(message.begin(), message.end());
    }
    mPedal.Receive(message);
    return true;
  }
  std::vector<Bytes> sent;

 private:
  std::mutex mMutex;
  pedal::VirtualPedal& mPedal;
};

class Conversation : public ::testing::Test {
 protected:
  Conversation() : pedal(pedal::MakeFactoryState()), link(pedal) {
    pedal.SetReplySink([this](ByteSpan reply) { inbox.emplace_back(reply.begin(), reply.end()); });
    StartEditor();
  }

  // A new editor on the same data folder, as at the next program start.
  void StartEditor() {
    editor.reset();
    editor = std::make_unique<KR7Control>(DataFolder(data.Path()));
    editor->SetSysExSender(&link);
    editor->OnWindowOpen(&view);
  }

  // Hands every waiting reply to the receive handler, including the replies
  // to requests it sends meanwhile, as alter (when given) leaves them; a
  // reply alter returns false for is lost.
  using Alter = std::function<bool(Bytes&)>;
  // No pedal on the line: every reply is lost, the editor only greets.
  static bool PedalUnplugged(Bytes&) { return false; }
  void Deliver(const Alter& alter = {}) {
    while (!inbox.empty()) {
      Bytes message = std::move(inbox.front());
      inbox.pop_front();
      if (!alter || alter(message)) editor->OnSysEx(message);
    }
  }

  void Tick(int n = 1, const Alter& alter = {}) {
    for (int i = 0; i < n; ++i) {
      editor->OnDeviceTick();
      Deliver(alter);
    }
  }

  // Moves parameter index to raw as the user's control would.
  void Set(int index, int raw) { editor->Parameters().SetParameterFromRaw(index, raw); }

  // Polls until the identity request goes out, then lets the session run
  // through the fetch (if any), the settings and the active preset.
  void Handshake() {
    Tick(kPollTicks);
    Tick(2);  // BulkBegin, then the first PresetRequest, when a fetch runs
    editor->OnFrameworkTimer();
  }

  // Commands (byte 5) of the messages sent, with the field byte 7 for the
  // one-byte requests, as "name field" strings; for readable sequences.
  std::vector<std::string> SentNames() const {
    std::vector<std::string> names;
    for (const Bytes& m : link.sent) {
      std::string name(MessageName(m));
      if (m.size() == kSlotMessageSize) name += " " + std::to_string(m[kOffsetSlot]);
      names.push_back(name);
    }
    return names;
  }
  int CountSent(std::uint8_t command) const {
    int n = 0;
    for (const Bytes& m : link.sent)
      n += (m.size() > kOffsetCommand && m[kOffsetCommand] == command);
    return n;
  }

  TempFolder data;
  pedal::VirtualPedal pedal;
  PedalLink link;
  RecordingView view;
  std::deque<Bytes> inbox;
  std::unique_ptr<KR7Control> editor;
};

}  // namespace kr7::test
