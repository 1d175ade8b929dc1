#pragma once
// Builds RIFF/WAVE images in memory so the reader's tests never depend on
// files from elsewhere.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace kr7::test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint16_t kWavPcm = 1;
inline constexpr std::uint16_t kWavFloat = 3;

inline void PutLe(Bytes& out, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct WavFormat {
  std::uint16_t audioFormat = kWavPcm;
  std::uint16_t channels = 1;
  std::uint32_t sampleRate = 44100;
  std::uint16_t bitsPerSample = 16;
  // 0: channels * bytes per sample.
  std::uint16_t blockAlign = 0;
};

// Chunks are appended in the order the test wants them.
class WavBytes {
 public:
  // A chunk with its 8-byte header; an odd size gets its pad byte.
  WavBytes& Chunk(std::string_view id, const Bytes& body, std::uint32_t declaredSize,
                  bool pad = true) {
    mChunks.insert(mChunks.end(), id.begin(), id.end());
    PutLe(mChunks, declaredSize, 4);
    mChunks.insert(mChunks.end(), body.begin(), body.end());
    if (pad && (body.size() & 1u)) mChunks.push_back(0xEE);  // pad byte: never read as data
    return *this;
  }
  WavBytes& Chunk(std::string_view id, const Bytes& body) {
    return Chunk(id, body, static_cast<std::uint32_t>(body.size()));
  }
  // "fmt " with extraBytes of extension after the 16 standard bytes.
  WavBytes& Format(const WavFormat& f, std::uint16_t extraBytes = 0) {
    Bytes body;
    const std::uint16_t align =
        f.blockAlign ? f.blockAlign : static_cast<std::uint16_t>(f.channels * f.bitsPerSample / 8);
    PutLe(body, f.audioFormat, 2);                                  // audio format
    PutLe(body, f.channels, 2);                                     // channels
    PutLe(body, f.sampleRate, 4);                                   // sample rate
    PutLe(body, static_cast<std::uint64_t>(f.sampleRate) * align, 4);  // byte rate (ignored)
    PutLe(body, align, 2);                                          // block align
    PutLe(body, f.bitsPerSample, 2);                                // bits per sample
    body.insert(body.end(), extraBytes, 0);
    return Chunk("fmt ", body);
  }
  WavBytes& Data(const Bytes& samples) { return Chunk("data", samples); }

  // "RIFF", size, "WAVE", then the chunks.
  Bytes Build() const {
    Bytes out = {'R', 'I', 'F', 'F'};
    PutLe(out, 4 + mChunks.size(), 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), mChunks.begin(), mChunks.end());
    return out;
  }

 private:
  Bytes mChunks;
};

// Interleaved sample bytes of a given width from integer codes.
inline Bytes Samples(const std::vector<std::int64_t>& codes, int bytesPerSample) {
  Bytes out;
  for (std::int64_t c : codes) PutLe(out, static_cast<std::uint64_t>(c), bytesPerSample);
  return out;
}

inline Bytes FloatSamples(const std::vector<float>& values) {
  Bytes out;
  for (float v : values) {
    std::uint32_t raw = 0;
    std::memcpy(&raw, &v, sizeof raw);
    PutLe(out, raw, 4);
  }
  return out;
}

// A mono 16-bit 44100 Hz file of the given codes.
inline Bytes Mono16(const std::vector<std::int64_t>& codes, std::uint32_t rate = 44100) {
  WavFormat f;
  f.sampleRate = rate;
  return WavBytes().Format(f).Data(Samples(codes, 2)).Build();
}

}  // namespace kr7::test
