#include "editor/DeviceSettings.h"

#include "device/SettingsBlock.h"
#include "model/Parameters.h"

namespace kr7 {

void DeviceSettings::ApplySettingsBlock(const GlobalBlock& block) {
  const ApplyingScope applying;
  ReadSettingsBlock(block.contents, [this](int index, int raw) { mParams.SetParamFromRaw(index, raw); });
}

void DeviceSettings::ApplyControllerMap(const GlobalBlock& block) {
  const ByteSpan values = block.contents;
  for (std::size_t i = 0; i < kControllerMapReceivedCount && i < values.size(); ++i) {
    const int index = kParamControllerMap0 + static_cast<int>(i);
    // These two positions fall on the program-map selector and its entry:
    // setting them would write the entry into the program map.
    if (index == kParamControllerProgram || index == kParamRxa3Program) continue;
    mParams.SetParamFromRaw(index, values[i]);
  }
}

void DeviceSettings::ApplyProgramMap(const GlobalBlock& block) {
  const ByteSpan entries = block.contents;
  for (std::size_t i = 0; i < kProgramMapEntries && i < entries.size(); ++i) {
    mEditor.programMap[i].store(entries[i] & kDataByteMask);
  }
  if (!mWindow.HasWindow()) return;
  const int program = mParams.ParamInt(kParamControllerProgram) & kDataByteMask;
  mParams.SetParamFromPosition(kParamRxa3Program,
                               mEditor.programMap[static_cast<std::size_t>(program)].load() / 127.0);
}

}  // namespace kr7
