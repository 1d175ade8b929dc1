// Writes the factory preset bank: 128 FactoryPresetWrite messages of 267
// bytes, slots 0..127 in order (34176 bytes), framed by the device layer's
// own builder so the bank and the editor can never disagree on the format.
//
// Payload: 01 00, 32-byte name padded with spaces, parameters 0..64, zeros
// up to 191, then two 32-byte user-IR names of spaces.
//
// Usage: kr7_make_factory_bank <output file>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "device/Messages.h"
#include "model/PresetPayload.h"
#include "tools/bank/FactoryPresets.h"

namespace {

using kr7::kPresetPayloadSize;
constexpr std::size_t kNameOffset = kr7::kPayloadNameOffset;
constexpr std::size_t kNameSize = kr7::kPayloadTextSize;
constexpr std::size_t kValuesOffset = kr7::kPayloadValuesOffset;
constexpr std::size_t kIrNamesOffset = kr7::kPayloadIrNameAOffset;

std::array<std::uint8_t, kPresetPayloadSize> Payload(int slot) {
  const kr7::tools::PresetRecipe recipe = kr7::tools::FactoryRecipe(slot);
  std::array<std::uint8_t, kPresetPayloadSize> payload{};
  payload[0] = 0x01;
  payload[1] = 0x00;
  for (std::size_t i = 0; i < kNameSize; ++i) {
    payload[kNameOffset + i] = i < recipe.name.size() ? static_cast<std::uint8_t>(recipe.name[i]) : ' ';
  }
  const auto values = kr7::tools::PresetValues(recipe);
  std::copy(values.begin(), values.end(), payload.begin() + kValuesOffset);
  std::fill(payload.begin() + kIrNamesOffset, payload.end(), static_cast<std::uint8_t>(' '));
  return payload;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
    return 2;
  }
  std::vector<std::uint8_t> bank;
  for (int slot = 0; slot < kr7::tools::kBankSlots; ++slot) {
    const auto payload = Payload(slot);
    const auto message = kr7::build::FactoryPresetWrite(static_cast<std::uint8_t>(slot), payload);
    bank.insert(bank.end(), message.begin(), message.end());
  }
  std::FILE* f = std::fopen(argv[1], "wb");
  if (f == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(bank.data(), 1, bank.size(), f) == bank.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
