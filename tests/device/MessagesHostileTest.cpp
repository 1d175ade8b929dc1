#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <type_traits>

#include "MessagesTestSupport.h"
#include "device/Messages.h"

namespace kr7 {
namespace {

using testing::Inside;
using testing::RampPayload;

constexpr std::uint32_t kHostileSeed = 0x5EED0600;
constexpr std::size_t kMaxRandomLength = 600;
constexpr int kRoundsPerLength = 4;

constexpr std::array<RecognitionContext, 4> kAllContexts = {{
    {false, false},
    {true, false},
    {false, true},
    {true, true},
}};

// Every span in a recognised value must point into the message itself.
struct SpansInside {
  ByteSpan whole;
  bool operator()(const Dropped&) const { return true; }
  bool operator()(const PresetDump& v) const { return Inside(v.payload, whole); }
  bool operator()(const GlobalBlock& v) const { return Inside(v.contents, whole); }
  bool operator()(const IrNames& v) const { return Inside(v.names, whole); }
  bool operator()(const NameReport& v) const { return Inside(v.name, whole); }
  bool operator()(const IrDumpPart& v) const { return Inside(v.packed, whole); }
  bool operator()(const FirmwareFirst& v) const { return Inside(v.packed, whole); }
  bool operator()(const FirmwareData& v) const { return Inside(v.fields, whole); }
  template <typename Other>
  bool operator()(const Other& v) const {
    if constexpr (std::is_base_of_v<SlotBlockFields, Other>) {
      return Inside(v.payload, whole);
    } else {
      return true;
    }
  }
};

void ExpectSafe(ByteSpan m) {
  for (const auto& context : kAllContexts) {
    const PedalMessage fromPedal = Recognise(m, context);
    EXPECT_TRUE(std::visit(SpansInside{m}, fromPedal)) << "length " << m.size();
  }
  const EditorMessage fromEditor = RecogniseFromEditor(m);
  EXPECT_TRUE(std::visit(SpansInside{m}, fromEditor)) << "length " << m.size();
  EXPECT_FALSE(MessageName(m).empty());
}

TEST(Hostile, EmptyMessage) {
  for (const auto& context : kAllContexts) {
    EXPECT_TRUE(std::holds_alternative<Dropped>(Recognise(ByteSpan{}, context)));
  }
  EXPECT_TRUE(std::holds_alternative<Dropped>(RecogniseFromEditor(ByteSpan{})));
}

TEST(Hostile, RandomBytesOfEveryLengthAreDropped) {
  std::cout << "hostile seed " << kHostileSeed << "\n";
  std::mt19937 rng(kHostileSeed);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t n = 1; n <= kMaxRandomLength; ++n) {
    for (int round = 0; round < kRoundsPerLength; ++round) {
      Bytes m(n);
      for (auto& b : m) b = static_cast<std::uint8_t>(byte(rng));
      ExpectSafe(m);
      for (const auto& context : kAllContexts) {
        ASSERT_TRUE(std::holds_alternative<Dropped>(Recognise(m, context))) << "length " << n;
      }
      ASSERT_TRUE(std::holds_alternative<Dropped>(RecogniseFromEditor(m))) << "length " << n;
    }
  }
}

TEST(Hostile, RandomBodiesBehindOurHeaderStayInBounds) {
  std::mt19937 rng(kHostileSeed + 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> family(kFamilyLoader, kFamilyEditor);
  for (std::size_t n = 1; n <= kMaxRandomLength; ++n) {
    Bytes m(n);
    for (auto& b : m) b = static_cast<std::uint8_t>(byte(rng));
    for (std::size_t i = 0; i < std::min(n, kHeaderSize); ++i) {
      m[i] = i == kOffsetFamily ? static_cast<std::uint8_t>(family(rng))
             : i == 0           ? kSysExStart
                                : kManufacturerId[i - kOffsetManufacturer];
    }
    ExpectSafe(m);
  }
}

TEST(Hostile, EveryTruncationOfEveryKindIsSafe) {
  const std::vector<Bytes> messages = {
      build::PresetDump(1, RampPayload()),
      build::IdentityBlock(12, "SERIAL"),
      build::IrNames(0, RampPayload()),
      build::NameReport("NAME"),
      build::ParameterReport(1, 2),
      build::ShortReply(kReplyWriteOk),
      build::LoaderReply(kCmdFirmwareDone),
      build::IrDumpBegin(1, 2785, RampPayload()),
      build::IrDumpData(RampPayload()),
      build::IrDumpEnd(RampPayload(), 1),
      build::PresetStore(1, RampPayload()),
      build::IrRequest(1),
      build::FirmwareFirst(549, RampPayload()),
      build::FirmwareData(RampPayload()),
  };
  for (const Bytes& whole : messages) {
    for (std::size_t n = 0; n < whole.size(); ++n) ExpectSafe(ByteSpan(whole).first(n));
  }
}

TEST(Hostile, TruncatedFixedLengthKindsAreDropped) {
  const RecognitionContext connected{true, false};
  const std::vector<Bytes> fixed = {
      build::PresetDump(1, RampPayload()), build::IrNames(0, RampPayload()),
      build::NameReport("NAME"),           build::ParameterReport(1, 2),
      build::IrDumpBegin(1, 2785, {}),     build::IrDumpData({}),
  };
  for (const Bytes& whole : fixed) {
    for (std::size_t n = 0; n < whole.size(); ++n) {
      EXPECT_TRUE(std::holds_alternative<Dropped>(Recognise(ByteSpan(whole).first(n), connected)))
          << MessageName(whole) << " cut to " << n;
    }
  }
}

}  // namespace
}  // namespace kr7
