#include "device/BankTransferImportCheck.h"

#include <algorithm>

#include "device/Checksums.h"
#include "device/Messages.h"

namespace kr7 {

namespace {

// A message of `length` bytes at the front of `rest`, framed as an editor-
// family message with the given command: F0, our header, data bytes only
// in between, F7 at its end.
bool IsMessage(ByteSpan rest, std::size_t length, std::uint8_t command) {
  if (length < kShortReplyMinSize || rest.size() < length) return false;
  const ByteSpan m = rest.first(length);
  if (m.front() != kSysExStart || m.back() != kSysExEnd) return false;
  if (!std::equal(kManufacturerId.begin(), kManufacturerId.end(), m.begin() + kOffsetManufacturer)) {
    return false;
  }
  if (m[kOffsetFamily] != kFamilyEditor || m[kOffsetCommand] != command) return false;
  const ByteSpan inner = m.subspan(1, length - 2);
  return std::none_of(inner.begin(), inner.end(), [](std::uint8_t b) { return b > kDataByteMask; });
}

// Length of the message at the front of `rest`: up to and including its F7.
std::size_t LengthToEnd(ByteSpan rest) {
  const auto end = std::find(rest.begin(), rest.end(), kSysExEnd);
  return end == rest.end() ? 0 : static_cast<std::size_t>(end - rest.begin()) + 1;
}

// One impulse-response dump (Begin, Data..., End) at the front of `rest`;
// returns the bytes and messages it takes, or nullopt.
struct Consumed {
  std::size_t bytes = 0;
  int messages = 0;
};

std::optional<Consumed> IrDump(ByteSpan rest, int previousSlot) {
  if (!IsMessage(rest, kIrDumpBeginSize, kCmdIrDumpBegin)) return std::nullopt;
  const auto slot = static_cast<int>(Read14(rest.subspan(kOffsetIrSlot, kField14Size)));
  const std::size_t total = Read21(rest.subspan(kOffsetIrTotalLength, kField21Size));
  if (slot <= previousSlot || slot >= kBankUserIrSlots) return std::nullopt;
  Consumed used{kIrDumpBeginSize, 1};
  std::size_t packed = kIrChunkSize;
  StreamChecksum sum;
  sum.Add(rest.subspan(kOffsetIrBeginPacked, kIrChunkSize));
  while (IsMessage(rest.subspan(used.bytes), kIrDumpDataSize, kCmdIrDumpData)) {
    sum.Add(rest.subspan(used.bytes + kOffsetIrPacked, kIrChunkSize));
    used.bytes += kIrDumpDataSize;
    ++used.messages;
    packed += kIrChunkSize;
  }
  const ByteSpan end = rest.subspan(used.bytes);
  const std::size_t length = LengthToEnd(end);
  if (length <= kIrDumpEndOverhead || length > kIrDumpEndMaxSize) return std::nullopt;
  if (!IsMessage(end, length, kCmdIrDumpEnd)) return std::nullopt;
  packed += length - kIrDumpEndOverhead;
  sum.Add(end.subspan(kOffsetIrPacked, length - kIrDumpEndOverhead));
  if (packed != total || sum.Value() != Combine14(end[length - 3], end[length - 2])) return std::nullopt;
  used.bytes += length;
  ++used.messages;
  return used;
}

}  // namespace

std::optional<int> CheckImportFile(ByteSpan file) {
  if (file.size() > kBankFileLimit) return std::nullopt;
  std::size_t at = 0;
  int messages = 0;
  for (int slot = 0; slot < kBankPresetCount; ++slot) {
    const ByteSpan rest = file.subspan(at);
    if (!IsMessage(rest, kBlockMessageSize, kCmdPresetDump) || rest[kOffsetSlot] != slot ||
        !BlockChecksumOk(rest.first(kBlockMessageSize))) {
      return std::nullopt;
    }
    at += kBlockMessageSize;
    ++messages;
  }
  int previousSlot = -1;
  while (at < file.size()) {
    const ByteSpan rest = file.subspan(at);
    const std::optional<Consumed> dump = IrDump(rest, previousSlot);
    if (!dump) return std::nullopt;
    previousSlot = static_cast<int>(Read14(rest.subspan(kOffsetIrSlot, kField14Size)));
    at += dump->bytes;
    messages += dump->messages;
  }
  return messages;
}

}  // namespace kr7
