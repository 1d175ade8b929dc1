// Soak: the editor against a virtual pedal that misbehaves, for as long as
// asked (bench/soak; ten minutes by default; scripts/test runs one minute).
//
// The editor runs on its three threads as in the program: this thread is the
// UI thread (device tick, 20 ms timer, the user's edits), a MIDI thread feeds
// the pedal's replies into the message pump, an audio thread pumps every
// millisecond. Between the pedal and the MIDI thread one reply in twenty is
// dropped (as JACK drops MIDI on an xrun), and every few seconds the pedal
// sends a hostile message. Each cycle the user clears the cache, presses
// RECONNECT and waits for the whole bank to be fetched again; then uploads
// an impulse response (a stray IrStoredAck arrives in its data), turns a few
// knobs and stores the preset. The device tick runs 20 times faster than in
// the program: the session counts ticks, not time.
//
// Every cycle brings one more fault, in turn: one slot whose dump always
// arrives with a wrong checksum (its fetch must give up on it and go on), a
// bank export that loses one IrDumpData (the file written must pass the
// import check, or none be written), and a bank import the pedal answers
// with nothing but WriteFailAck (it must end).
//
// A cycle, upload, export or import that has not finished after
// kCycleTicks ticks is a wedge; the soak then goes on with the next cycle.
// At the end the cache files must equal the pedal's bank. Prints cycles,
// replies dropped, requests repeated, hostile messages, the faults, wedges
// and the comparison; exits 1 on a wedge, a broken export or IR, or a
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
#include "device/BankTransferImportCheck.h"
#include "device/Messages.h"
#include "model/FileIO.h"
#include "model/EditorView.h"
#include "pedal/FactoryContent.h"
#include "pedal/FaultInjector.h"
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
// A preset of the bank plays this user impulse response, so that an export
// streams one; the soak uploads its own to the next one.
constexpr int kUsedIr = 200;
constexpr int kUploadIr = 201;
constexpr int kUsingPreset = 3;
constexpr int kNoSlot = -1;
constexpr std::size_t kBankFileLimit = 1 << 20;

enum class Fault { kCorruptSlot, kExportDrop, kWriteFailStorm, kCount };

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
  // Every dump of slot goes out with a wrong checksum (kNoSlot: none).
  void SetCorruptSlot(int slot) { mCorruptSlot.store(slot); }
  // The next IrDumpData is lost.
  void DropNextIrData() { mDropIrData.store(true); }
  // A reply the pedal did not send, as if it had.
  void Inject(Bytes message) {
    std::lock_guard lock(mMutex);
    mQueue.push_back(std::move(message));
    mWake.notify_one();
  }
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
    Bytes message(reply.begin(), reply.end());
    const std::uint8_t command = message[kOffsetCommand];
    if (command == kCmdIrDumpData && mDropIrData.exchange(false)) return;
    if (command == kCmdPresetDump && message[kOffsetSlot] == mCorruptSlot.load()) {
      message[pedal::ChecksumLowOffset(message)] ^= 1;
    }
    mQueue.push_back(std::move(message));
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
  std::atomic<int> mCorruptSlot{kNoSlot};
  std::atomic<bool> mDropIrData{false};
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
  // The faults of the cycles: uploads past a stray IrStoredAck and the IRs
  // they lost, slots never read, exports losing an IrDumpData (files
  // written, files the import check refuses), imports met by WriteFailAck.
  int uploads = 0, irsLost = 0, corruptSlots = 0;
  int exports = 0, exportsWritten = 0, exportsBroken = 0, storms = 0;
};

// A preset of the bank plays user IR kUsedIr on source A.
pedal::PedalState SoakState() {
  pedal::PedalState state = pedal::MakeFactoryState();
  PresetPayload& preset = state.presets[kUsingPreset];
  pedal::SetPayloadValue(preset, kParamIrModeA, 1);
  pedal::SetPayloadValue(preset, kParamUserIrAMsb, static_cast<std::uint8_t>(kUsedIr >> 7));
  pedal::SetPayloadValue(preset, kParamUserIrA, static_cast<std::uint8_t>(kUsedIr & 0x7F));
  state.irs[kUsedIr] = pedal::DeterministicIr("SOAK", kUsedIr);
  return state;
}

class Soak {
 public:
  Soak(const std::string& folder, unsigned seed)
      : mFolder(folder),
        mEditor(DataFolder(folder)),
        mPedal(SoakState()),
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
    const Figures& f = mFigures;
    std::printf("cycles %d, wedges %d, replies dropped %d, requests repeated %d, hostile %d, "
                "edits %d, stores %d\n",
                f.cycles, f.wedges, mCable.Dropped(), mCable.Repeated(), f.hostile, f.edits, f.stores);
    std::printf("uploads %d (IRs lost %d), corrupt slots %d, exports %d (written %d, broken %d), "
                "WriteFailAck storms %d\n",
                f.uploads, f.irsLost, f.corruptSlots, f.exports, f.exportsWritten, f.exportsBroken,
                f.storms);
    for (const auto& [text, count] : mView.boxes) std::printf("box \"%s\" x %d\n", text.c_str(), count);
    std::printf("cache equals the pedal's bank: %s (%d of %d slots differ)\n",
                different == 0 ? "yes" : "no", different, PresetCache::kNumSlots);
    return f.wedges == 0 && f.irsLost == 0 && f.exportsBroken == 0 && different == 0 ? 0 : 1;
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

