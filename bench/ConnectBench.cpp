// What a user waits for between starting the editor and playing through the
// pedal's sound, read from the virtual pedal's MIDI trace:
//
//   warm start  the pedal's ports stored and the cache full: from the start
//               of the editor to the pedal sending the active preset (the
//               dump that answers the PresetRequest after BulkEnd)
//   search      no port stored, so the editor has to find the pedal first:
//               from the start of the editor to its first PresetRequest
//   greeting    in the warm start, from the start of the editor to its first
//               identity request: what the start costs before the protocol
//
//   kr7_connect_bench <kr7-virtual-pedal> <factory-bank> <runs> <kr7control>...
//
// Run under an X display. Several editors (e.g. one built from an older
// commit) are measured in turn, run by run, against the same pedal on the
// same private dummy-driver JACK server, so a machine that slows down during
// the call slows them all alike. An untimed first start of each editor
// fills its cache.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/JackServer.h"
#include "tests/support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;
using kr7::test::ChildProcess;

constexpr auto kServerTimeout = std::chrono::seconds(5);
constexpr auto kRunTimeout = std::chrono::seconds(30);
// Cache files are written on the editor's UI thread after their dumps.
constexpr auto kSettleTime = std::chrono::seconds(1);
constexpr const char* kPedalName = "kr7-bench-pedal";

// Trace lines (see pedal/MessageTrace.h) start with the direction, padded.
bool IsLine(const std::string& line, const char* direction, const char* name) {
  return line.rfind(direction, 0) == 0 && line.find(name) != std::string::npos;
}

// The pedal's trace file, read on from where the current run began.
class Trace {
 public:
  explicit Trace(std::string path) : mPath(std::move(path)) {}
  void Skip() {
    std::ifstream in(mPath, std::ios::ate);
    mOffset = in.tellg();
  }
  // Lines written since Skip, whole lines only.
  std::vector<std::string> NewLines() {
    std::ifstream in(mPath);
    in.seekg(mOffset);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line) && !in.eof()) lines.push_back(line);
    return lines;
  }

 private:
  std::string mPath;
  std::streamoff mOffset = 0;
};

// True once the pedal has answered the request for the active preset.
bool ActivePresetSent(const std::vector<std::string>& lines) {
  auto bulkEnd = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& l) { return IsLine(l, "IN", "BulkEnd"); });
  return std::any_of(bulkEnd, lines.end(),
                     [](const std::string& l) { return IsLine(l, "OUT", "PresetDump"); });
}

bool Received(const std::vector<std::string>& lines, const char* name) {
  return std::any_of(lines.begin(), lines.end(),
                     [name](const std::string& l) { return IsLine(l, "IN", name); });
}

bool PresetRequested(const std::vector<std::string>& lines) { return Received(lines, "PresetRequest"); }

struct Editor {
  std::string path;
  kr7::test::TempFolder home;
  std::vector<double> warm, search, greeting;
};

void WriteSettings(const Editor& editor, bool portsStored) {
  std::ofstream settings(editor.home.Path() + "/KR7Control/settings.ini");
  settings << "[audio]\ndriver=1\n[gui]\nscale=1\n";
  if (portsStored) {
    settings << "[midi]\nindev=" << kPedalName << ":out\noutdev=" << kPedalName << ":in\n";
  }
}

// Seconds from the editor's start until done(trace lines) holds; the
// seconds until the first identity request go into greeting, if given.
template <class Done>
std::optional<double> TimeRun(Editor& editor, Trace& trace, bool portsStored, Done done,
                              std::vector<double>* greeting = nullptr) {
  WriteSettings(editor, portsStored);
  trace.Skip();
  ChildProcess program;
  const auto start = Clock::now();
  if (!program.Start(editor.path, {}, {{"XDG_DATA_HOME", editor.home.Path()}, {"NO_AT_BRIDGE", "1"}},
                     "/dev/null"))
    return std::nullopt;
  std::optional<double> seconds;
  bool greeted = false;
  while (Clock::now() - start < kRunTimeout && program.Running()) {
    const std::vector<std::string> lines = trace.NewLines();
    const double now = std::chrono::duration<double>(Clock::now() - start).count();
    if (greeting != nullptr && !greeted && Received(lines, "GlobalRequest")) {
      greeted = true;
      greeting->push_back(now);
    }
    if (done(lines)) {
      seconds = now;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::this_thread::sleep_for(kSettleTime);
  program.Stop();
  return seconds;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& times) {
  if (times.empty()) {
    std::printf("  %-11s did not complete\n", what);
    return;
  }
  std::printf("  %-11s median %.2f s (min %.2f, max %.2f, %zu runs)\n", what, Median(times),
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), times.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s <kr7-virtual-pedal> <factory-bank> <runs> <kr7control>...\n",
                 argv[0]);
    return 2;
  }
  const std::string pedalPath = argv[1], bank = argv[2];
  const int runs = std::max(1, std::atoi(argv[3]));
  std::vector<Editor> editors(static_cast<std::size_t>(argc - 4));
  for (std::size_t i = 0; i < editors.size(); ++i) {
    editors[i].path = argv[4 + i];
    std::filesystem::create_directories(editors[i].home.Path() + "/KR7Control");
  }

  kr7::jacktest::SilenceJackMessages();
  kr7::jacktest::JackServer server;
  if (!server.Start(kServerTimeout, kr7::jacktest::kJackTestPeriod, /*fresh=*/true)) {
    std::fprintf(stderr, "no JACK server could be started\n");
    return 1;
  }
  kr7::test::TempFolder work;
  Trace trace(work / "trace.txt");
  ChildProcess pedal;
  if (!pedal.Start(pedalPath, {"--trace", "--bank", bank, "--name", kPedalName}, {},
                   work / "trace.txt"))
    return 1;
  std::this_thread::sleep_for(std::chrono::seconds(1));

  for (Editor& editor : editors) {
    if (!TimeRun(editor, trace, true, ActivePresetSent)) {
      std::fprintf(stderr, "%s: the first start did not load the active preset\n",
                   editor.path.c_str());
      return 1;
    }
  }
  for (int run = 0; run < runs; ++run) {
    for (Editor& editor : editors) {
      if (auto t = TimeRun(editor, trace, true, ActivePresetSent, &editor.greeting)) {
        editor.warm.push_back(*t);
      }
      if (auto t = TimeRun(editor, trace, false, PresetRequested)) editor.search.push_back(*t);
    }
  }
  for (const Editor& editor : editors) {
    std::printf("%s\n", editor.path.c_str());
    Report("warm start", editor.warm);
    Report("greeting", editor.greeting);
    Report("search", editor.search);
  }
  return 0;
}
