// Any bytes through the WAV reader: it must never read out of bounds, never
// hang on lying chunk sizes, and either accept the file or leave the buffer
// exactly as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "editor/IrImage.h"
#include "editor/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr double kMarker = 3.0;
  kr7::IrDisplayBuffer buffer;
  buffer.fill(kMarker);
  kr7::WavInfo info;
  const kr7::WavStatus status = kr7::ReadWav(std::span(data, size), buffer, &info);
  if (status != kr7::WavStatus::kOk) {
    for (double v : buffer) {
      if (v != kMarker) std::abort();
    }
    return 0;
  }
  if (info.outputSamples < 0 || info.outputSamples > kr7::kIrDisplaySize) std::abort();
  for (int i = info.outputSamples; i < kr7::kIrDisplaySize; ++i) {
    if (buffer[i] != 0.0) std::abort();
  }
  // Whatever was read must convert into an image and pack.
  const kr7::PackedIr packed = kr7::PackIrImage(kr7::BuildIrImage(buffer, "fuzz"));
  if (packed.data.size() != kr7::kIrPackedSize) std::abort();
  return 0;
}