  // Loaded but for the slot the pedal never sends whole.
  bool Loaded(int unreadable) {
    const SessionState& session = mEditor.Session();
    if (!session.connected.load() || session.fetching.load() || session.awaitingPreset.load() ||
        session.awaitingBlock.load() >= 0 || session.activePresetPending.load()) {
      return false;
    }
    // A late identity block can connect the editor before the checksums are
    // compared: only a full cache folder ends the cycle.
    for (int slot = 0; slot < PresetCache::kNumSlots; ++slot) {
      if (slot == unreadable) continue;
      if (mEditor.Cache().IsStale(slot) || CachedPayload(slot).size() != kPresetPayloadSize) return false;
    }
    return true;
  }

  // Ticks until done() holds, at most kCycleTicks; false (a wedge) then.
  template <typename Done>
  bool TickUntil(Done done) {
    for (int ticks = 0; ticks < kCycleTicks; ++ticks) {
      if (done()) return true;
      Tick();
    }
    std::printf("wedge after cycle %d\n", mFigures.cycles);
    return false;
  }

  // An upload with a stray IrStoredAck in its data: the pedal must end up
  // with the whole image.
  bool UploadWithStrayAck() {
    const pedal::IrImage image = pedal::DeterministicIr("UPLOAD", static_cast<int>(mRandom() % 1000));
    mCable.SetDropping(false);
    ++mFigures.uploads;
    if (!mEditor.Streams().StartIrUpload(kUploadIr, Pack(image))) return true;
    for (int i = 0; i < 3; ++i) Tick();
    mCable.Inject(build::ShortReply(kReplyIrStored));
    const bool ended = TickUntil([this] { return !mEditor.Session().irUploadBusy.load(); });
    mCable.SetDropping(true);
    if (mPedal.Snapshot().irs[kUploadIr] != image) ++mFigures.irsLost;
    return ended;
  }

  // A bank export that loses one IrDumpData: no file, or one that imports.
  bool ExportLosingIrData() {
    const std::string path = mFolder + "/soak.r3b";
    std::remove(path.c_str());
    ++mFigures.exports;
    mCable.DropNextIrData();
    mEditor.Streams().Export().StartTo(path);
    const bool ended = TickUntil([this] { return !mEditor.Streams().Export().Active(); });
    FileReader reader(path);
    if (reader.IsOpen()) {
      ++mFigures.exportsWritten;
      if (!CheckImportFile(reader.ReadAll(kBankFileLimit))) ++mFigures.exportsBroken;
    }
    return ended;
  }

  // A bank import of the pedal's own bank, every write refused.
  bool ImportIntoWriteFailStorm() {
    BankExport& exporter = mEditor.Streams().Export();
    const std::string path = mFolder + "/storm.r3b";
    mCable.SetDropping(false);
    exporter.StartTo(path);
    bool ended = TickUntil([&exporter] { return !exporter.Active(); });
    if (ended && mEditor.Streams().Import().LoadFile(path)) {
      ++mFigures.storms;
      mPedal.FailNextWrites(1 << 20);
      ended = TickUntil([this] { return !mEditor.Streams().Import().Active(); });
      mPedal.FailNextWrites(0);
    }
    mCable.SetDropping(true);
    return ended;
  }

  // Clear, reconnect, wait for the whole bank; then the cycle's fault, an
  // upload, edits and a store.
  bool Cycle(bool edit) {
    const auto fault = static_cast<Fault>((mFigures.cycles + mFigures.wedges) % static_cast<int>(Fault::kCount));
    // Any slot but the active one, without which the session cannot go on.
    const int active = mPedal.ActiveSlot();
    const int unreadable = edit && fault == Fault::kCorruptSlot
                               ? (active + 1 + static_cast<int>(mRandom() % (PresetCache::kNumSlots - 1))) %
                                     PresetCache::kNumSlots
                               : kNoSlot;
    mFigures.corruptSlots += unreadable != kNoSlot;
    mCable.SetCorruptSlot(unreadable);
    // As "Clear Cache Data" does: the files go, the table is rebuilt empty.
    mEditor.Cache().Clear();
    mEditor.Cache().RebuildBySlot(mEditor.Parameters().ParamInt(kParamPatchOffset));
    mEditor.SessionLogic().Reconnect();
    // The first ticks let the reconnect take effect before "loaded" is read.
    Tick();
    Tick();
    const bool loaded = TickUntil([this, unreadable] { return Loaded(unreadable); });
    mCable.SetCorruptSlot(kNoSlot);
    if (!loaded) return false;
    if (!edit) return true;
    if (fault == Fault::kExportDrop && !ExportLosingIrData()) return false;
    if (fault == Fault::kWriteFailStorm && !ImportIntoWriteFailStorm()) return false;
    if (!UploadWithStrayAck()) return false;
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

  std::string mFolder;
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
