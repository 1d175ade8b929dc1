#include "device/SettingsBlock.h"

#include <array>

#include "device/Messages.h"

namespace kr7 {

namespace {

struct SettingsField {
  std::size_t messageByte;
  int param;
};

// In the order a received block is applied.
constexpr std::array<SettingsField, 14> kSettingsFields = {{
    {9, kParamDefineMidiMapping},
    {10, kParamMidiThruMode},
    {11, kParamPatchOffset},
    {12, kParamMidiCcMode},
    {13, kParamMidiCcChannel},
    {kSettingsSwitchByte, kParamEditPotDisplayMode},
    {15, kParamDisengageAllPots},
    {16, kParamTunerFrequency},
    {17, kParamPresetProtectionWriter},
    {18, kParamTunerDetune},
    {kSettingsSecondGroupByte, kParamSoftClipping},
    {20, kParamAnalogSimGain},
    {21, kParamAntiAliasingFilter},
    {kSettingsLastParameterByte, kParamCabinetBypass},
}};

}  // namespace

Bytes BuildSettingsBlock(const ParameterTable& params, int currentPreset) {
  std::array<std::uint8_t, kBlockContentsSize> contents{};
  contents[ContentsIndex(kSettingsActiveSlotByte)] =
      static_cast<std::uint8_t>(currentPreset & kDataByteMask);
  for (const SettingsField& field : kSettingsFields) {
    const int value = params.GetParam(field.param)->Int();
    contents[ContentsIndex(field.messageByte)] =
        field.messageByte == kSettingsSwitchByte ? EncodeSettingsSwitch(value)
                                                 : static_cast<std::uint8_t>(value & kDataByteMask);
  }
  return build::GlobalBlock(kGlobalSettings, contents);
}

void ReadSettingsBlock(std::span<const std::uint8_t> contents,
                       const std::function<void(int index, int raw)>& setRaw) {
  for (const SettingsField& field : kSettingsFields) {
    const std::size_t index = ContentsIndex(field.messageByte);
    const std::uint8_t byte = index < contents.size() ? contents[index] : 0;
    setRaw(field.param,
           field.messageByte == kSettingsSwitchByte ? DecodeSettingsSwitch(byte) : byte);
  }
}

}  // namespace kr7
