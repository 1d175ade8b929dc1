#include "pedal/FirmwareReceiver.h"

#include <algorithm>

namespace kr7::pedal {

void FirmwareReceiver::Start() {
  mState = State::Armed;
  mPacked.clear();
  mChecksum.Reset();
  mTotal = 0;
}

FirmwareReceiver::Verdict FirmwareReceiver::First(std::uint32_t totalLength, ByteSpan packed) {
  if (mState != State::Armed || totalLength == 0 || totalLength > kMaxFirmwarePacked) {
    return Fail();
  }
  mTotal = totalLength;
  mPacked.reserve(mTotal);
  // The first message always carries a full chunk; beyond the announced
  // length it is only padding.
  const ByteSpan data = packed.first(std::min<std::size_t>(packed.size(), mTotal));
  mPacked.insert(mPacked.end(), data.begin(), data.end());
  mChecksum.Add(data);
  mState = State::Receiving;
  return Verdict::Pending;
}

FirmwareReceiver::Verdict FirmwareReceiver::Data(const FirmwareData& message) {
  if (mState != State::Receiving) {
    return Verdict::None;
  }
  const std::size_t remaining = mTotal - mPacked.size();
  if (remaining > kFirmwareChunkSize) {
    if (message.fields.size() != kFirmwareChunkSize) {
      return Fail();
    }
    mPacked.insert(mPacked.end(), message.fields.begin(), message.fields.end());
    mChecksum.Add(message.fields);
    return Verdict::Pending;
  }
  const ByteSpan last = message.PackedIfLast();
  if (message.fields.size() != remaining + kField14Size) {
    return Fail();
  }
  mPacked.insert(mPacked.end(), last.begin(), last.end());
  mChecksum.Add(last);
  mState = State::Idle;
  if (mChecksum.Value() != message.ChecksumIfLast()) {
    return Verdict::Failed;
  }
  mImage = Unpack(mPacked);
  return Verdict::Done;
}

FirmwareReceiver::Verdict FirmwareReceiver::Fail() {
  mState = State::Idle;
  return Verdict::Failed;
}

}  // namespace kr7::pedal
