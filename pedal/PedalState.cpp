#include "pedal/PedalState.h"

#include <algorithm>

#include "device/Packing.h"

namespace kr7::pedal {

namespace {

// Only the ranges are read; the table's values never change here.
const ParameterTable& Ranges() {
  static const ParameterTable table;
  return table;
}

constexpr int kDefaultTunerFrequency = 12;  // 440 Hz

}  // namespace

std::optional<int> IrEntryForSlot(int slot) {
  if (slot >= 0 && slot < kNumUserIrs) {
    return slot;
  }
  if (slot >= kFirstCabinetSlot && slot < kFirstCabinetSlot + kNumCabinets) {
    return kNumUserIrs + (slot - kFirstCabinetSlot);
  }
  return std::nullopt;
}

std::uint8_t PayloadValue(const PresetPayload& payload, int index) {
  return payload[kPayloadValuesOffset + static_cast<std::size_t>(index)];
}

void SetPayloadValue(PresetPayload& payload, int index, std::uint8_t value) {
  payload[kPayloadValuesOffset + static_cast<std::size_t>(index)] = value;
}

std::optional<int> PresetIndexForDeviceNumber(int deviceNumber) {
  for (int index = kFirstPresetParam; index <= kLastPresetParam; ++index) {
    if (DeviceParameterNumber(index) == deviceNumber) {
      return index;
    }
  }
  return std::nullopt;
}

std::uint8_t ClampToParameterRange(int index, int raw) {
  const iplug::IParam* param = Ranges().GetParam(index);
  if (param == nullptr) {
    return static_cast<std::uint8_t>(std::clamp(raw, 0, 127));
  }
  const int lo = static_cast<int>(param->GetMin());
  const int hi = static_cast<int>(param->GetMax());
  return static_cast<std::uint8_t>(std::clamp(raw, lo, hi));
}

void ResetGlobalBlocks(PedalState& state) {
  state.globals.fill(0);
  state.globals[kParamTunerFrequency - kFirstGlobalParam] = kDefaultTunerFrequency;
  state.controllerMap.fill(0);
  for (int i = 0; i < kNumControllerMap; ++i) {
    state.controllerMap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  }
  for (int i = 0; i < kNumProgramEntries; ++i) {
    state.programMap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  }
}

std::string IrImageName(const IrImage& image) {
  const std::string text =
      ReadText(std::span<const std::uint8_t>(image).subspan(kIrNameOffset, kTextFieldSize));
  return std::string(TrimTrailingSpaces(text));
}

}  // namespace kr7::pedal
