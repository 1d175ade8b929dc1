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
// Beside each it prints how long a PresetRequest takes from leaving the
// requester to reaching the pedal. That is where the editor loses against the
// floor over JACK: RtMidi opens its JACK input and output as two clients, and
// JACK runs the output client first in every cycle (the pedal depends on it,
// the input client on the pedal), so a request written while a dump is
// handled waits one whole period in RtMidi's output queue. The floor writes
// its request in the cycle that brought the dump.
//
// Each period gets its own private dummy-driver jackd, started and stopped
// here by its process id. When no server can be started the same sync runs
// in process (no period, no floor) so the figure of the session logic alone
// is still reported.

#include <jack/jack.h>
#include <jack/midiport.h>

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
// The UI thread over JACK runs in 1 ms steps, with the program's timers: the
// device tick every 100 ms (a faster one takes replies for lost and asks
// again) and the framework timer, which writes the cache files, every 20 ms.
constexpr auto kStep = std::chrono::milliseconds(1);
constexpr int kStepsPerTick = 100;
constexpr int kStepsPerTimer = 20;

struct Timing {
  double seconds;
  double requestWait;  // mean seconds from a request leaving to reaching the pedal
};

// When each slot's first PresetRequest left the requester and when it reached
// the pedal. Stamped from the JACK threads, read once the run is over.
class RequestWaits {
 public:
  void Reset() {
    for (auto* stamps : {&mLeft, &mArrived}) {
      for (auto& stamp : *stamps) stamp.store(0);
    }
  }
  void Left(ByteSpan message) { Stamp(mLeft, message); }
  void Arrived(ByteSpan message) { Stamp(mArrived, message); }
  double Mean() const {
    double total = 0;
    int seen = 0;
    for (int slot = 0; slot < kSlots; ++slot) {
      const std::int64_t left = mLeft[slot].load(), arrived = mArrived[slot].load();
      if (left == 0 || arrived == 0) continue;
      total += static_cast<double>(arrived - left);
      ++seen;
    }
    return seen > 0 ? total / seen * 1e-9 : 0.0;
  }

 private:
  using Stamps = std::array<std::atomic<std::int64_t>, kSlots>;
  static void Stamp(Stamps& stamps, ByteSpan message) {
    if (message.size() <= kOffsetSlot || message[kOffsetCommand] != kCmdPresetRequest ||
        message[kOffsetSlot] >= kSlots) {
      return;
    }
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
        Clock::now().time_since_epoch());
    std::int64_t unset = 0;
    stamps[message[kOffsetSlot]].compare_exchange_strong(unset, now.count());
  }
  Stamps mLeft{}, mArrived{};
};

RequestWaits gRequestWaits;

// Stamps the editor's requests on their way to the port.
class StampingSender : public SysExSender {
 public:
  explicit StampingSender(SysExSender& port) : mPort(port) {}
  bool SendSysEx(std::span<const std::uint8_t> message) override {
    gRequestWaits.Left(message);
    return mPort.SendSysEx(message);
  }

 private:
  SysExSender& mPort;
};

// Runs step(tick, n) until the fetch has ended, with tick true on every
// ticksEvery-th step. Returns the seconds from the tick that sends the first
// PresetRequest (the one after BulkBegin) to the end, or nothing on time-out.
template <class Step>
std::optional<double> TimeFetch(KR7Control& editor, int ticksEvery, Step step) {
  const auto deadline = Clock::now() + kSyncTimeout;
  SessionState& session = editor.Session();
  std::optional<Clock::time_point> start;
  for (int n = 0; !start || session.fetching.load(); ++n) {
    if (Clock::now() > deadline) return std::nullopt;
    const bool tick = n % ticksEvery == 0;
    if (tick && !start && session.fetching.load() && session.fetchSlot.load() == -1 &&
        !session.bulkBeginPending.load()) {
      start = Clock::now();
    }
    step(tick, n);
  }
  return std::chrono::duration<double>(Clock::now() - *start).count();
}

// The virtual pedal on a JACK client of its own.
struct JackPedal {
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  pedal::JackMidiEndpoint endpoint;

