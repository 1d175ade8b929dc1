// Writes the eight factory cabinet WAV files into a folder: mono PCM RIFF
// files with the names, rates, bit depths and frame counts the editor's
// impulse-response store expects. Two of them carry a LIST chunk after the
// data, one of odd length with its pad byte, as files from other tools do.
//
// Usage: kr7_make_cabinets <output folder>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/cabinets/CabinetSynth.h"

namespace {

struct CabinetFile {
  const char* fileName;
  int sampleRate;
  int bits;
  int frames;
  const char* trailingInfo;  // text of a LIST/INFO chunk after the data, or nullptr
  kr7::tools::CabinetVoice voice;
};

const std::array<CabinetFile, 8> kCabinets = {{
    {"01-Valvora.wav", 44100, 16, 2000, nullptr, {80, 110, 5, 600, -3, 2600, 5, 5200, 0.35, 0.30}},
    {"02-Blond 2x12.wav", 44100, 16, 1769, nullptr, {70, 95, 4, 450, -2, 3200, 6, 6400, 0.25, 0.35}},
    {"03-Tweed 4x10.wav", 44100, 16, 1711, nullptr, {90, 140, 6, 800, -4, 2200, 4, 4800, 0.30, 0.25}},
    {"04-Cali 1x12.wav", 44100, 16, 6470, "KR7 cabinet: Cali 1x12", {85, 120, 3, 700, -3, 3000, 7, 5600, 0.20, 0.40}},
    {"05-Cali 4x12.wav", 44100, 16, 2000, nullptr, {65, 90, 7, 500, -5, 2800, 5, 5000, 0.45, 0.30}},
    {"06-Blue 2x12.wav", 44100, 16, 4354, nullptr, {75, 105, 4, 650, -2, 3600, 6, 6800, 0.28, 0.32}},
    {"07-Brit 2x12.wav", 48000, 24, 5597, "KR7 cabinet: Brit", {80, 100, 6, 550, -4, 2400, 8, 4600, 0.32, 0.28}},
    {"08-Boutique 4x12.wav", 44100, 24, 1928, nullptr, {60, 85, 6, 420, -3, 3400, 4, 5400, 0.50, 0.26}},
}};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutId(std::vector<std::uint8_t>& out, const char* id) {
  out.insert(out.end(), id, id + 4);
}

void PutSample(std::vector<std::uint8_t>& out, double s, int bits) {
  const double full = bits == 16 ? 32767.0 : 8388607.0;
  const auto v = static_cast<std::int32_t>(std::lround(std::clamp(s, -1.0, 1.0) * full));
  const auto u = static_cast<std::uint32_t>(v);
  for (int b = 0; b < bits / 8; ++b) {
    out.push_back(static_cast<std::uint8_t>((u >> (8 * b)) & 0xFF));
  }
}

std::vector<std::uint8_t> Wav(const CabinetFile& c) {
  const auto ir = kr7::tools::SynthesiseCabinet(c.voice, c.sampleRate, c.frames);
  const unsigned blockAlign = static_cast<unsigned>(c.bits / 8);
  std::vector<std::uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, 0);  // patched below
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<std::uint32_t>(c.sampleRate));
  Put32(out, static_cast<std::uint32_t>(c.sampleRate) * blockAlign);
  Put16(out, blockAlign);
  Put16(out, static_cast<unsigned>(c.bits));
  PutId(out, "data");
  Put32(out, static_cast<std::uint32_t>(c.frames) * blockAlign);
  for (double s : ir) {
    PutSample(out, s, c.bits);
  }
  if (out.size() & 1) {
    out.push_back(0);  // RIFF pads odd-sized chunks to an even length
  }
  if (c.trailingInfo != nullptr) {
    const std::string text = c.trailingInfo;
    const auto textSize = static_cast<std::uint32_t>(text.size() + 1);  // with its terminator
    PutId(out, "LIST");
    Put32(out, 4 + 8 + textSize + (textSize & 1));
    PutId(out, "INFO");
    PutId(out, "INAM");
    Put32(out, textSize);
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
    if (textSize & 1) {
      out.push_back(0);
    }
  }
  const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
  for (int b = 0; b < 4; ++b) {
    out[4 + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>((riffSize >> (8 * b)) & 0xFF);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  for (const auto& c : kCabinets) {
    const std::string path = std::string(argv[1]) + "/" + c.fileName;
    const auto bytes = Wav(c);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
      std::perror(path.c_str());
      return 1;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
      return 1;
    }
  }
  return 0;
}
