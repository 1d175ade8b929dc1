#include "pedal/FactoryContent.h"

#include <cstdio>
#include <string>
#include <utility>

#include "device/Messages.h"
#include "model/PresetPayload.h"

namespace kr7::pedal {

namespace {

constexpr std::uint16_t kIrKindEditor = 1;
constexpr std::uint16_t kIrGainUnity = 0x8000;
constexpr int kFirstSampleAmplitude = 30000;

// Slots whose preset plays a user IR on source A / B, and the IR they pick.
constexpr int kUserIrAPeriod = 4;
constexpr int kUserIrAPhase = 1;
constexpr int kUserIrBPeriod = 8;
constexpr int kUserIrBPhase = 5;
constexpr int kIrsPerBank = 32;

void WriteLe16(IrImage& image, std::size_t offset, std::uint16_t value) {
  image[offset] = static_cast<std::uint8_t>(value & 0xFF);
  image[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Spreads (slot, index) over the parameter's range without any randomness.
int Mix(int slot, int index) { return slot * 131 + index * 17 + slot * index * 7; }

std::string NumberedName(const char* format, int number) {
  char text[kTextFieldSize + 1];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

std::string FactoryBankIrName(int number) {
  return NumberedName("FACTORY IR %02d", number - kFirstFactoryBankIr + 1);
}

void SelectUserIr(PresetPayload& payload, int modeIndex, int msbIndex, int lsbIndex,
                  std::size_t nameOffset, int irNumber) {
  SetPayloadValue(payload, modeIndex, 1);
  SetPayloadValue(payload, msbIndex, static_cast<std::uint8_t>(irNumber >> 7));
  SetPayloadValue(payload, lsbIndex, static_cast<std::uint8_t>(irNumber & 0x7F));
  WriteTextField(std::span<std::uint8_t>(payload).subspan(nameOffset, kPayloadTextSize),
                 FactoryBankIrName(irNumber));
}

}  // namespace

PresetPayload DeterministicPreset(int slot) {
  PresetPayload payload{};
  payload[kPayloadMarkerOffset] = kPayloadMarker;
  WriteTextField(std::span<std::uint8_t>(payload).subspan(kPayloadNameOffset, kPayloadTextSize),
                 NumberedName("VIRTUAL %03d", slot));
  for (int index = kFirstPresetParam; index <= kLastPresetParam; ++index) {
    SetPayloadValue(payload, index, ClampToParameterRange(index, Mix(slot, index) % 128));
  }
  // A tuner that mutes or bypasses, or a user IR nobody chose, would make
  // the bank sound broken; keep them neutral unless selected below.
  for (int index : {kParamTuner, kParamIrModeA, kParamIrModeB, kParamUserIrAMsb, kParamUserIrA,
                    kParamUserIrBMsb, kParamUserIrB}) {
    SetPayloadValue(payload, index, 0);
  }
  std::span<std::uint8_t> bytes(payload);
  WriteTextField(bytes.subspan(kPayloadIrNameAOffset, kPayloadTextSize), "");
  WriteTextField(bytes.subspan(kPayloadIrNameBOffset, kPayloadTextSize), "");
  if (slot % kUserIrAPeriod == kUserIrAPhase) {
    SelectUserIr(payload, kParamIrModeA, kParamUserIrAMsb, kParamUserIrA, kPayloadIrNameAOffset,
                 kFirstFactoryBankIr + slot % kIrsPerBank);
  }
  if (slot % kUserIrBPeriod == kUserIrBPhase) {
    SelectUserIr(payload, kParamIrModeB, kParamUserIrBMsb, kParamUserIrB, kPayloadIrNameBOffset,
                 kFirstFactoryBankIr + (slot + 1) % kIrsPerBank);
  }
  return payload;
}

IrImage DeterministicIr(std::string_view name, int seed) {
  IrImage image{};
  WriteLe16(image, kIrKindOffset, kIrKindEditor);
  WriteLe16(image, kIrGainOffset, kIrGainUnity);
  WriteTextField(std::span<std::uint8_t>(image).subspan(kIrNameOffset, kTextFieldSize), name);
  const int decayNumerator = 56 + seed % 8;  // of 64 per sample
  const int flipEvery = 1 + seed % 5;
  int amplitude = kFirstSampleAmplitude;
  for (int i = 0; i < kIrSampleCount; ++i) {
    const int sign = (i / flipEvery) % 2 == 0 ? 1 : -1;
    const auto sample = static_cast<std::int16_t>(sign * amplitude);
    WriteLe16(image, kIrSamplesOffset + 2 * static_cast<std::size_t>(i),
              static_cast<std::uint16_t>(sample));
    amplitude = amplitude * decayNumerator / 64;
  }
  return image;
}

PedalState MakeFactoryState() {
  PedalState state;
  std::array<PresetPayload, kNumSlots> bank{};
  for (int slot = 0; slot < kNumSlots; ++slot) {
    bank[static_cast<std::size_t>(slot)] = DeterministicPreset(slot);
  }
  InstallBank(state, bank);
  ResetGlobalBlocks(state);
  for (int number = kFirstFactoryBankIr; number < kNumUserIrs; ++number) {
    state.irs[static_cast<std::size_t>(number)] =
        DeterministicIr(FactoryBankIrName(number), number);
  }
  for (int k = 0; k < kNumCabinets; ++k) {
    state.irs[static_cast<std::size_t>(kNumUserIrs + k)] =
        DeterministicIr(kCabinetNames[static_cast<std::size_t>(k + 1)], k);
  }
  return state;
}

std::optional<std::array<PresetPayload, kNumSlots>> ParseFactoryBank(ByteSpan bank,
                                                                     std::string* error) {
  auto fail = [error](std::string reason) {
    if (error != nullptr) {
      *error = std::move(reason);
    }
    return std::nullopt;
  };
  if (bank.size() != kFactoryBankFileSize) {
    return fail("a factory bank is " + std::to_string(kFactoryBankFileSize) + " bytes, not " +
                std::to_string(bank.size()));
  }
  std::array<PresetPayload, kNumSlots> payloads{};
  for (std::size_t slot = 0; slot < kNumSlots; ++slot) {
    const EditorMessage message =
        RecogniseFromEditor(bank.subspan(slot * kBlockMessageSize, kBlockMessageSize));
    const auto* write = std::get_if<FactoryPresetWrite>(&message);
    if (write == nullptr || write->slot != slot || !write->checksumOk) {
      return fail("message " + std::to_string(slot) +
                  " is not a FactoryPresetWrite of that slot with a right checksum");
    }
    std::copy(write->payload.begin(), write->payload.end(), payloads[slot].begin());
  }
  return payloads;
}

void InstallBank(PedalState& state, const std::array<PresetPayload, kNumSlots>& bank) {
  state.factoryBank = bank;
  state.presets = bank;
  state.editBuffer = state.presets[static_cast<std::size_t>(state.activeSlot)];
}

}  // namespace kr7::pedal
