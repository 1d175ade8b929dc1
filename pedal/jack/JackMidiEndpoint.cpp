#include "pedal/jack/JackMidiEndpoint.h"

#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "device/Messages.h"

namespace kr7::pedal {

namespace {

constexpr auto kSendTimeout = std::chrono::seconds(2);
constexpr auto kSendRetry = std::chrono::milliseconds(1);
// The worker also wakes this often to notice a stop request.
constexpr auto kWorkerWake = std::chrono::milliseconds(50);
constexpr std::uint8_t kFirstStatusByte = 0x80;
constexpr auto kCloseDrainTimeout = std::chrono::milliseconds(500);
constexpr auto kLastCycleMargin = std::chrono::milliseconds(50);
constexpr auto kGraphChangeTimeout = std::chrono::seconds(2);
constexpr auto kGraphChangeMargin = std::chrono::milliseconds(50);

// Frees the list jack_get_ports returns, whatever path leaves the scope.
struct PortList {
  const char** names;
  ~PortList() {
    if (names != nullptr) {
      jack_free(static_cast<void*>(names));
    }
  }
};

}  // namespace

JackMidiEndpoint::JackMidiEndpoint()
    : mIncoming(std::make_unique<Ring>()), mOutgoing(std::make_unique<Ring>()) {}

JackMidiEndpoint::~JackMidiEndpoint() { Close(); }

bool JackMidiEndpoint::Open(const JackEndpointOptions& options, MessageHandler handler,
                            std::string* error) {
  Close();
  auto fail = [&](const char* reason) {
    if (error != nullptr) {
      *error = reason;
    }
    Close();
    return false;
  };
  jack_status_t status{};
  const int flags = JackNoStartServer | (options.serverName.empty() ? 0 : JackServerName);
  mClient = options.serverName.empty()
                ? jack_client_open(options.clientName.c_str(), static_cast<jack_options_t>(flags),
                                   &status)
                : jack_client_open(options.clientName.c_str(), static_cast<jack_options_t>(flags),
                                   &status, options.serverName.c_str());
  if (mClient == nullptr) {
    return fail("no JACK server answered");
  }
  mInPort = jack_port_register(mClient, std::string(kInPortName).c_str(), JACK_DEFAULT_MIDI_TYPE,
                               JackPortIsInput, 0);
  mOutPort = jack_port_register(mClient, std::string(kOutPortName).c_str(), JACK_DEFAULT_MIDI_TYPE,
                                JackPortIsOutput, 0);
  if (mInPort == nullptr || mOutPort == nullptr) {
    return fail("JACK refused to register the MIDI ports");
  }
  mHandler = std::move(handler);
  mSampleRate = jack_get_sample_rate(mClient);
  jack_set_process_callback(mClient, &JackMidiEndpoint::ProcessThunk, this);
  jack_on_shutdown(mClient, &JackMidiEndpoint::ShutdownThunk, this);
  mOpen = true;
  mWorker = std::jthread([this](const std::stop_token& stop) { WorkerLoop(stop); });
  if (jack_activate(mClient) != 0) {
    return fail("JACK refused to activate the client");
  }
  return true;
}

void JackMidiEndpoint::Close() {
  if (Drain(kCloseDrainTimeout)) {
    // The last messages are in this cycle's port buffer; let it complete.
    std::this_thread::sleep_for(kLastCycleMargin);
  }
  mOpen = false;
  if (mWorker.joinable()) {
    mWorker.request_stop();
    mWake.release();
    mWorker.join();
  }
  if (mClient != nullptr) {
    jack_deactivate(mClient);
    jack_client_close(mClient);
    mClient = nullptr;
    mInPort = nullptr;
    mOutPort = nullptr;
  }
}

bool JackMidiEndpoint::Drain(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (mOpen.load()) {
    // Ring first: a message popped after this read has already claimed the
    // pending flag (see WriteOutput).
    if (mOutgoing->Empty() && !mHasPendingOut.load()) {
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(kSendRetry);
  }
  return false;
}

bool JackMidiEndpoint::IsOpen() const { return mOpen.load(); }

bool JackMidiEndpoint::Send(ByteSpan message) {
  if (message.empty() || message.size() > kMaxMessageSize) {
    return false;
  }
  Slot slot;
  slot.size = static_cast<std::uint16_t>(message.size());
  std::memcpy(slot.bytes.data(), message.data(), message.size());
  std::lock_guard lock(mSendMutex);
  const auto deadline = std::chrono::steady_clock::now() + kSendTimeout;
  while (mOpen.load()) {
    if (mOutgoing->Push(slot)) {
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(kSendRetry);
  }
  return false;
}

std::string JackMidiEndpoint::ClientName() const {
  return mClient != nullptr ? jack_get_client_name(mClient) : std::string();
}

std::string JackMidiEndpoint::InPortFullName() const {
  return mInPort != nullptr ? jack_port_name(mInPort) : std::string();
}

std::string JackMidiEndpoint::OutPortFullName() const {
  return mOutPort != nullptr ? jack_port_name(mOutPort) : std::string();
}

bool JackMidiEndpoint::Connect(const std::string& source, const std::string& destination) {
  if (mClient == nullptr) {
    return false;
  }
  const int result = jack_connect(mClient, source.c_str(), destination.c_str());
  return (result == 0 || result == EEXIST) && AwaitConnection(source, destination, true);
}

bool JackMidiEndpoint::Disconnect(const std::string& source, const std::string& destination) {
  if (mClient == nullptr) {
    return false;
  }
  jack_disconnect(mClient, source.c_str(), destination.c_str());
  return AwaitConnection(source, destination, false);
}

bool JackMidiEndpoint::AwaitConnection(const std::string& source, const std::string& destination,
                                       bool connected) {
  // The server changes the graph between two cycles; a message queued
  // before the change takes effect would be lost, so wait for it and for a
  // few cycles more.
  const auto deadline = std::chrono::steady_clock::now() + kGraphChangeTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    jack_port_t* port = jack_port_by_name(mClient, source.c_str());
    if (port == nullptr) {
      return false;
    }
    if ((jack_port_connected_to(port, destination.c_str()) != 0) == connected) {
      std::this_thread::sleep_for(kGraphChangeMargin);
      return true;
    }
    std::this_thread::sleep_for(kSendRetry);
  }
  return false;
}

int JackMidiEndpoint::ConnectMatching(const std::string& pattern, unsigned long flags,
                                      bool toOurInput) {
  if (mClient == nullptr) {
    return 0;
  }
  const PortList ports{jack_get_ports(mClient, pattern.c_str(), JACK_DEFAULT_MIDI_TYPE, flags)};
  int made = 0;
  jack_port_t* ours = toOurInput ? mInPort : mOutPort;
  for (const char** name = ports.names; name != nullptr && *name != nullptr; ++name) {
    if (jack_port_connected_to(ours, *name) != 0) {
      continue;
    }
    const bool connected =
        toOurInput ? Connect(*name, InPortFullName()) : Connect(OutPortFullName(), *name);
    made += connected ? 1 : 0;
  }
  return made;
}

int JackMidiEndpoint::ConnectToRtMidiClients() {
  // RtMidi numbers a second client of the same name ("... Client-01").
  return ConnectMatching("^" + std::string(kRtMidiInputClient), JackPortIsInput, false) +
         ConnectMatching("^" + std::string(kRtMidiOutputClient), JackPortIsOutput, true);
}

int JackMidiEndpoint::ProcessThunk(jack_nframes_t frames, void* self) {
  static_cast<JackMidiEndpoint*>(self)->Process(frames);
  return 0;
}

void JackMidiEndpoint::ShutdownThunk(void* self) {
  static_cast<JackMidiEndpoint*>(self)->mOpen = false;
}

void JackMidiEndpoint::Process(jack_nframes_t frames) {
  if (ReadInput(jack_port_get_buffer(mInPort, frames))) {
    mWake.release();
    AwaitHandling(frames);
  }
  WriteOutput(jack_port_get_buffer(mOutPort, frames));
}

void JackMidiEndpoint::AwaitHandling(jack_nframes_t frames) {
  if (mSampleRate == 0) {
    return;
  }
  const std::chrono::duration<double> halfPeriod(0.5 * frames / mSampleRate);
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(halfPeriod);
  const std::uint64_t queued = mQueuedIn.load();
  // A signal left over from a cycle that stopped waiting only costs a look.
  while (mHandledIn.load() < queued) {
    if (!mHandledSignal.try_acquire_until(deadline)) {
      return;
    }
  }
}

bool JackMidiEndpoint::ReadInput(void* buffer) {
  bool completed = false;
  const jack_nframes_t count = jack_midi_get_event_count(buffer);
  for (jack_nframes_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) == 0) {
      Assemble(event.buffer, event.size, completed);
    }
  }
  return completed;
}

