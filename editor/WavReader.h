#pragma once
// Reads RIFF/WAVE impulse responses into the editor's IR display buffer.
//
// Accepted: 8-bit unsigned, 16/24/32-bit signed PCM and 32-bit float (any
// 32-bit file whose audio format is not 1 is read as float), any channel
// count (only the first channel is kept), any sample rate (brought to
// kEditorSampleRate by linear interpolation with an accumulated position).
// Chunks before "fmt " and between "fmt " and "data" are skipped, with the
// pad byte of odd-sized chunks; anything after the data is never read.
//
// A file that cannot be used leaves the buffer exactly as it was: the result
// is computed aside and copied in only on success. The reader never trusts a
// declared size: a data chunk longer than the file is read as far as the
// file goes, and only the frames that can reach the buffer are decoded, so a
// huge or hostile file costs no more than a short one.
//
// Pure apart from reading the file; any thread may call it with its own
// buffer.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace kr7 {

inline constexpr int kIrDisplaySize = 4096;
// The rate of the pedal and of the display buffer.
inline constexpr double kEditorSampleRate = 44100.0;

using IrDisplayBuffer = std::array<double, kIrDisplaySize>;

enum class WavStatus {
  kOk,
  kCannotOpen,
  kNotRiffWave,        // first 12 bytes are not "RIFF" .... "WAVE"
  kNoFormat,           // the file ends before a usable "fmt " chunk
  kNoData,             // the file ends before the "data" chunk
  kBadFormat,          // 0 channels, block align 0 or too small, rate 0
  kUnsupportedSampleSize,  // not 8, 16, 24 or 32 bits
};

// What the header said; filled as far as the reader got.
struct WavInfo {
  std::uint16_t audioFormat = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  // Data size / block align; fewer when the file ends inside the data.
  std::uint64_t frames = 0;
  // L = floor(frames / (rate / 44100)): the length at the editor's rate.
  std::uint64_t convertedLength = 0;
  int outputSamples = 0;  // samples written into the buffer: min(L, 4096)
};

// Reads a WAV image held in memory. On kOk the buffer is cleared and its
// first min(L, 4096) entries hold the first channel at 44100 Hz, L being
// floor(frames / (rate / 44100)). Otherwise the buffer is unchanged.
WavStatus ReadWav(std::span<const std::uint8_t> bytes, IrDisplayBuffer& buffer,
                  WavInfo* info = nullptr);

// The same for a file, read through FileReader.
WavStatus ReadWavFile(const std::string& path, IrDisplayBuffer& buffer, WavInfo* info = nullptr);

}  // namespace kr7
