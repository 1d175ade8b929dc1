// The check an all-presets file passes before anything of it is sent.

#include <gtest/gtest.h>

#include "device/BankTransferImportCheck.h"
#include "device/Messages.h"
#include "tests/device/StreamTestSupport.h"

namespace kr7::test {
namespace {

constexpr std::size_t kIrPacked = 2785;
constexpr int kIrMessages = 11;  // Begin, nine Data, End

Bytes Payload(int slot) {
  Bytes payload(kPresetPayloadSize);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>((i + slot) & 0x7F);
  return payload;
}

Bytes Presets() {
  std::vector<Bytes> dumps;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    dumps.push_back(build::PresetDump(static_cast<std::uint8_t>(slot), Payload(slot)));
  }
  return Concat(dumps);
}

Bytes IrDump(int slot, std::size_t packedSize = kIrPacked) {
  return Concat(build::SplitIrTransfer(static_cast<std::uint16_t>(slot), Bytes(packedSize, 0x11)));
}

Bytes Append(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(BankImportCheck, TakesPresetsOnly) {
  EXPECT_EQ(CheckImportFile(Presets()), kBankPresetCount);
}

TEST(BankImportCheck, TakesPresetsWithImpulseResponses) {
  const Bytes file = Append(Append(Presets(), IrDump(1)), IrDump(3));
  EXPECT_EQ(CheckImportFile(file), kBankPresetCount + 2 * kIrMessages);
}

TEST(BankImportCheck, RefusesEmptyAndTruncatedFiles) {
  EXPECT_FALSE(CheckImportFile({}));
  const Bytes presets = Presets();
  EXPECT_FALSE(CheckImportFile(ByteSpan(presets).first(presets.size() - 1)));
  EXPECT_FALSE(CheckImportFile(ByteSpan(presets).first(kBlockMessageSize * 127)));
  const Bytes withIr = Append(presets, IrDump(1));
  EXPECT_FALSE(CheckImportFile(ByteSpan(withIr).first(withIr.size() - 1)));
  // The dump's end part missing altogether.
  EXPECT_FALSE(CheckImportFile(ByteSpan(withIr).first(withIr.size() - (kIrPacked - 2560 + 10))));
}

TEST(BankImportCheck, RefusesTrailingBytes) {
  EXPECT_FALSE(CheckImportFile(Append(Presets(), Bytes{0x00})));
  EXPECT_FALSE(CheckImportFile(Append(Presets(), build::BulkBegin())));
}

TEST(BankImportCheck, RefusesPresetsOutOfOrder) {
  Bytes file = Presets();
  file[kBlockMessageSize + kOffsetSlot] = 2;  // second dump claims slot 2
  EXPECT_FALSE(CheckImportFile(file));
}

TEST(BankImportCheck, RefusesForeignHeaderAndOtherCommands) {
  Bytes foreign = Presets();
  foreign[kOffsetManufacturer] = 0x41;
  EXPECT_FALSE(CheckImportFile(foreign));
  Bytes loader = Presets();
  loader[kOffsetFamily] = kFamilyLoader;
  EXPECT_FALSE(CheckImportFile(loader));
  Bytes store = Presets();
  store[kOffsetCommand] = kCmdPresetStore;
  EXPECT_FALSE(CheckImportFile(store));
}

TEST(BankImportCheck, RefusesStatusByteInsideMessage) {
  Bytes file = Presets();
  file[kOffsetBlockContents + 10] = kSysExEnd;  // ends the first dump early
  EXPECT_FALSE(CheckImportFile(file));
  Bytes high = Presets();
  high[kOffsetBlockContents + 10] = 0x80;
  EXPECT_FALSE(CheckImportFile(high));
}

TEST(BankImportCheck, RefusesImpulseResponseWhoseLengthDisagrees) {
  Bytes dump = IrDump(1);
  dump[kOffsetIrTotalLength + 2] ^= 0x01;  // N one off
  EXPECT_FALSE(CheckImportFile(Append(Presets(), dump)));
}

TEST(BankImportCheck, RefusesSlotsAbove255AndUnorderedSlots) {
  EXPECT_FALSE(CheckImportFile(Append(Presets(), IrDump(kBankUserIrSlots))));
  EXPECT_FALSE(CheckImportFile(Append(Append(Presets(), IrDump(3)), IrDump(1))));
  EXPECT_FALSE(CheckImportFile(Append(Append(Presets(), IrDump(3)), IrDump(3))));
}

TEST(BankImportCheck, RefusesDumpWithoutData) {
  // At most one chunk: an end part with no packed bytes, which no export of
  // an impulse response holds.
  EXPECT_FALSE(CheckImportFile(Append(Presets(), IrDump(1, 100))));
}

TEST(BankImportCheck, RefusesFileAboveLimit) {
  constexpr std::size_t kLargeIr = 4096;  // 4231 bytes of messages per dump
  constexpr int kFitting = 230;
  Bytes file = Presets();
  for (int slot = 0; slot < kFitting; ++slot) file = Append(file, IrDump(slot, kLargeIr));
  ASSERT_LE(file.size(), kBankFileLimit);
  EXPECT_TRUE(CheckImportFile(file));
  for (int slot = kFitting; slot < kBankUserIrSlots; ++slot) file = Append(file, IrDump(slot, kLargeIr));
  ASSERT_GT(file.size(), kBankFileLimit);
  EXPECT_FALSE(CheckImportFile(file));
}

}  // namespace
}  // namespace kr7::test
