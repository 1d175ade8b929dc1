#include "editor/WavReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/FileIO.h"

namespace kr7 {

namespace {

constexpr std::size_t kIdSize = 4;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::uint32_t kMinFormatSize = 16;
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::size_t kSkipStep = 4096;
constexpr std::size_t kReadBlockBytes = 16384;

constexpr double kScale8 = 127.0;
constexpr double kScale16 = 32768.0;
// The odd denominators keep the largest positive code just below 1.0; codes
// that land above 1.0 are the negative half read as unsigned.
constexpr double kScale24 = 8388607.49999;
constexpr double kScale32 = 2147483647.49999;

std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
bool IdIs(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, kIdSize) == 0; }

// Sequential input: the same parser serves files and memory images.
class Source {
 public:
  virtual ~Source() = default;
  // Copies up to n bytes; fewer only at the end of the input.
  virtual std::size_t Read(std::uint8_t* dest, std::size_t n) = 0;
  // Skips n bytes; false when the input ends first.
  virtual bool Skip(std::uint64_t n) = 0;
  bool ReadExactly(std::uint8_t* dest, std::size_t n) { return Read(dest, n) == n; }
};

class SpanSource final : public Source {
 public:
  explicit SpanSource(std::span<const std::uint8_t> bytes) : mBytes(bytes) {}
  std::size_t Read(std::uint8_t* dest, std::size_t n) override {
    const std::size_t count = std::min(n, mBytes.size() - mPos);
    if (count > 0) std::memcpy(dest, mBytes.data() + mPos, count);
    mPos += count;
    return count;
  }
  bool Skip(std::uint64_t n) override {
    if (n > mBytes.size() - mPos) {
      mPos = mBytes.size();
      return false;
    }
    mPos += static_cast<std::size_t>(n);
    return true;
  }

 private:
  std::span<const std::uint8_t> mBytes;
  std::size_t mPos = 0;
};

class FileSource final : public Source {
 public:
  explicit FileSource(FileReader& reader) : mReader(reader) {}
  std::size_t Read(std::uint8_t* dest, std::size_t n) override {
    const std::ptrdiff_t got = mReader.Read(dest, static_cast<std::ptrdiff_t>(n));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }
  // FileReader has no seek; chunks worth skipping are small in practice and
  // a lying size simply runs into the end of the file.
  bool Skip(std::uint64_t n) override {
    std::uint8_t scratch[kSkipStep];
    while (n > 0) {
      const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(n, kSkipStep));
      if (Read(scratch, step) != step) return false;
      n -= step;
    }
    return true;
  }

 private:
  FileReader& mReader;
};

// Reads chunk headers until `id`, skipping other chunks with their pad byte.
bool FindChunk(Source& source, const char* id, std::uint32_t& size) {
  std::uint8_t header[kChunkHeaderSize];
  while (source.ReadExactly(header, kChunkHeaderSize)) {
    size = Le32(header + kIdSize);
    if (IdIs(header, id)) return true;
    if (!source.Skip(static_cast<std::uint64_t>(size) + (size & 1u))) return false;
  }
  return false;
}

int BytesPerSample(std::uint16_t bits) {
  switch (bits) {
    case 8:
    case 16:
    case 24:
    case 32:
      return bits / 8;
    default:
      return 0;
  }
}

double DecodeSample(const std::uint8_t* p, const WavInfo& info) {
  switch (info.bitsPerSample) {
    case 8:
      return p[0] / kScale8 - 1.0;
    case 16:
      return static_cast<std::int16_t>(Le16(p)) / kScale16;
    case 24: {
      const std::uint32_t u = p[0] | (p[1] << 8) | (p[2] << 16);
      const double x = u / kScale24;
      return x > 1.0 ? x - 2.0 : x;
    }
    default:
      break;
  }
  if (info.audioFormat == kFormatPcm) {
    return static_cast<std::int32_t>(Le32(p)) / kScale32;
  }
  const std::uint32_t raw = Le32(p);
  float f = 0.0f;
  std::memcpy(&f, &raw, sizeof f);
  // An infinite or NaN sample would poison the gain and the graph's transform.
  return std::isfinite(f) ? static_cast<double>(f) : 0.0;
}

