#pragma once
// The main editor page: the pedal photograph with its knobs, footswitches,
// two-digit display and save button; the preset list with its selector and
// scroll bar; the preset name field, IMPORT and EXPORT; the device status
// lines and RECONNECT; the block editor area with every block group; the
// impulse-response block; the two response graphs, the hint and the display
// selector.

#include "ui/IGraphicsStructs.h"

namespace kr7::pages {

// A knob column of the block editor area: caption, knob, value and unit,
// each 200 units wide from x, in one of two vertical layouts (the drive and
// ambience blocks use the lower one under their two rows of buttons).
enum class ColumnLayout { Upper, Lower };

enum class ColumnPart { Caption, Knob, Value, Unit };
igraphics::Rect ColumnRect(ColumnLayout layout, ColumnPart part, float x);

// Centre of the pedal knob bound to param (design units); (0, 0) for a
// parameter without a pedal knob.
igraphics::Rect PedalKnobCentre(int param);

// Design rectangle of preset-list row i before scrolling, and of the
// selector over the visible part of the list.
igraphics::Rect PresetRowRect(int row);
inline constexpr igraphics::Rect kPresetSelectorRect{1, 228, 261, 1178};
inline constexpr igraphics::Rect kIrListSelectorRect{445, 713, 695, 1163};
inline constexpr igraphics::Rect kGraphSelectorRect{1180, 650, 1880, 1160};

}  // namespace kr7::pages
