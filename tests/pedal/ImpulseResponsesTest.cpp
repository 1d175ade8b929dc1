// Impulse-response names, dumps to the editor and uploads from it.

#include <gmock/gmock.h>

#include "tests/pedal/PedalHarness.h"

namespace kr7::pedal::test {
namespace {

constexpr std::size_t kPacked = 2785;    // a 2436-byte image, packed
constexpr std::size_t kDataParts = 9;    // 256 + 9 × 256 = 2560 bytes before the end
constexpr std::size_t kLastChunk = 225;  // 2785 − 2560
constexpr std::uint16_t kUploadSlot = 17;

Bytes IrNamesRequestBytes(std::uint8_t page) {
  return {0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
          0x6A,                          // IrNamesRequest
          0x0C,                          // format byte
          page,                          // page: bank × 4 + page in the bank
          0xF7};
}

Bytes IrRequestBytes(std::uint16_t slot) {
  return {0xF0,
          0x00,
          0x51,
          0x21,
          0x03,                                    // editor header
          0x69,                                    // IrRequest
          0x0C,                                    // format byte
          static_cast<std::uint8_t>(slot >> 7),    // slot, high seven bits
          static_cast<std::uint8_t>(slot & 0x7F),  // slot, low seven bits
          0xF7};
}

PedalState StateWithNamedIrs() {
  PedalState state = MakeFactoryState();
  state.irs[9] = DeterministicIr("MY CAB", 1);  // bank 0, page 1, name 1
  return state;
}

TEST(PedalImpulseResponses, NamesPageListsEightNamesAndSpacesForEmptySlots) {
  PedalHarness harness(StateWithNamedIrs());
  const Bytes reply = harness.OnlyReply(IrNamesRequestBytes(1));
  ASSERT_EQ(reply.size(), 267u);
  EXPECT_EQ(Slice(reply, 0, 8), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                                       0x6B,                          // IrNames
                                       0x0C,     // format byte, required by the editor
                                       0x01}));  // page 1
  // Name 0 is user IR 8 (empty), name 1 user IR 9.
  EXPECT_EQ(Slice(reply, 8, 32), Bytes(32, ' '));
  EXPECT_EQ(Slice(reply, 40, 7), (Bytes{'M', 'Y', ' ', 'C', 'A', 'B', ' '}));
  EXPECT_EQ(std::make_pair(reply[264], reply[265]), ExpectedBlockChecksum(reply));
}

TEST(PedalImpulseResponses, FactoryBankNamesSitOnPagesThirtyTwoToThirtyFive) {
  PedalHarness harness;
  const Bytes reply = harness.OnlyReply(IrNamesRequestBytes(35));  // IRs 280..287
  ASSERT_EQ(reply.size(), 267u);
  const std::string last(reply.begin() + 8 + 7 * 32, reply.begin() + 8 + 7 * 32 + 13);
  EXPECT_EQ(last, "FACTORY IR 32");
}

TEST(PedalImpulseResponses, PagesBeyondTheLastAreNotAnswered) {
  PedalHarness harness;
  EXPECT_TRUE(harness.Exchange(IrNamesRequestBytes(36)).empty());
}

TEST(PedalImpulseResponses, DumpIsFramedInBeginNineDataAndEnd) {
  PedalHarness harness;
  const std::vector<Bytes> parts = harness.Exchange(IrRequestBytes(256));
  ASSERT_EQ(parts.size(), 1 + kDataParts + 1);
  const Bytes& begin = parts.front();
  ASSERT_EQ(begin.size(), 269u);
  EXPECT_EQ(Slice(begin, 0, 12), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x03,  // editor header
                                        0x60,                          // IrDumpBegin
                                        0x0C,                          // format byte
                                        0x02, 0x00,                    // slot 256 = 2 × 128 + 0
                                        0x00, 0x15, 0x61}));           // N 2785 = 21 × 128 + 97
  for (std::size_t i = 1; i <= kDataParts; ++i) {
    ASSERT_EQ(parts[i].size(), 264u);
    EXPECT_EQ(Slice(parts[i], 5, 2), (Bytes{0x65, 0x0C}));  // IrDumpData
  }
  const Bytes& end = parts.back();
  ASSERT_EQ(end.size(), kLastChunk + 10);
  EXPECT_EQ(Slice(end, 5, 2), (Bytes{0x66, 0x0C}));  // IrDumpEnd

  // The stream checksum covers every packed byte of all parts.
  unsigned sum = SumOf(begin, 12, 267);
  for (std::size_t i = 1; i <= kDataParts; ++i) sum += SumOf(parts[i], 7, 262);
  sum += SumOf(end, 7, end.size() - 4);
  sum &= 0x3FFF;
  EXPECT_EQ(end[end.size() - 3], sum >> 7);
  EXPECT_EQ(end[end.size() - 2], sum & 0x7F);
  EXPECT_EQ(end.back(), 0xF7);

  // And the packed bytes are the image.
  Bytes packed = Slice(begin, 12, 256);
  for (std::size_t i = 1; i <= kDataParts; ++i) {
    const Bytes chunk = Slice(parts[i], 7, 256);
    packed.insert(packed.end(), chunk.begin(), chunk.end());
  }
  const Bytes last = Slice(end, 7, kLastChunk);
  packed.insert(packed.end(), last.begin(), last.end());
  ASSERT_EQ(packed.size(), kPacked);
  const Bytes image = Unpack(packed);
  const std::optional<IrImage> expected = harness.pedal.Snapshot().irs[256];
  ASSERT_TRUE(expected.has_value());
  EXPECT_TRUE(std::equal(expected->begin(), expected->end(), image.begin()));
}

