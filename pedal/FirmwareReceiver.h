#pragma once
// The pedal's firmware loader: armed by FirmwareStart, it takes the packed
// image announced by FirmwareFirst and the FirmwareData messages that follow,
// counting against the announced length to tell the last message (which
// carries the stream checksum) from a full one. The verdict comes with the
// last message: Done when every byte arrived and the checksum holds, Failed
// otherwise or as soon as a message cannot belong to the transfer.
// Not thread-safe.

#include <cstdint>

#include "device/Checksums.h"
#include "device/Messages.h"

namespace kr7::pedal {

// An image of fewer than 65 536 bytes packs to at most this many data bytes.
inline constexpr std::uint32_t kMaxFirmwarePacked = PackedSize(65535);

class FirmwareReceiver {
 public:
  enum class Verdict { None, Pending, Done, Failed };

  // Arms the loader (a running transfer is abandoned).
  void Start();
  // Pending while more is expected; Failed when not armed or the length is
  // impossible; a transfer of at most one chunk still waits for its last
  // message (with no data, only the checksum).
  Verdict First(std::uint32_t totalLength, ByteSpan packed);
  // None when no transfer runs (the message is ignored, so one failure is
  // reported once).
  Verdict Data(const FirmwareData& message);

  bool Armed() const { return mState == State::Armed; }
  bool Receiving() const { return mState == State::Receiving; }
  // The unpacked image of the last transfer that ended with Done.
  const Bytes& Image() const { return mImage; }

 private:
  enum class State { Idle, Armed, Receiving };
  Verdict Fail();

  State mState = State::Idle;
  std::uint32_t mTotal = 0;
  Bytes mPacked;
  StreamChecksum mChecksum;
  Bytes mImage;
};

}  // namespace kr7::pedal
