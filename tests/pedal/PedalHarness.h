#pragma once
// The virtual pedal wired to a test that plays the editor: every reply is
// collected in order, so a test sends one message and looks at exactly what
// came back.

#include <gtest/gtest.h>

#include <mutex>
#include <numeric>
#include <vector>

#include "device/Messages.h"
#include "pedal/FactoryContent.h"
#include "pedal/VirtualPedal.h"

namespace kr7::pedal::test {

inline constexpr std::uint8_t kFormat = 0x0C;

class PedalHarness {
 public:
  explicit PedalHarness(PedalState state = MakeFactoryState()) : pedal(std::move(state)) {
    pedal.SetReplySink([this](ByteSpan reply) {
      std::lock_guard lock(mMutex);
      mReplies.emplace_back(reply.begin(), reply.end());
    });
  }

  // Sends one message and returns every reply it caused.
  std::vector<Bytes> Exchange(const Bytes& message) {
    Take();
    pedal.Receive(message);
    return Take();
  }

  // The single reply to message; fails the test when there is not exactly one.
  Bytes OnlyReply(const Bytes& message) {
    std::vector<Bytes> replies = Exchange(message);
    EXPECT_EQ(replies.size(), 1u) << "for " << MessageName(message);
    return replies.empty() ? Bytes{} : replies.front();
  }

  // Replies collected since the last Take.
  std::vector<Bytes> Take() {
    std::lock_guard lock(mMutex);
    return std::exchange(mReplies, {});
  }

  VirtualPedal pedal;

 private:
  std::mutex mMutex;
  std::vector<Bytes> mReplies;
};

// Sum of bytes [first, last] of a message, computed here rather than by the
// code under test.
inline unsigned SumOf(const Bytes& message, std::size_t first, std::size_t last) {
  return std::accumulate(message.begin() + static_cast<std::ptrdiff_t>(first),
                         message.begin() + static_cast<std::ptrdiff_t>(last) + 1, 0u);
}

// Block checksum bytes 264, 265 expected for bytes 8..263 of a block.
inline std::pair<std::uint8_t, std::uint8_t> ExpectedBlockChecksum(const Bytes& block) {
  const unsigned sum = SumOf(block, 8, 263) & 0x3FFF;
  return {static_cast<std::uint8_t>(sum >> 7), static_cast<std::uint8_t>(sum & 0x7F)};
}

inline Bytes Slice(const Bytes& message, std::size_t first, std::size_t count) {
  return Bytes(message.begin() + static_cast<std::ptrdiff_t>(first),
               message.begin() + static_cast<std::ptrdiff_t>(first + count));
}

// The short reply F0 00 51 21 03 <code> F7.
inline Bytes ShortReplyBytes(std::uint8_t code) {
  return {0xF0, 0x00, 0x51, 0x21, 0x03, code, 0xF7};
}

// A payload whose checksum is easy to work out by hand: marker 0x01, the name
// "AB" padded with 30 spaces, every other byte 0. Sum 1 + 65 + 66 + 30 × 32 =
// 1092 = 8 × 128 + 68, so the checksum bytes are 0x08 0x44.
inline PresetPayload HandPayload() {
  PresetPayload payload{};
  payload[0] = 0x01;
  payload[2] = 'A';
  payload[3] = 'B';
  for (std::size_t i = 4; i < 34; ++i) payload[i] = ' ';
  return payload;
}
inline constexpr std::uint8_t kHandChecksumHigh = 0x08;
inline constexpr std::uint8_t kHandChecksumLow = 0x44;

// A bank file: payload written to every one of the 128 slots.
inline Bytes BankFile(const PresetPayload& payload) {
  Bytes bank;
  for (std::uint8_t slot = 0; slot < 128; ++slot) {
    const Bytes message = build::FactoryPresetWrite(slot, payload);
    bank.insert(bank.end(), message.begin(), message.end());
  }
  return bank;
}

}  // namespace kr7::pedal::test