TEST(PedalImpulseResponses, FactoryCabinetsAreAddressedFrom384) {
  PedalHarness harness;
  const std::vector<Bytes> parts = harness.Exchange(IrRequestBytes(384 + 2));
  ASSERT_EQ(parts.size(), 11u);
  EXPECT_EQ(Slice(parts.front(), 7, 2), (Bytes{0x03, 0x02}));  // 386 = 3 × 128 + 2
}

TEST(PedalImpulseResponses, EmptyOrImpossibleSlotsAreNotAnswered) {
  PedalHarness harness;
  EXPECT_TRUE(harness.Exchange(IrRequestBytes(0)).empty());    // empty user slot
  EXPECT_TRUE(harness.Exchange(IrRequestBytes(300)).empty());  // between users and cabinets
  EXPECT_TRUE(harness.Exchange(IrRequestBytes(392)).empty());  // past the last cabinet
}

// The editor's upload of `image` to `slot`, cut as its streams cut it.
std::vector<Bytes> Upload(std::uint16_t slot, const IrImage& image) {
  return build::SplitIrTransfer(slot, Pack(image));
}

TEST(PedalImpulseResponses, UploadIsPacedByIrReadyAckAndEndsWithIrStoredAck) {
  PedalHarness harness;
  const IrImage image = DeterministicIr("UPLOADED", 5);
  const std::vector<Bytes> parts = Upload(kUploadSlot, image);
  ASSERT_EQ(parts.size(), 11u);
  // Only the Begin is answered: the data parts follow one per tick unasked.
  EXPECT_EQ(harness.OnlyReply(parts[0]), ShortReplyBytes(0x63));  // IrReadyAck
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    EXPECT_TRUE(harness.Exchange(parts[i]).empty()) << "IrDumpData " << i;
  }
  EXPECT_EQ(harness.OnlyReply(parts.back()), ShortReplyBytes(0x61));  // IrStoredAck
  const std::optional<IrImage> stored = harness.pedal.Snapshot().irs[kUploadSlot];
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, image);
  // And the new name is listed: slot 17 is page 2, name 1.
  const Bytes names = harness.OnlyReply(IrNamesRequestBytes(2));
  EXPECT_EQ(std::string(names.begin() + 40, names.begin() + 48), "UPLOADED");
}

TEST(PedalImpulseResponses, UploadWithWrongChecksumIsRefusedAndNotStored) {
  PedalHarness harness;
  std::vector<Bytes> parts = Upload(kUploadSlot, DeterministicIr("BROKEN", 5));
  Bytes& end = parts.back();
  end[end.size() - 2] ^= 0x01;
  EXPECT_EQ(harness.OnlyReply(parts[0]), ShortReplyBytes(0x63));
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) harness.Exchange(parts[i]);
  EXPECT_EQ(harness.OnlyReply(end), ShortReplyBytes(0x62));  // ErrorAck, not IrStoredAck
  EXPECT_FALSE(harness.pedal.Snapshot().irs[kUploadSlot].has_value());
}

TEST(PedalImpulseResponses, UploadWithAMissingDataPartIsRefused) {
  PedalHarness harness;
  std::vector<Bytes> parts = Upload(kUploadSlot, DeterministicIr("SHORT", 5));
  harness.Exchange(parts[0]);
  for (std::size_t i = 2; i + 1 < parts.size(); ++i) harness.Exchange(parts[i]);  // part 1 lost
  EXPECT_EQ(harness.OnlyReply(parts.back()), ShortReplyBytes(0x62));
  EXPECT_FALSE(harness.pedal.Snapshot().irs[kUploadSlot].has_value());
}

TEST(PedalImpulseResponses, UploadAnnouncingAnotherLengthIsRefusedAtOnce) {
  PedalHarness harness;
  Bytes begin = Upload(kUploadSlot, DeterministicIr("X", 1)).front();
  begin[11] = 0x62;  // N 2786
  EXPECT_EQ(harness.OnlyReply(begin), ShortReplyBytes(0x62));
}

TEST(PedalImpulseResponses, UploadToASlotThePedalHasNotIsRefused) {
  PedalHarness harness;
  const Bytes begin = Upload(300, DeterministicIr("X", 1)).front();
  EXPECT_EQ(harness.OnlyReply(begin), ShortReplyBytes(0x62));
}

TEST(PedalImpulseResponses, EndWithoutBeginIsIgnored) {
  PedalHarness harness;
  const Bytes end = Upload(kUploadSlot, DeterministicIr("X", 1)).back();
  EXPECT_TRUE(harness.Exchange(end).empty());
}

TEST(PedalImpulseResponses, UploadToAFactoryCabinetReplacesIt) {
  PedalHarness harness;
  const IrImage image = DeterministicIr("NEW CAB", 3);
  const std::vector<Bytes> parts = Upload(384 + 7, image);
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) harness.Exchange(parts[i]);
  EXPECT_EQ(harness.OnlyReply(parts.back()), ShortReplyBytes(0x61));
  EXPECT_EQ(harness.pedal.Snapshot().irs[kNumUserIrs + 7], image);
}

}  // namespace
}  // namespace kr7::pedal::test
