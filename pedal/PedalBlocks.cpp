#include "pedal/PedalBlocks.h"

#include <algorithm>
#include <array>

namespace kr7::pedal {

namespace {

// Settings block positions of the three preset parameters it also carries.
constexpr std::array<int, kSettingsSecondGroupCount> kSettingsPresetParams = {
    kParamSoftClipping, kParamAnalogSimGain, kParamAntiAliasingFilter};
constexpr int kIrNamesPerBank = 32;
constexpr int kPagesPerBank = 4;

using Contents = std::array<std::uint8_t, kBlockContentsSize>;

std::size_t At(int value) { return static_cast<std::size_t>(value); }

}  // namespace

Bytes SettingsBlock(const PedalState& state) {
  Contents contents{};
  contents[ContentsIndex(kSettingsActiveSlotByte)] = static_cast<std::uint8_t>(state.activeSlot);
  for (std::size_t i = 0; i < kSettingsFirstGroupCount; ++i) {
    contents[ContentsIndex(kSettingsFirstGroupByte + i)] = state.globals[i];
  }
  for (std::size_t i = 0; i < kSettingsSecondGroupCount; ++i) {
    contents[ContentsIndex(kSettingsSecondGroupByte + i)] =
        PayloadValue(state.editBuffer, kSettingsPresetParams[i]);
  }
  contents[ContentsIndex(kSettingsLastParameterByte)] = state.globals[kSettingsFirstGroupCount];
  return build::GlobalBlock(kGlobalSettings, contents);
}

Bytes ControllerMapBlock(const PedalState& state) {
  Contents contents{};
  std::copy(state.controllerMap.begin(), state.controllerMap.end(),
            contents.begin() + ContentsIndex(kControllerMapByte));
  return build::GlobalBlock(kGlobalControllerMap, contents);
}

Bytes ProgramMapBlock(const PedalState& state) {
  Contents contents{};
  std::copy(state.programMap.begin(), state.programMap.end(),
            contents.begin() + ContentsIndex(kProgramMapByte));
  return build::GlobalBlock(kGlobalProgramMap, contents);
}

Bytes ChecksumsBlock(const PedalState& state) {
  Contents contents{};
  for (std::size_t slot = 0; slot < kPresetSlotCount; ++slot) {
    const std::uint16_t sum = BlockChecksum(state.presets[slot]);
    contents[ContentsIndex(kPresetChecksumsByte) + 2 * slot] = High7(sum);
    contents[ContentsIndex(kPresetChecksumsByte) + 2 * slot + 1] = Low7(sum);
  }
  return build::GlobalBlock(kGlobalPresetChecksums, contents);
}

Bytes IrNamesPage(const PedalState& state, int page) {
  Contents names{};
  std::fill(names.begin(), names.end(), kTextPad);
  const int first = (page / kPagesPerBank) * kIrNamesPerBank +
                    (page % kPagesPerBank) * static_cast<int>(kIrNamesPerPage);
  for (std::size_t k = 0; k < kIrNamesPerPage; ++k) {
    const std::optional<IrImage>& image = state.irs[At(first) + k];
    if (image) {
      std::copy_n(image->begin() + kIrNameOffset, kTextFieldSize,
                  names.begin() + k * kTextFieldSize);
    }
  }
  return build::IrNames(static_cast<std::uint8_t>(page), names);
}

bool ApplyGlobalBlock(PedalState& state, const GlobalBlock& message) {
  switch (message.type) {
    case kGlobalSettings:
      // Byte 8 names the editor's current preset, which is already the
      // active one; switching on it would throw away the edit buffer.
      for (std::size_t i = 0; i < kSettingsFirstGroupCount; ++i) {
        state.globals[i] = message.At(kSettingsFirstGroupByte + i) & kDataByteMask;
      }
      state.globals[kSettingsFirstGroupCount] =
          message.At(kSettingsLastParameterByte) & kDataByteMask;
      for (std::size_t i = 0; i < kSettingsSecondGroupCount; ++i) {
        const int index = kSettingsPresetParams[i];
        SetPayloadValue(state.editBuffer, index,
                        ClampToParameterRange(index, message.At(kSettingsSecondGroupByte + i)));
      }
      break;
    case kGlobalControllerMap:
      // The editor sends only the eight control-change numbers; the jack
      // settings that follow them in the pedal's block stay as they are.
      for (std::size_t i = 0; i < kControllerMapSentCount; ++i) {
        state.controllerMap[i] = message.At(kControllerMapByte + i) & kDataByteMask;
      }
      break;
    case kGlobalProgramMap:
      for (std::size_t i = 0; i < kProgramMapEntries; ++i) {
        state.programMap[i] = message.At(kProgramMapByte + i) & kDataByteMask;
      }
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace kr7::pedal
