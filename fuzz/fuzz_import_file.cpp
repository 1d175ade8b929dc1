// Any bytes as an all-presets file: the check the import runs before sending,
// then — for a file it takes — the stream and rewrite the import would run,
// with every promise of the check verified.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/BankTransferImportCheck.h"
#include "device/ImportRewrite.h"
#include "device/Messages.h"
#include "device/StreamsMessageList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const std::optional<int> messages = kr7::CheckImportFile(file);
  if (!messages) return 0;
  kr7::MessageListStream stream;
  if (!stream.Load(kr7::Bytes(file.begin(), file.end()))) std::abort();
  if (stream.Total() != *messages || *messages < kr7::kBankPresetCount) std::abort();
  kr7::ImportRewriter rewriter;
  for (int i = 0; i < stream.Total(); ++i) {
    const kr7::ByteSpan stored = stream.Message(i);
    kr7::Bytes message(stored.begin(), stored.end());
    if (message.front() != kr7::kSysExStart || message.back() != kr7::kSysExEnd) std::abort();
    if (!rewriter.Rewrite(message)) std::abort();
    // Whatever is sent must be one of the import commands, whole, with
    // nothing but data bytes between F0 and F7.
    const std::uint8_t command = message[kr7::kOffsetCommand];
    if (command != kr7::kCmdImportPresetWrite && command != kr7::kCmdImportIrBegin &&
        command != kr7::kCmdImportIrData && command != kr7::kCmdImportIrEnd) {
      std::abort();
    }
    for (std::size_t b = 1; b + 1 < message.size(); ++b) {
      if (message[b] > kr7::kDataByteMask) std::abort();
    }
  }
  return 0;
}
