// How long a full sync of the 128 preset slots takes against the virtual
// pedal over JACK, at JACK periods of 128 and 512 frames, measured from the
// first PresetRequest of the fetch to the last dump stored.
//
// The fetch asks for one slot per reply, so its pace is set by the round
// trip. A round trip crosses two MIDI hops (editor -> pedal, pedal -> editor)
// and each hop waits for at least one JACK period, so no fetch can be faster
// than the floor  hops x period x 128 / rate. The bench prints each time
// beside that floor and the ratio between them.
//
// Each period gets its own private dummy-driver jackd, started and stopped
// here by its process id. When no server can be started the same sync runs
// in process (no period, no floor) so the figure of the session logic alone
// is still reported.

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/core/KR7Control.h"
#include "device/ports/AudioStream.h"
#include "device/ports/MidiPorts.h"
#include "pedal/FactoryContent.h"
#include "pedal/JackMidiEndpoint.h"
#include "pedal/VirtualPedal.h"

extern char** environ;

namespace kr7::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSampleRate = 44100;
constexpr std::array<int, 2> kPeriods = {128, 512};
constexpr int kHopsPerRoundTrip = 2;
constexpr int kSlots = PresetCache::kNumSlots;
constexpr int kRuns = 3;
constexpr int kInProcessRuns = 20;
constexpr auto kServerTimeout = std::chrono::seconds(5);
constexpr auto kSyncTimeout = std::chrono::seconds(60);
// Ticks only start the fetch; the fetch itself runs on replies.
constexpr auto kTickInterval = std::chrono::milliseconds(1);

void Quiet(const char*) {}

