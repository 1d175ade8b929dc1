// Feeds arbitrary bytes to both recognisers under every receive context and
// touches every span they return, so the sanitizers see any read outside the
// message.

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <variant>

#include "device/ImportRewrite.h"
#include "device/Messages.h"

namespace {

unsigned Touch(kr7::ByteSpan bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return sum;
}

struct Toucher {
  unsigned operator()(const kr7::PresetDump& v) const { return Touch(v.payload); }
  unsigned operator()(const kr7::GlobalBlock& v) const {
    return Touch(v.contents) + static_cast<unsigned>(v.TextAt(kr7::kIdentitySerialByte).size());
  }
  unsigned operator()(const kr7::IrNames& v) const {
    unsigned n = Touch(v.names);
    for (std::size_t k = 0; k <= kr7::kIrNamesPerPage; ++k)
      n += static_cast<unsigned>(v.Name(k).size());
    return n;
  }
  unsigned operator()(const kr7::NameReport& v) const {
    return Touch(v.name) + static_cast<unsigned>(v.Text().size());
  }
  unsigned operator()(const kr7::IrDumpPart& v) const { return Touch(v.packed); }
  unsigned operator()(const kr7::FirmwareFirst& v) const { return Touch(v.packed); }
  unsigned operator()(const kr7::FirmwareData& v) const {
    return Touch(v.fields) + Touch(v.PackedIfLast()) + v.ChecksumIfLast();
  }
  template <typename Other>
  unsigned operator()(const Other& v) const {
    if constexpr (std::is_base_of_v<kr7::SlotBlockFields, Other>) {
      return Touch(v.payload);
    } else {
      return 0;
    }
  }
};

volatile unsigned gSink;  // keeps the reads from being optimised away

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kr7::ByteSpan message(data, size);
  unsigned n = 0;
  for (bool connected : {false, true}) {
    for (bool firmwareRunning : {false, true}) {
      const kr7::RecognitionContext context{connected, firmwareRunning};
      n += std::visit(Toucher{}, kr7::Recognise(message, context));
    }
  }
  n += std::visit(Toucher{}, kr7::RecogniseFromEditor(message));
  n += static_cast<unsigned>(kr7::MessageName(message).size());

  // The import rewrite works on a copy, as the stream does.
  kr7::Bytes copy(message.begin(), message.end());
  kr7::ImportRewriter rewriter;
  rewriter.Rewrite(copy);
  n += rewriter.RunningChecksum();
  gSink = n;
  return 0;
}
