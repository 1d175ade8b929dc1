#pragma once
// The progress overlays a long transfer fills: a ring (value 0..1) and a
// percentage text, shown as one group.

#include <string>
#include <string_view>

#include "model/ControlTags.h"

namespace kr7 {

class EditorView;

struct ProgressDisplay {
  std::string_view group;
  int valueTag;
  int textTag;
};

// Fetch, export, import, impulse-response upload and download.
inline constexpr ProgressDisplay kPresetProgress{kGroupPresetProgress, kTagPresetProgressRing,
                                                kTagPresetProgressText};
// Factory presets update.
inline constexpr ProgressDisplay kFactoryProgress{kGroupFactoryProgress, kTagFactoryProgressRing,
                                                 kTagFactoryProgressText};
// Firmware update.
inline constexpr ProgressDisplay kFirmwareProgress{kGroupFirmwareProgress,
                                                  kTagFirmwareProgressRing,
                                                  kTagFirmwareProgressText};

// "%d %%" of ratio × 100 cut to a whole number (0.999 reads "99 %"); ratios
// outside 0..1 are limited to it.
std::string PercentText(double ratio);

// Sets the ring to ratio and the text to PercentText(ratio).
void ShowProgress(EditorView& view, const ProgressDisplay& display, double ratio);
// Ring 0 and "0 %" (the state of a fresh overlay).
void ResetProgress(EditorView& view, const ProgressDisplay& display);
void SetProgressVisible(EditorView& view, const ProgressDisplay& display, bool visible);

}  // namespace kr7
