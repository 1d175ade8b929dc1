#pragma once
// Finding the pedal without a port list: the identity request goes out on
// every candidate output in turn while every candidate input listens; the
// first input that brings back a valid identity block (type 15, right block
// checksum) names the pair. Nothing but the identity request is ever sent to
// a port during a search, so a synthesiser or another program on the same
// bus only ever sees a harmless GlobalRequest 15.
//
// Threads: Start, Tick and the results on the UI thread; the probe hands the
// incoming messages to the search on whatever thread its library calls back.

#include <atomic>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/Packing.h"

namespace kr7 {

// The ports a search works through, apart from the editor's own pair, so a
// search never disturbs what the session has open.
class PortProbe {
 public:
  // Called with the index of the listening input and one whole message.
  using Listener = std::function<void(int input, ByteSpan message)>;

  virtual ~PortProbe() = default;
  // Opens every named port, handing what arrives at the inputs to listener.
  // Opened a tick before the first send, so that a back end that connects
  // ports asynchronously has them connected when it counts. Ports that
  // cannot be opened stay deaf or mute; false when no input or no output
  // could be opened.
  virtual bool Open(std::span<const std::string> inputs, std::span<const std::string> outputs,
                    Listener listener) = 0;
  // Sends one message through output number `output` of Open's list.
  virtual bool SendTo(std::size_t output, ByteSpan message) = 0;
  // Closes everything Open opened; no listener call follows.
  virtual void Close() = 0;
};

struct PortPair {
  std::string input;
  std::string output;
};

// Ticks (of 100 ms) an output is given to answer before the next is tried.
inline constexpr int kSearchAnswerTicks = 5;

class PedalSearch {
 public:
  enum class State { Idle, Searching, Found, NotFound };

  explicit PedalSearch(PortProbe& probe) : mProbe(probe) {}
  ~PedalSearch();
  PedalSearch(const PedalSearch&) = delete;
  PedalSearch& operator=(const PedalSearch&) = delete;

  // Starts a search over the candidate port names (without "off"). Ignored
  // while one runs. With no candidate on either side it ends NotFound.
  void Start(std::vector<std::string> inputs, std::vector<std::string> outputs);
  // Every 100 ms: sends the next identity request or ends the search.
  void Tick();

  State GetState() const { return mState; }
  bool Running() const { return mState == State::Searching; }
  // The pair found by the last search.
  const std::optional<PortPair>& Result() const { return mResult; }

 private:
  void OnInput(int input, ByteSpan message);
  void Finish(State state);

  PortProbe& mProbe;
  State mState = State::Idle;
  std::vector<std::string> mInputs;
  std::vector<std::string> mOutputs;
  std::size_t mNextOutput = 0;  // the output asked last is mNextOutput - 1
  int mTicksWaited = 0;
  std::optional<PortPair> mResult;
  // The input that answered the request now out, or -1.
  std::atomic<int> mAnswered{-1};
};

// A valid identity block of the pedal: GlobalBlock type 15 with a right
// block checksum, whatever version it reports.
bool IsIdentityBlock(ByteSpan message);

}  // namespace kr7
