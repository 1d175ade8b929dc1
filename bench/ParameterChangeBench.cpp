// The parameter-change handler under a stream of random changes: 10 000
// changes of parameters 0..79 while connected, with a window whose view
// records every call (texts, colours, groups, rows), as the 20 ms timer would
// see them. Reports microseconds per change.
//
// Usage: kr7_param_change_bench [seed]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "app/core/KR7Control.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int kChanges = 10000;
constexpr int kLastHandledParam = 79;

class RecordingView : public kr7::EditorView {
 public:
  void SetControlText(int tag, std::string_view text) override { texts[tag] = std::string(text); }
  void SetControlTextColour(int tag, igraphics::Colour colour) override { colours[tag] = colour; }
  void SetControlValue(int tag, double value) override { values[tag] = value; }
  void SetControlHidden(int tag, bool hidden) override { flags[tag] = hidden; }
  void SetControlDisabled(int tag, bool disabled) override { flags[-tag] = disabled; }
  void SetGroupHidden(std::string_view group, bool hidden) override {
    groups[std::string(group)] = hidden;
  }
  void SetGroupDisabled(std::string_view group, bool disabled) override {
    groups[std::string(group)] = disabled;
  }
  void SendParameterValueFromDelegate(int index, double value) override { values[-index] = value; }
  void SetPresetRowPlacement(int slot, double top, bool) override { values[1000 + slot] = top; }
  bool ShowMessage(std::string_view, std::string_view, bool) override { return false; }
  std::optional<std::string> AskForFile(const kr7::FileRequest&) override { return std::nullopt; }
  void OpenLink(std::string_view) override {}

  std::map<int, std::string> texts;
  std::map<int, igraphics::Colour> colours;
  std::map<int, double> values;
  std::map<int, bool> flags;
  std::map<std::string, bool> groups;
};

class CountingSender : public kr7::SysExSender {
 public:
  bool SendSysEx(std::span<const std::uint8_t>) override {
    ++sent;
    return true;
  }
  int sent = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const unsigned seed = argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10))
                                 : std::random_device{}();
  kr7::test::TempFolder data;
  kr7::KR7Control editor{kr7::DataFolder(data.Path())};
  RecordingView view;
  CountingSender sender;
  editor.SetSysExSender(&sender);
  editor.OnWindowOpen(&view);
  editor.Session().connected.store(true);

  std::mt19937 random(seed);
  std::uniform_int_distribution<int> index(0, kLastHandledParam);
  std::uniform_real_distribution<double> position(0.0, 1.0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kChanges; ++i) editor.Parameters().SetParameterFromPosition(index(random), position(random));
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("seed %u: %d changes, %.2f us per change, %d messages sent\n", seed, kChanges,
              elapsed.count() / kChanges, sender.sent);
  return 0;
}