void JackMidiEndpoint::Assemble(const std::uint8_t* data, std::size_t size, bool& completed) {
  if (size == 0) {
    return;
  }
  if (data[0] == kSysExStart) {
    mAssembly.size = 0;
    mAssembling = true;
  } else if (!mAssembling || data[0] >= kFirstStatusByte) {
    return;  // channel and real-time messages are not the pedal's business
  }
  if (mAssembly.size + size > kMaxMessageSize) {
    mAssembling = false;
    mDroppedIncoming.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  std::memcpy(mAssembly.bytes.data() + mAssembly.size, data, size);
  mAssembly.size = static_cast<std::uint16_t>(mAssembly.size + size);
  if (data[size - 1] != kSysExEnd) {
    return;
  }
  mAssembling = false;
  if (mIncoming->Push(mAssembly)) {
    mQueuedIn.fetch_add(1);
    completed = true;
  } else {
    mDroppedIncoming.fetch_add(1, std::memory_order_relaxed);
  }
}

void JackMidiEndpoint::WriteOutput(void* buffer) {
  jack_midi_clear_buffer(buffer);
  bool wroteAny = false;
  while (true) {
    if (!mHasPendingOut.load(std::memory_order_relaxed)) {
      // Claimed before the pop, so Drain never sees an empty ring while a
      // message is still on its way into the port.
      mHasPendingOut.store(true);
      if (!mOutgoing->Pop(mPendingOut)) {
        mHasPendingOut.store(false);
        return;
      }
    }
    jack_midi_data_t* target = jack_midi_event_reserve(buffer, 0, mPendingOut.size);
    if (target == nullptr) {
      // An empty buffer that cannot take it never will: drop it rather than
      // block the port for good. Otherwise it waits for the next cycle.
      if (!wroteAny) {
        mHasPendingOut.store(false);
      }
      return;
    }
    std::memcpy(target, mPendingOut.bytes.data(), mPendingOut.size);
    mHasPendingOut.store(false);
    wroteAny = true;
  }
}

void JackMidiEndpoint::WorkerLoop(const std::stop_token& stop) {
  auto slot = std::make_unique<Slot>();
  while (!stop.stop_requested()) {
    (void)mWake.try_acquire_for(kWorkerWake);
    while (mIncoming->Pop(*slot)) {
      if (mHandler) {
        mHandler(ByteSpan(slot->bytes.data(), slot->size));
      }
      mHandledIn.fetch_add(1);
      mHandledSignal.release();
    }
  }
}

}  // namespace kr7::pedal
