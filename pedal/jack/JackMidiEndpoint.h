#pragma once
// A JACK client with one MIDI input and one MIDI output port that carries
// whole SysEx messages: the virtual pedal's transport, and in the tests the
// editor's side of a scripted session.
//
// Threads: JACK's process thread only copies bytes between the ports and two
// lock-free rings; a worker thread of the endpoint hands every complete
// incoming message to the handler, where the pedal's logic may allocate and
// lock. A cycle that brought messages waits up to half a period for the
// worker to handle them, so that the answers leave in that same cycle, as a
// pedal's would, whatever order the server runs its clients in. Send() may be called from any thread but the process thread; senders
// are serialised among themselves by a mutex the process thread never takes.
//
// Messages longer than kMaxMessageSize are dropped in both directions (the
// pedal's longest is 269 bytes); a message split over several JACK events is
// reassembled from its F0 to its F7. Channel messages are ignored.

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>

#include "device/Packing.h"
#include "device/SpscRing.h"

namespace kr7::pedal {

inline constexpr std::string_view kDefaultClientName = "kr7-virtual-pedal";
inline constexpr std::string_view kInPortName = "in";
inline constexpr std::string_view kOutPortName = "out";
// The client names RtMidi's JACK back end registers for the editor's ports.
inline constexpr std::string_view kRtMidiInputClient = "RtMidi Input Client";
inline constexpr std::string_view kRtMidiOutputClient = "RtMidi Output Client";

struct JackEndpointOptions {
  std::string clientName{kDefaultClientName};
  // Empty: the default server. A server is never started on demand.
  std::string serverName;
};

class JackMidiEndpoint {
 public:
  using MessageHandler = std::function<void(ByteSpan)>;
  static constexpr std::size_t kMaxMessageSize = 1024;
  static constexpr std::size_t kQueueCapacity = 256;

  JackMidiEndpoint();
  ~JackMidiEndpoint();
  JackMidiEndpoint(const JackMidiEndpoint&) = delete;
  JackMidiEndpoint& operator=(const JackMidiEndpoint&) = delete;

  // Opens the client, registers "in" and "out", starts the worker and
  // activates. handler runs on the worker thread for each incoming message.
  // False with a reason in *error when no server answers or JACK refuses.
  bool Open(const JackEndpointOptions& options, MessageHandler handler, std::string* error);
  // Gives messages already queued a bounded time to leave, then closes.
  void Close();
  // Waits until every queued message has been handed to JACK; false after
  // timeout or when closed.
  bool Drain(std::chrono::milliseconds timeout);
  // False once closed or after the server went away.
  bool IsOpen() const;

  // Queues one complete message for the output port. Waits up to
  // kSendTimeout while the queue is full; false when closed, longer than
  // kMaxMessageSize, or still full.
  bool Send(ByteSpan message);

  // Names as other clients see them, e.g. "kr7-virtual-pedal:in".
  std::string ClientName() const;
  std::string InPortFullName() const;
  std::string OutPortFullName() const;

  // Connects two ports by full name. Returns once the server's graph
  // carries the connection (bounded wait), true when it does (also when it
  // already did), so a message sent next is not lost to the change.
  bool Connect(const std::string& source, const std::string& destination);
  // The reverse; true when they are no longer connected.
  bool Disconnect(const std::string& source, const std::string& destination);
  // Connects "out" to the MIDI inputs of every RtMidi input client and the
  // MIDI outputs of every RtMidi output client to "in". Returns how many
  // connections were made now.
  int ConnectToRtMidiClients();

  // Incoming messages lost to length or a full queue.
  std::uint64_t DroppedIncoming() const { return mDroppedIncoming.load(); }

 private:
  struct Slot {
    std::uint16_t size = 0;
    std::array<std::uint8_t, kMaxMessageSize> bytes{};
  };
  using Ring = SpscRing<Slot, kQueueCapacity>;

  static int ProcessThunk(jack_nframes_t frames, void* self);
  static void ShutdownThunk(void* self);
  void Process(jack_nframes_t frames);
  void AwaitHandling(jack_nframes_t frames);
  bool ReadInput(void* buffer);
  void WriteOutput(void* buffer);
  void Assemble(const std::uint8_t* data, std::size_t size, bool& completed);
  void WorkerLoop(const std::stop_token& stop);
  bool AwaitConnection(const std::string& source, const std::string& destination, bool connected);
  int ConnectMatching(const std::string& pattern, unsigned long flags, bool toOurInput);

  jack_client_t* mClient = nullptr;
  jack_port_t* mInPort = nullptr;
  jack_port_t* mOutPort = nullptr;
  MessageHandler mHandler;
  std::unique_ptr<Ring> mIncoming;
  std::unique_ptr<Ring> mOutgoing;
  // Process thread only.
  Slot mAssembly;
  bool mAssembling = false;
  Slot mPendingOut;
  // Written by the process thread only; read by Drain.
  std::atomic<bool> mHasPendingOut{false};

  std::counting_semaphore<> mWake{0};
  // Messages queued for the worker by the process thread, and handled by it.
  std::atomic<std::uint64_t> mQueuedIn{0};
  std::atomic<std::uint64_t> mHandledIn{0};
  std::counting_semaphore<> mHandledSignal{0};
  jack_nframes_t mSampleRate = 0;
  std::mutex mSendMutex;
  std::atomic<bool> mOpen{false};
  std::atomic<std::uint64_t> mDroppedIncoming{0};
  std::jthread mWorker;
};

}  // namespace kr7::pedal
