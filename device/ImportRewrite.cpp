#include "device/ImportRewrite.h"

#include <algorithm>

#include "device/Messages.h"

namespace kr7 {

namespace {

// Bytes first..last (inclusive) of `m`, cut so that the closing F7 and
// anything past the message are never included.
ByteSpan DataRange(ByteSpan m, std::size_t first, std::size_t last) {
  const std::size_t end = std::min(last + 1, m.size() - 1);  // m.size() >= 7 here
  return first < end ? m.subspan(first, end - first) : ByteSpan{};
}

constexpr std::size_t kLastIrBeginPacked = kOffsetIrBeginPacked + kIrChunkSize - 1;  // 267
constexpr std::size_t kLastIrDataPacked = kOffsetIrPacked + kIrChunkSize - 1;        // 262

}  // namespace

bool ImportRewriter::Rewrite(MutableByteSpan message) {
  if (message.size() < kShortReplyMinSize) return false;
  message[kOffsetFormat] = kFormatByte;
  std::uint8_t& command = message[kOffsetCommand];
  const ByteSpan m(message);
  switch (command) {
    case kCmdPresetDump:
      command = kCmdImportPresetWrite;
      break;
    case kCmdIrDumpBegin:
      command = kCmdImportIrBegin;
      mRunning.Reset();
      mRunning.Add(DataRange(m, kOffsetIrBeginPacked, kLastIrBeginPacked));
      break;
    case kCmdIrDumpData:
      command = kCmdImportIrData;
      mRunning.Add(DataRange(m, kOffsetIrPacked, kLastIrDataPacked));
      break;
    case kCmdIrDumpEnd: {
      command = kCmdImportIrEnd;
      // Shorter than n + 10 with n = 0, the checksum bytes would land on the
      // header; such a message is passed on without a checksum.
      if (m.size() < kIrDumpEndOverhead) break;
      const std::size_t checksumAt = m.size() - kTrailerChecksumFromEnd;
      mRunning.Add(DataRange(m, kOffsetIrPacked, checksumAt - 1));
      Write14(message.subspan(checksumAt, kField14Size), mRunning.Value());
      break;
    }
    default:
      break;
  }
  return true;
}

std::vector<Bytes> RewriteCaptureForImport(ByteSpan capture) {
  std::vector<Bytes> out;
  ImportRewriter rewriter;
  auto start = capture.begin();
  while (start != capture.end()) {
    const auto end = std::find(start, capture.end(), kSysExEnd);
    if (end == capture.end()) break;
    Bytes message(start, end + 1);
    rewriter.Rewrite(message);
    out.push_back(std::move(message));
    start = end + 1;
  }
  return out;
}

}  // namespace kr7
