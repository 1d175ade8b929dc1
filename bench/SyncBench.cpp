// How long a full sync of the 128 preset slots takes against the virtual
// pedal over JACK, at JACK periods of 128 and 512 frames, measured from the
// first PresetRequest of the fetch to the last dump stored.
//
// The fetch asks for one slot per reply, so its pace is set by the round
// trip. The floor is what the protocol allows on the same server in the same
// run: a minimal requester, a bare JACK client that sends the next
// PresetRequest as soon as a dump arrives and does nothing else. The bench
// prints each time beside that floor and the ratio between them, and the
// figure hops x period x 128 / rate that one period per MIDI hop would give.
//
// Each period gets its own private dummy-driver jackd, started and stopped
// here by its process id. When no server can be started the same sync runs
// in process (no period, no floor) so the figure of the session logic alone
// is still reported.

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "app/core/KR7Control.h"
#include "device/ports/AudioStream.h"
#include "device/ports/MidiPorts.h"
#include "pedal/FactoryContent.h"
#include "tests/support/JackServer.h"
#include "tests/support/TempFolder.h"
#include "pedal/jack/JackMidiEndpoint.h"
#include "pedal/VirtualPedal.h"


namespace kr7::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSampleRate = jacktest::kJackTestSampleRate;
constexpr std::array<int, 2> kPeriods = {128, 512};
constexpr int kHopsPerRoundTrip = 2;
constexpr int kSlots = PresetCache::kNumSlots;
constexpr int kRuns = 3;
constexpr int kInProcessRuns = 20;
constexpr auto kServerTimeout = std::chrono::seconds(5);
constexpr auto kSyncTimeout = std::chrono::seconds(60);
// Ticks only start the fetch; the fetch itself runs on replies.
constexpr auto kTickInterval = std::chrono::milliseconds(1);

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

// The virtual pedal on a JACK client of its own.
struct JackPedal {
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  pedal::JackMidiEndpoint endpoint;

  bool Open() {
    std::string error;
    if (!endpoint.Open({"kr7-bench-pedal", ""}, [this](ByteSpan m) { pedal.Receive(m); }, &error)) {
      std::fprintf(stderr, "pedal endpoint: %s\n", error.c_str());
      return false;
    }
    pedal.SetReplySink([this](ByteSpan reply) { endpoint.Send(reply); });
    return true;
  }
  ~JackPedal() {
    pedal.SetReplySink(pedal::ReplySink());
    endpoint.Close();
  }
};

std::optional<double> SyncOverJack(int period) {
  test::TempFolder data;
  JackPedal jackPedal;
  if (!jackPedal.Open()) return std::nullopt;
  const pedal::JackMidiEndpoint& endpoint = jackPedal.endpoint;

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
  return seconds;
}

// The floor: 128 PresetRequests, each sent as soon as the previous dump has
// arrived, from the first request to the last dump.
std::optional<double> FloorOverJack() {
  JackPedal jackPedal;
  if (!jackPedal.Open()) return std::nullopt;
  const pedal::JackMidiEndpoint& pedalEndpoint = jackPedal.endpoint;
  pedal::JackMidiEndpoint requester;
  std::string error;
  std::atomic<int> dumps{0};
  std::binary_semaphore done{0};
  const bool open = requester.Open(
      {"kr7-bench-floor", ""},
      [&](ByteSpan m) {
        if (m.size() != kBlockMessageSize || m[kOffsetCommand] != kCmdPresetDump) return;
        const int next = dumps.fetch_add(1) + 1;
        if (next < kSlots) {
          requester.Send(build::PresetRequest(static_cast<std::uint8_t>(next)));
        } else {
          done.release();
        }
      },
      &error);
  std::optional<double> seconds;
  if (open && requester.Connect(requester.OutPortFullName(), pedalEndpoint.InPortFullName()) &&
      requester.Connect(pedalEndpoint.OutPortFullName(), requester.InPortFullName())) {
    const auto start = Clock::now();
    requester.Send(build::PresetRequest(0));
    if (done.try_acquire_for(kSyncTimeout)) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
  }
  requester.Close();
  return seconds;
}

// The same sync with the pedal answering in process: the cost of the
// session, the cache writes and the pedal, without any transport.
std::optional<double> SyncInProcess() {
  test::TempFolder data;
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
  kr7::jacktest::SilenceJackMessages();
  std::printf(
      "Full sync of %d presets against the virtual pedal (best of %d runs; %d in process)\n",
      kSlots, kRuns, kInProcessRuns);
  bool anyJack = false;
  for (int period : kPeriods) {
    kr7::jacktest::JackServer server;
    if (!server.Start(kServerTimeout, period, /*fresh=*/true)) {
      std::printf("period %4d: no JACK server could be started\n", period);
      continue;
    }
    // Taken in turn, so that a machine slowing down during the call slows
    // both alike.
    std::vector<double> times, floors;
    for (int run = 0; run < kRuns; ++run) {
      if (auto t = SyncOverJack(period)) times.push_back(*t);
      if (auto t = FloorOverJack()) floors.push_back(*t);
    }
    if (times.empty() || floors.empty()) {
      std::printf("period %4d: the sync did not complete\n", period);
      continue;
    }
    anyJack = true;
    const double hops =
        static_cast<double>(kHopsPerRoundTrip) * period * kSlots / static_cast<double>(kSampleRate);
    const double best = Best(times), floor = Best(floors);
    std::printf(
        "period %4d: %.3f s   floor %.3f s (minimal requester; %d hops x %d frames x %d / %d Hz "
        "= %.3f s)   ratio %.2f\n",
        period, best, floor, kHopsPerRoundTrip, period, kSlots, kSampleRate, hops, best / floor);
  }
  std::vector<double> local;
  for (int run = 0; run < kInProcessRuns; ++run) {
    if (auto t = SyncInProcess()) local.push_back(*t);
  }
  if (!local.empty()) std::printf("in process : %.3f s (no transport)\n", Best(local));
  return anyJack || !local.empty() ? 0 : 1;
}
