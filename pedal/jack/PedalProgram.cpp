#include "pedal/jack/PedalProgram.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>

#include "model/FileIO.h"
#include "pedal/ControlCommands.h"
#include "pedal/FactoryContent.h"
#include "pedal/jack/JackMidiEndpoint.h"
#include "pedal/MessageTrace.h"
#include "pedal/StateStore.h"
#include "pedal/VirtualPedal.h"

namespace kr7::pedal {

namespace {

constexpr int kPollMilliseconds = 200;
constexpr auto kConnectInterval = std::chrono::seconds(1);
constexpr std::size_t kReadChunk = 4096;
constexpr unsigned kAllChanges =
    kChangePresets | kChangeFactoryBank | kChangeGlobals | kChangeIrs | kChangeFirmware;

std::atomic<bool> gStopRequested{false};

extern "C" void OnStopSignal(int /*signal*/) { gStopRequested.store(true); }

// Splits standard input into lines without blocking the loop.
class LineReader {
 public:
  // Waits up to the poll interval; false once input has ended.
  template <class OnLine>
  bool Poll(OnLine onLine) {
    if (mEnded) {
      ::poll(nullptr, 0, kPollMilliseconds);
      return false;
    }
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (::poll(&fd, 1, kPollMilliseconds) <= 0) {
      return true;
    }
    char chunk[kReadChunk];
    const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (got <= 0) {
      mEnded = true;
      if (!mPending.empty()) {
        onLine(mPending);
        mPending.clear();
      }
      return false;
    }
    mPending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end = mPending.find('\n'); end != std::string::npos;
         end = mPending.find('\n')) {
      onLine(mPending.substr(0, end));
      mPending.erase(0, end + 1);
    }
    return true;
  }

 private:
  std::string mPending;
  bool mEnded = false;
};

}  // namespace

std::optional<PedalState> BuildInitialState(const ProgramOptions& options, std::string* error) {
  PedalState state = MakeFactoryState();
  if (!options.bankFile.empty()) {
    FileReader reader(options.bankFile);
    if (!reader.IsOpen()) {
      if (error != nullptr) {
        *error = "cannot open the bank file " + options.bankFile;
      }
      return std::nullopt;
    }
    const Bytes bytes = reader.ReadAll(kFactoryBankFileSize + 1);
    const auto bank = ParseFactoryBank(bytes, error);
    if (!bank) {
      return std::nullopt;
    }
    InstallBank(state, *bank);
  }
  if (!options.stateFolder.empty()) {
    StateStore(options.stateFolder).Load(state);
  }
  if (options.serial) {
    state.serial = *options.serial;
  }
  if (options.version) {
    state.version = static_cast<std::uint8_t>(*options.version);
  }
  return state;
}

int RunPedalProgram(const ProgramOptions& options) {
  std::string error;
  std::optional<PedalState> initial = BuildInitialState(options, &error);
  if (!initial) {
    std::fprintf(stderr, "kr7-virtual-pedal: %s\n", error.c_str());
    return 1;
  }
  VirtualPedal pedal(std::move(*initial));
  std::unique_ptr<StateStore> store;
  if (!options.stateFolder.empty()) {
    store = std::make_unique<StateStore>(options.stateFolder);
    if (!store->Save(pedal.Snapshot(), kAllChanges)) {
      std::fprintf(stderr, "kr7-virtual-pedal: cannot write the state folder %s\n",
                   options.stateFolder.c_str());
      return 1;
    }
    pedal.SetStateChangedHook(
        [&store](const PedalState& state, unsigned changes) { store->Save(state, changes); });
  }

  MessageTrace trace(stdout);
  std::atomic<bool> tracing{options.trace};
  pedal.SetTraceSink([&](TraceDirection direction, ByteSpan message) {
    if (tracing.load()) {
      trace.Write(direction, message);
    }
  });

  JackMidiEndpoint endpoint;
  if (!endpoint.Open(
          {options.clientName, options.serverName},
          [&pedal](ByteSpan message) { pedal.Receive(message); }, &error)) {
    std::fprintf(stderr, "kr7-virtual-pedal: %s\n", error.c_str());
    return 1;
  }
  pedal.SetReplySink([&endpoint](ByteSpan message) { endpoint.Send(message); });
  std::fprintf(stderr, "kr7-virtual-pedal: listening on %s, answering on %s\n",
               endpoint.InPortFullName().c_str(), endpoint.OutPortFullName().c_str());

  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);

  ControlSession session(pedal);
  session.SetTraceHook([&tracing](bool on) { tracing.store(on); });
  if (store) {
    session.SetSaveHook([&store, &pedal] { return store->Save(pedal.Snapshot(), kAllChanges); });
  }
  LineReader input;
  auto nextConnect = std::chrono::steady_clock::now();
  while (!gStopRequested.load() && !session.QuitRequested() && endpoint.IsOpen()) {
    input.Poll([&](const std::string& line) {
      const std::string answer = session.Run(line);
      if (!answer.empty()) {
        std::fprintf(stdout, "%s%s", answer.c_str(), answer.back() == '\n' ? "" : "\n");
        std::fflush(stdout);
      }
    });
    if (options.connectEditor && std::chrono::steady_clock::now() >= nextConnect) {
      endpoint.ConnectToRtMidiClients();
      nextConnect = std::chrono::steady_clock::now() + kConnectInterval;
    }
  }
  const bool serverGone = !endpoint.IsOpen();
  pedal.SetReplySink(ReplySink{});
  endpoint.Close();
  if (serverGone && !gStopRequested.load() && !session.QuitRequested()) {
    std::fprintf(stderr, "kr7-virtual-pedal: the JACK server went away\n");
    return 1;
  }
  return 0;
}

}  // namespace kr7::pedal