// A private JACK server for one period.
class DummyServer {
 public:
  explicit DummyServer(int period)
      : mName("kr7-bench-" + std::to_string(getpid()) + "-" + std::to_string(period)) {
    const std::string rate = std::to_string(kSampleRate);
    const std::string frames = std::to_string(period);
    std::vector<std::string> args = {
        "jackd", "--no-realtime", "--name", mName, "-d", "dummy", "-r", rate, "-p", frames};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&mPid, "jackd", &quiet, nullptr, argv.data(), environ) != 0) mPid = -1;
    posix_spawn_file_actions_destroy(&quiet);
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
  }
  ~DummyServer() {
    if (mPid <= 0) return;
    kill(mPid, SIGTERM);
    waitpid(mPid, nullptr, 0);
  }
  DummyServer(const DummyServer&) = delete;
  DummyServer& operator=(const DummyServer&) = delete;

  bool WaitUntilUp() const {
    const auto deadline = Clock::now() + kServerTimeout;
    while (mPid > 0 && Clock::now() < deadline) {
      jack_status_t status{};
      jack_client_t* probe = jack_client_open(
          "kr7-bench-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
          &status, mName.c_str());
      if (probe != nullptr) {
        jack_client_close(probe);
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  std::string mName;
  pid_t mPid = -1;
};

// A data folder that disappears with the run, so every run fetches all 128.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kr7-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) mPath = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return mPath; }

 private:
  std::string mPath;
};

// Ticks the editor until the next tick starts the fetch (BulkBegin sent),
// then until the fetch has ended. Returns the seconds from the tick that
// sends the first PresetRequest to the end, or nothing on time-out.
template <class Tick>
std::optional<double> TimeFetch(KR7Control& editor, Tick tick) {
  const auto deadline = Clock::now() + kSyncTimeout;
  SessionState& session = editor.Session();
  while (!(session.fetching.load() && session.fetchSlot.load() == -1 &&
           !session.bulkBeginPending.load())) {
    if (Clock::now() > deadline) return std::nullopt;
    tick();
  }
  const auto start = Clock::now();
  while (session.fetching.load()) {
    if (Clock::now() > deadline) return std::nullopt;
    tick();
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::optional<double> SyncOverJack(int period) {
  ScratchFolder data;
  pedal::VirtualPedal pedal(pedal::MakeFactoryState());
  pedal::JackMidiEndpoint endpoint;
  std::string error;
  if (!endpoint.Open(
          {"kr7-bench-pedal", ""}, [&](ByteSpan m) { pedal.Receive(m); }, &error)) {
    std::fprintf(stderr, "pedal endpoint: %s\n", error.c_str());
    return std::nullopt;
  }
  pedal.SetReplySink([&](ByteSpan reply) { endpoint.Send(reply); });

  std::optional<double> seconds;
  {
    KR7Control editor{DataFolder(data.Path())};
    const std::array jackOnly = {MidiBackend::Jack};
    MidiPorts ports(editor.Pump(), jackOnly);
    if (ports.SelectInput(endpoint.OutPortFullName()) &&
        ports.SelectOutput(endpoint.InPortFullName())) {
      editor.SetSysExSender(&ports);
      AudioStream audio(editor.Pump());
      AudioSettings settings;
      settings.driver = kAudioDriverJack;
      settings.outputDevice = "system";
      settings.inputDevice = "system";
      settings.sampleRate = kSampleRate;
      settings.bufferFrames = period;
      if (audio.Start(settings)) {
        seconds = TimeFetch(editor, [&] {
          editor.OnDeviceTick();
          std::this_thread::sleep_for(kTickInterval);
        });
        audio.Stop();
      }
      editor.SetSysExSender(nullptr);
    }
  }
  pedal.SetReplySink(pedal::ReplySink());
  endpoint.Close();
  return seconds;
}

// The same sync with the pedal answering in process: the cost of the
// session, the cache writes and the pedal, without any transport.
std::optional<double> SyncInProcess() {
  ScratchFolder data;
  pedal::VirtualPedal pedal(pedal::MakeFactoryState());
  std::deque<Bytes> inbox;
  pedal.SetReplySink([&](ByteSpan reply) { inbox.emplace_back(reply.begin(), reply.end()); });
  class Link : public SysExSender {
   public:
    explicit Link(pedal::VirtualPedal& p) : mPedal(p) {}
    bool SendSysEx(std::span<const std::uint8_t> m) override {
      mPedal.Receive(m);
      return true;
    }

   private:
    pedal::VirtualPedal& mPedal;
  } link(pedal);
  KR7Control editor{DataFolder(data.Path())};
  editor.SetSysExSender(&link);
  return TimeFetch(editor, [&] {
    editor.OnDeviceTick();
    while (!inbox.empty()) {
      Bytes message = std::move(inbox.front());
      inbox.pop_front();
      editor.OnSysEx(message);
    }
  });
}

double Best(const std::vector<double>& times) {
  double best = times.front();
  for (double t : times) best = std::min(best, t);
  return best;
}

}  // namespace
}  // namespace kr7::bench

int main() {
  using namespace kr7::bench;
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  std::printf(
      "Full sync of %d presets against the virtual pedal (best of %d runs; %d in process)\n",
      kSlots, kRuns, kInProcessRuns);
  bool anyJack = false;
  for (int period : kPeriods) {
    DummyServer server(period);
    if (!server.WaitUntilUp()) {
      std::printf("period %4d: no JACK server could be started\n", period);
      continue;
    }
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
      if (auto t = SyncOverJack(period)) times.push_back(*t);
    }
    if (times.empty()) {
      std::printf("period %4d: the sync did not complete\n", period);
      continue;
    }
    anyJack = true;
    const double floor =
        static_cast<double>(kHopsPerRoundTrip) * period * kSlots / static_cast<double>(kSampleRate);
    const double best = Best(times);
    std::printf(
        "period %4d: %.3f s   floor %.3f s (%d hops x %d frames x %d / %d Hz)   ratio %.2f\n",
        period, best, floor, kHopsPerRoundTrip, period, kSlots, kSampleRate, best / floor);
  }
  std::vector<double> local;
  for (int run = 0; run < kInProcessRuns; ++run) {
    if (auto t = SyncInProcess()) local.push_back(*t);
  }
  if (!local.empty()) std::printf("in process : %.3f s (no transport)\n", Best(local));
  return anyJack || !local.empty() ? 0 : 1;
}
