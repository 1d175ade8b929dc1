#pragma once
// The global blocks and name pages the pedal sends, built from its state,
// and the blocks the editor sends, applied to it. Pure functions: the caller
// holds whatever lock guards the state.

#include "device/Messages.h"
#include "pedal/PedalState.h"

namespace kr7::pedal {

// Type 0: active slot, settings 80..90, parameters 33..35 of the edit buffer.
Bytes SettingsBlock(const PedalState& state);
// Type 1: the 16 controller-map values 91..106.
Bytes ControllerMapBlock(const PedalState& state);
// Type 2: the program map.
Bytes ProgramMapBlock(const PedalState& state);
// Type 3: the block checksum of every stored preset.
Bytes ChecksumsBlock(const PedalState& state);
// IrNames of page 0..35: eight names, spaces for empty slots.
Bytes IrNamesPage(const PedalState& state, int page);

// Applies a block of type 0, 1 or 2 from the editor (checksum already
// checked). Byte 8 of the settings is not applied: it names the editor's
// current preset, which is already the active one. A controller-map block
// carries only the eight control-change numbers; the jack settings stay.
// Every byte is kept as a MIDI data byte. False for any other type.
bool ApplyGlobalBlock(PedalState& state, const GlobalBlock& block);

}  // namespace kr7::pedal
