// Soak: the editor against a virtual pedal that misbehaves, for as long as
// asked (bench/soak; ten minutes by default). Not part of CI.
//
// The editor runs on its three threads as in the program: this thread is the
// UI thread (device tick, 20 ms timer, the user's edits), a MIDI thread feeds
// the pedal's replies into the message pump, an audio thread pumps every
// millisecond. Between the pedal and the MIDI thread one reply in twenty is
// dropped (as JACK drops MIDI on an xrun), and every few seconds the pedal
// sends a hostile message. Each cycle the user clears the cache, presses
// RECONNECT and waits for the whole bank to be fetched again; then turns a few
// knobs and stores the preset. The device tick runs 20 times faster than in
// the program: the session counts ticks, not time.
//
// A cycle that has not finished after kCycleTicks ticks is a wedge; the
// soak then goes on with the next cycle. At the end the cache files must
// equal the pedal's bank. Prints cycles, replies dropped, requests repeated,
// hostile messages, wedges and the comparison; exits 1 on a wedge or a
// difference.
//
// Usage: kr7_soak [seconds [seed]]

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <random>
#include <span>
#include <string>
#include <thread>

#include "app/core/KR7Control.h"
#include "device/Messages.h"
#include "model/EditorView.h"
#include "pedal/FactoryContent.h"
#include "pedal/VirtualPedal.h"
#include "tests/support/TempFolder.h"

namespace kr7::soak {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultSeconds = 600;
constexpr int kDropOneIn = 20;
constexpr auto kTickInterval = std::chrono::milliseconds(5);
constexpr auto kAudioStep = std::chrono::milliseconds(1);
// Five device ticks per framework timer step, as 100 ms against 20 ms.
constexpr int kTimerStepsPerTick = 5;
// A cycle (clear, reconnect, fetch of 128 presets, settings, active preset)
// takes a few hundred ticks with the drops; this many means it is stuck.
constexpr int kCycleTicks = 3000;
constexpr int kHostileEveryTicks = 600;  // about every 3 s here, 60 s of program time
constexpr int kEditsPerCycle = 8;

// The window as far as the soak looks: it counts the boxes.
class CountingView final : public EditorView {
 public:
  void SetControlText(int, std::string_view) override {}
  void SetControlTextColour(int, igraphics::Colour) override {}
  void SetControlValue(int, double) override {}
  void SetControlHidden(int, bool) override {}
  void SetControlDisabled(int, bool) override {}
  void SetGroupHidden(std::string_view, bool) override {}
  void SetGroupDisabled(std::string_view, bool) override {}
  void SendParameterValueFromDelegate(int, double) override {}
  bool ShowMessage(std::string_view text, std::string_view, bool) override {
    ++boxes[std::string(text)];
    return true;
  }
  std::optional<std::string> AskForFile(const FileRequest&) override { return std::nullopt; }
  void OpenLink(std::string_view) override {}

  std::map<std::string, int> boxes;
};

// The cable: the editor's messages reach the pedal at once on the sending
// thread; the pedal's replies queue for the MIDI thread, minus the drops.
class Cable final : public SysExSender {
 public:
  Cable(pedal::VirtualPedal& pedal, MessagePump& pump, unsigned seed)
      : mPedal(pedal), mPump(pump), mRandom(seed) {
    mPedal.SetReplySink([this](ByteSpan reply) { FromPedal(reply); });
    mMidi = std::thread([this] { RunMidiThread(); });
  }
  ~Cable() override {
    mPedal.SetReplySink(pedal::ReplySink());
    {
      std::lock_guard lock(mMutex);
      mStop = true;
    }
    mWake.notify_all();
    mMidi.join();
  }
  Cable(const Cable&) = delete;
  Cable& operator=(const Cable&) = delete;

  bool SendSysEx(std::span<const std::uint8_t> message) override {
    CountRequest(message);
    mPedal.Receive(message);
    return true;
  }

