#include "device/PedalSearch.h"

#include "device/Messages.h"

namespace kr7 {

bool IsIdentityBlock(ByteSpan message) {
  // Recognised as the session would before a connection exists.
  const PedalMessage recognised = Recognise(message, {false, false});
  const auto* block = std::get_if<GlobalBlock>(&recognised);
  return block != nullptr && block->type == kGlobalIdentity && block->checksumOk;
}

PedalSearch::~PedalSearch() {
  if (Running()) mProbe.Close();
}

void PedalSearch::Start(std::vector<std::string> inputs, std::vector<std::string> outputs) {
  if (Running()) return;
  mInputs = std::move(inputs);
  mOutputs = std::move(outputs);
  mNextOutput = 0;
  mTicksWaited = kSearchAnswerTicks;  // the first tick asks the first output
  mResult.reset();
  mAnswered.store(-1);
  mState = State::Searching;
  if (mInputs.empty() || mOutputs.empty() ||
      !mProbe.Open(mInputs, mOutputs,
                   [this](int input, ByteSpan message) { OnInput(input, message); })) {
    Finish(State::NotFound);
  }
}

void PedalSearch::OnInput(int input, ByteSpan message) {
  if (!IsIdentityBlock(message)) return;
  int none = -1;
  mAnswered.compare_exchange_strong(none, input);
}

void PedalSearch::Tick() {
  if (!Running()) return;
  const int answered = mAnswered.load();
  if (answered >= 0 && mNextOutput > 0) {
    mResult = PortPair{mInputs[static_cast<std::size_t>(answered)], mOutputs[mNextOutput - 1]};
    Finish(State::Found);
    return;
  }
  if (++mTicksWaited < kSearchAnswerTicks) return;
  if (mNextOutput == mOutputs.size()) {
    Finish(State::NotFound);
    return;
  }
  // An answer that comes after its output's turn would name the wrong pair;
  // whatever arrived before this request is forgotten.
  mAnswered.store(-1);
  mTicksWaited = 0;
  mProbe.SendTo(mNextOutput++, build::GlobalRequest(kGlobalIdentity));
}

void PedalSearch::Finish(State state) {
  mProbe.Close();
  mState = state;
}

}  // namespace kr7