  bool Open() {
    std::string error;
    const auto receive = [this](ByteSpan message) {
      gRequestWaits.Arrived(message);
      pedal.Receive(message);
    };
    if (!endpoint.Open({"kr7-bench-pedal", ""}, receive, &error)) {
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

std::optional<Timing> SyncOverJack(int period) {
  test::TempFolder data;
  gRequestWaits.Reset();
  JackPedal jackPedal;
  if (!jackPedal.Open()) return std::nullopt;
  const pedal::JackMidiEndpoint& endpoint = jackPedal.endpoint;

  std::optional<double> seconds;
  {
    KR7Control editor{DataFolder(data.Path())};
    // As the editor program runs it: replies handled as they arrive.
    editor.Pump().SetReceiveOnInput(true);
    const std::array jackOnly = {MidiBackend::Jack};
    MidiPorts ports(editor.Pump(), jackOnly);
    if (ports.SelectInput(endpoint.OutPortFullName()) &&
        ports.SelectOutput(endpoint.InPortFullName())) {
      StampingSender stampingPorts(ports);
      editor.SetSysExSender(&stampingPorts);
      AudioStream audio(editor.Pump());
      AudioSettings settings;
      settings.driver = kAudioDriverJack;
      settings.outputDevice = "system";
      settings.inputDevice = "system";
      settings.sampleRate = kSampleRate;
      settings.bufferFrames = period;
      if (audio.Start(settings)) {
        seconds = TimeFetch(editor, kStepsPerTick, [&](bool tick, int n) {
          if (n % kStepsPerTimer == 0) editor.OnFrameworkTimer();
          if (tick) editor.OnDeviceTick();
          std::this_thread::sleep_for(kStep);
        });
        audio.Stop();
      }
      editor.SetSysExSender(nullptr);
    }
  }
  if (!seconds) return std::nullopt;
  return Timing{*seconds, gRequestWaits.Mean()};
}

// The floor: a bare JACK client that reads each dump in its process callback
// and writes the next PresetRequest in the same cycle, from the first
// request to the last dump. The requests are built beforehand, so the
// callback neither allocates nor waits.
class FloorRequester {
 public:
  FloorRequester() {
    for (int slot = 0; slot < kSlots; ++slot) {
      mRequests.push_back(build::PresetRequest(static_cast<std::uint8_t>(slot)));
    }
  }
  ~FloorRequester() {
    if (mClient) jack_client_close(mClient);
  }
  FloorRequester(const FloorRequester&) = delete;
  FloorRequester& operator=(const FloorRequester&) = delete;

  bool Open(const pedal::JackMidiEndpoint& pedal) {
    mClient = jack_client_open("kr7-bench-floor", JackNoStartServer, nullptr);
    if (!mClient) return false;
    mIn = jack_port_register(mClient, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    mOut = jack_port_register(mClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    return mIn && mOut && jack_set_process_callback(mClient, &FloorRequester::Process, this) == 0 &&
           jack_activate(mClient) == 0 &&
           jack_connect(mClient, jack_port_name(mOut), pedal.InPortFullName().c_str()) == 0 &&
           jack_connect(mClient, pedal.OutPortFullName().c_str(), jack_port_name(mIn)) == 0;
  }
  std::optional<double> Run() {
    const auto start = Clock::now();
    mNext.store(0);
    if (!mDone.try_acquire_for(kSyncTimeout)) return std::nullopt;
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

 private:
  static int Process(jack_nframes_t frames, void* arg) {
    auto& self = *static_cast<FloorRequester*>(arg);
    void* in = jack_port_get_buffer(self.mIn, frames);
    void* out = jack_port_get_buffer(self.mOut, frames);
    jack_midi_clear_buffer(out);
    const jack_nframes_t count = jack_midi_get_event_count(in);
    for (jack_nframes_t i = 0; i < count; ++i) {
      jack_midi_event_t event;
      if (jack_midi_event_get(&event, in, i) != 0 || event.size != kBlockMessageSize ||
          event.buffer[kOffsetCommand] != kCmdPresetDump) {
        continue;
      }
      const int dumps = ++self.mDumps;
      if (dumps < kSlots) {
        self.mNext.store(dumps);
      } else {
        self.mDone.release();
      }
    }
    const int slot = self.mNext.exchange(-1);
    if (slot >= 0) {
      const Bytes& request = self.mRequests[static_cast<std::size_t>(slot)];
      jack_midi_event_write(out, 0, request.data(), request.size());
      gRequestWaits.Left(request);
    }
    return 0;
  }

  std::vector<Bytes> mRequests;
  jack_client_t* mClient = nullptr;
  jack_port_t* mIn = nullptr;
  jack_port_t* mOut = nullptr;
  std::atomic<int> mNext{-1};  // the slot to ask for in the next cycle, or -1
  int mDumps = 0;              // process thread only
  std::binary_semaphore mDone{0};
};

std::optional<Timing> FloorOverJack() {
  gRequestWaits.Reset();
  JackPedal jackPedal;
  if (!jackPedal.Open()) return std::nullopt;
  FloorRequester requester;
  const auto seconds = requester.Open(jackPedal.endpoint) ? requester.Run() : std::nullopt;
  if (!seconds) return std::nullopt;
  return Timing{*seconds, gRequestWaits.Mean()};
}

// The same sync with the pedal answering in process: the cost of the
// session, the cache writes and the pedal, without any transport. Here the
// cache files are written at once on this thread, each synced to disk with
// its folder, so the figure follows the disk's sync time.
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
  return TimeFetch(editor, 1, [&](bool /*tick*/, int /*n*/) {
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

double Best(const std::vector<Timing>& timings) {
  double best = timings.front().seconds;
  for (const Timing& t : timings) best = std::min(best, t.seconds);
  return best;
}

double MeanWait(const std::vector<Timing>& timings) {
  double total = 0;
  for (const Timing& t : timings) total += t.requestWait;
  return total / static_cast<double>(timings.size());
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
    std::vector<Timing> times, floors;
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
    const double periodSeconds = period / static_cast<double>(kSampleRate);
    const double editorWait = MeanWait(times), floorWait = MeanWait(floors);
    std::printf(
        "             a request reaches the pedal after %.2f ms from the editor (%.2f periods), "
        "%.2f ms from the floor (%.2f periods)\n",
        editorWait * 1e3, editorWait / periodSeconds, floorWait * 1e3, floorWait / periodSeconds);
  }
  std::vector<double> local;
  for (int run = 0; run < kInProcessRuns; ++run) {
    if (auto t = SyncInProcess()) local.push_back(*t);
  }
  if (!local.empty()) std::printf("in process : %.3f s (no transport)\n", Best(local));
  return anyJack || !local.empty() ? 0 : 1;
}