  void SetDropping(bool on) { mDropping.store(on); }
  int Dropped() const { return mDropped.load(); }
  // Requests the editor made again within one cycle: the same PresetRequest
  // slot, IrRequest slot or GlobalRequest block more than once.
  int Repeated() const { return mRepeated.load(); }
  void NewCycle() {
    std::lock_guard lock(mRequestMutex);
    mRequests.clear();
  }

 private:
  void FromPedal(ByteSpan reply) {
    std::lock_guard lock(mMutex);
    if (mDropping.load() && mRandom() % kDropOneIn == 0) {
      ++mDropped;
      return;
    }
    mQueue.emplace_back(reply.begin(), reply.end());
    mWake.notify_one();
  }

  void RunMidiThread() {
    std::unique_lock lock(mMutex);
    while (true) {
      mWake.wait(lock, [this] { return mStop || !mQueue.empty(); });
      if (mStop) return;
      const Bytes message = std::move(mQueue.front());
      mQueue.pop_front();
      lock.unlock();
      mPump.OnMidiInput(message);
      // A real cable delivers one message at a time; the ring holds four.
      std::this_thread::sleep_for(std::chrono::microseconds(300));
      lock.lock();
    }
  }

  void CountRequest(std::span<const std::uint8_t> message) {
    if (message.size() < kOffsetCommand + 3) return;
    const std::uint8_t command = message[kOffsetCommand];
    if (command != kCmdPresetRequest && command != kCmdGlobalRequest && command != kCmdIrRequest)
      return;
    const std::string key(message.begin() + kOffsetCommand, message.end());
    std::lock_guard lock(mRequestMutex);
    if (++mRequests[key] > 1) ++mRepeated;
  }

  pedal::VirtualPedal& mPedal;
  MessagePump& mPump;
  std::mt19937 mRandom;  // under mMutex
  std::mutex mMutex;
  std::condition_variable mWake;
  std::deque<Bytes> mQueue;
  bool mStop = false;
  std::atomic<bool> mDropping{true};
  std::atomic<int> mDropped{0};
  std::atomic<int> mRepeated{0};
  std::mutex mRequestMutex;
  std::map<std::string, int> mRequests;
  std::thread mMidi;
};

struct Figures {
  int cycles = 0;
  int wedges = 0;
  int hostile = 0;
  int edits = 0;
  int stores = 0;
};

class Soak {
 public:
  Soak(const std::string& folder, unsigned seed)
      : mEditor(DataFolder(folder)),
        mPedal(pedal::MakeFactoryState()),
        mRandom(seed),
        mCable(mPedal, mEditor.Pump(), seed) {
    mEditor.OnWindowOpen(&mView);
    mEditor.SetSysExSender(&mCable);
  }
  ~Soak() {
    mEditor.SetSysExSender(nullptr);
    mEditor.OnWindowClose();
  }
  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;

  void Run(Clock::time_point end) {
    while (Clock::now() < end) {
      mCable.NewCycle();
      if (Cycle(true)) {
        ++mFigures.cycles;
      } else {
        ++mFigures.wedges;
        std::printf("wedge in cycle %d\n", mFigures.cycles + mFigures.wedges);
      }
    }
    // A last fetch, without edits after it, for the comparison.
    mCable.NewCycle();
    if (Cycle(false)) {
      ++mFigures.cycles;
    } else {
      ++mFigures.wedges;
    }
  }

  int Report() {
    const pedal::PedalState state = mPedal.Snapshot();
    int different = 0;
    for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
      const auto& expected = state.presets[static_cast<std::size_t>(slot)];
      if (CachedPayload(slot) != Bytes(expected.begin(), expected.end())) ++different;
    }
    std::printf("cycles %d, wedges %d, replies dropped %d, requests repeated %d, hostile %d, "
                "edits %d, stores %d\n",
                mFigures.cycles, mFigures.wedges, mCable.Dropped(), mCable.Repeated(),
                mFigures.hostile, mFigures.edits, mFigures.stores);
    for (const auto& [text, count] : mView.boxes) std::printf("box \"%s\" x %d\n", text.c_str(), count);
    std::printf("cache equals the pedal's bank: %s (%d of %d slots differ)\n",
                different == 0 ? "yes" : "no", different, PresetCache::kNumSlots);
    return mFigures.wedges == 0 && different == 0 ? 0 : 1;
  }