WavStatus ReadFormat(Source& source, WavInfo& info) {
  std::uint8_t id[kIdSize * 3];
  if (!source.ReadExactly(id, sizeof id) || !IdIs(id, "RIFF") || !IdIs(id + 2 * kIdSize, "WAVE")) {
    return WavStatus::kNotRiffWave;
  }
  std::uint32_t size = 0;
  std::uint8_t fmt[kMinFormatSize];
  if (!FindChunk(source, "fmt ", size) || size < kMinFormatSize ||
      !source.ReadExactly(fmt, kMinFormatSize)) {
    return WavStatus::kNoFormat;
  }
  info.audioFormat = Le16(fmt);
  info.channels = Le16(fmt + 2);
  info.sampleRate = Le32(fmt + 4);
  info.blockAlign = Le16(fmt + 12);
  info.bitsPerSample = Le16(fmt + 14);
  const std::uint32_t rest = size - kMinFormatSize;
  if (!source.Skip(static_cast<std::uint64_t>(rest) + (size & 1u))) return WavStatus::kNoData;

  const int bytes = BytesPerSample(info.bitsPerSample);
  if (bytes == 0) return WavStatus::kUnsupportedSampleSize;
  if (info.channels == 0 || info.sampleRate == 0 ||
      info.blockAlign < static_cast<std::uint32_t>(bytes) * info.channels) {
    return WavStatus::kBadFormat;
  }
  return WavStatus::kOk;
}

// Streams the frames through the linear interpolator: output j sits at the
// accumulated position t_j = r + r + ... (j times), between frames
// i = floor(t_j) and i + 1. Frames stream through one read block at a time
// (memory stays bounded whatever the file declares), and reading stops once
// the buffer is full.
int Resample(Source& source, WavInfo& info, IrDisplayBuffer& out) {
  const double ratio = info.sampleRate / kEditorSampleRate;
  const double length = std::floor(static_cast<double>(info.frames) / ratio);
  const int wanted = static_cast<int>(std::min(length, static_cast<double>(kIrDisplaySize)));
  // Frames are fetched in blocks: one read per frame would cost a system
  // call each on a file.
  const std::size_t framesPerBlock = std::max<std::size_t>(1, kReadBlockBytes / info.blockAlign);
  std::vector<std::uint8_t> block(framesPerBlock * info.blockAlign);

  int j = 0;
  double t = 0.0;
  double previous = 0.0;
  std::uint64_t decoded = 0;
  bool ended = false;
  while (j < wanted && decoded < info.frames && !ended) {
    const std::uint64_t left = info.frames - decoded;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, framesPerBlock));
    const std::size_t got = source.Read(block.data(), want * info.blockAlign) / info.blockAlign;
    ended = got < want;
    for (std::size_t f = 0; f < got && j < wanted; ++f) {
      const double current = DecodeSample(block.data() + f * info.blockAlign, info);
      ++decoded;
      // Frame `decoded - 1` just arrived: every output whose left frame is
      // the one before it can be formed now.
      while (j < wanted && decoded >= 2 && std::floor(t) <= static_cast<double>(decoded - 2)) {
        const double i = std::floor(t);
        out[j++] = (current - previous) * (t - i) + previous;
        t += ratio;
      }
      previous = current;
    }
  }
  // A file shorter than its data size counts as ending where it ends.
  if (j < wanted && decoded < info.frames) info.frames = decoded;
  const double converted = std::floor(static_cast<double>(info.frames) / ratio);
  info.convertedLength = static_cast<std::uint64_t>(converted);
  const int limit = static_cast<int>(std::min<double>(wanted, converted));
  // The outputs left need the frame after the last one: the last frame
  // stands in for it.
  while (j < limit && decoded > 0 && std::floor(t) <= static_cast<double>(decoded - 1)) {
    out[j++] = previous;
    t += ratio;
  }
  return j;
}

WavStatus Read(Source& source, IrDisplayBuffer& buffer, WavInfo* infoOut) {
  WavInfo info;
  WavStatus status = ReadFormat(source, info);
  std::uint32_t dataSize = 0;
  if (status == WavStatus::kOk && !FindChunk(source, "data", dataSize)) status = WavStatus::kNoData;
  if (status == WavStatus::kOk) {
    info.frames = dataSize / info.blockAlign;
    IrDisplayBuffer result{};
    info.outputSamples = Resample(source, info, result);
    buffer = result;
  }
  if (infoOut) *infoOut = info;
  return status;
}

}  // namespace

WavStatus ReadWav(std::span<const std::uint8_t> bytes, IrDisplayBuffer& buffer, WavInfo* info) {
  SpanSource source(bytes);
  return Read(source, buffer, info);
}

WavStatus ReadWavFile(const std::string& path, IrDisplayBuffer& buffer, WavInfo* info) {
  FileReader reader(path);
  if (!reader.IsOpen()) return WavStatus::kCannotOpen;
  FileSource source(reader);
  return Read(source, buffer, info);
}

}  // namespace kr7
