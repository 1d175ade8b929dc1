#pragma once
// The settings block (GlobalBlock type 0) and the parameters it carries.
//
// Contents bytes (message positions): 8 the active slot, 9..18 parameters
// 80..89, 19..21 parameters 33..35, 24 parameter 90; every other byte 0.
// Byte 14 ("EDIT POT DISPLAY MODE", parameter 85) is sent as 2 for on, and
// any non-zero value received there means on.

#include <functional>
#include <span>

#include "device/Packing.h"
#include "model/Parameters.h"

namespace kr7 {

// The complete message the editor sends: its current preset number as the
// active slot and the settings parameters' integer values.
Bytes BuildSettingsBlock(const ParameterTable& params, int currentPreset);

// Hands every parameter a received block carries to setRaw(index, raw), in
// the order 80..89, 33..35, 90. contents are the 256 bytes from message byte
// 8; a shorter span reads as zero-padded.
void ReadSettingsBlock(std::span<const std::uint8_t> contents,
                       const std::function<void(int index, int raw)>& setRaw);

}  // namespace kr7