 private:
  // One tick of program time: device tick, the 20 ms steps, and now and
  // then a hostile message.
  void Tick() {
    mEditor.OnDeviceTick();
    for (int i = 0; i < kTimerStepsPerTick; ++i) mEditor.OnFrameworkTimer();
    if (++mTicks % kHostileEveryTicks == 0) {
      const auto kinds = pedal::HostileKinds();
      mPedal.SendHostile(kinds[mRandom() % kinds.size()].kind);
      ++mFigures.hostile;
    }
    std::this_thread::sleep_for(kTickInterval);
  }

  bool Loaded() {
    const SessionState& session = mEditor.Session();
    if (!session.connected.load() || session.fetching.load() || session.awaitingPreset.load() ||
        session.awaitingBlock.load() >= 0 || session.activePresetPending.load() ||
        mEditor.Cache().LowestStaleSlot() >= 0) {
      return false;
    }
    // A late identity block can connect the editor before the checksums are
    // compared: only a full cache folder ends the cycle.
    for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
      if (CachedPayload(slot).size() != kPresetPayloadSize) return false;
    }
    return true;
  }

  // Clear, reconnect, wait for the whole bank; then edits and a store.
  bool Cycle(bool edit) {
    // As "Clear Cache Data" does: the files go, the table is rebuilt empty.
    mEditor.Cache().Clear();
    mEditor.Cache().RebuildBySlot(mEditor.Parameters().ParamInt(kParamPatchOffset));
    mEditor.SessionLogic().Reconnect();
    int ticks = 0;
    // The first ticks let the reconnect take effect before "loaded" is read.
    while (ticks < kCycleTicks && (ticks < 2 || !Loaded())) {
      Tick();
      ++ticks;
    }
    if (ticks >= kCycleTicks) return false;
    if (!edit) return true;
    for (int i = 0; i < kEditsPerCycle; ++i) {
      const int index = static_cast<int>(mRandom() % (kLastPresetParam + 1));
      mEditor.Parameters().SetParameterFromPosition(index, static_cast<double>(mRandom() % 128) / 127.0);
      ++mFigures.edits;
      Tick();
    }
    mEditor.PresetFiles().StorePreset();
    ++mFigures.stores;
    Tick();
    return true;
  }

  Bytes CachedPayload(int slot) {
    std::ifstream in(mEditor.Cache().SlotPath(slot), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  KR7Control mEditor;
  CountingView mView;
  pedal::VirtualPedal mPedal;
  std::mt19937 mRandom;
  Cable mCable;
  // Pumps the editor's message rings as the audio stream does.
  std::jthread mAudio{[&pump = mEditor.Pump()](std::stop_token stop) {
    while (!stop.stop_requested()) {
      pump.RunAudioStep();
      std::this_thread::sleep_for(kAudioStep);
    }
  }};
  Figures mFigures;
  long mTicks = 0;
};

}  // namespace
}  // namespace kr7::soak

int main(int argc, char** argv) {
  using namespace kr7::soak;
  const int seconds = argc > 1 ? std::atoi(argv[1]) : kDefaultSeconds;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                 : static_cast<unsigned>(std::random_device{}());
  std::printf("soak for %d s, seed %u (kr7_soak %d %u repeats it)\n", seconds, seed, seconds, seed);
  kr7::test::TempFolder data;
  Soak soak(data.Path(), seed);
  soak.Run(Clock::now() + std::chrono::seconds(seconds));
  return soak.Report();
}
