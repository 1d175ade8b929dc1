#pragma once
// The surface the window opens with: fonts, the pedal photograph, the device
// status lines the session writes, and the toolkit's shared controls (corner
// resizer, text editor, popup menu, value bubble).

#include "ui/IGraphics.h"

namespace kr7::shell {

inline constexpr int kDesignWidth = 1920;
inline constexpr int kDesignHeight = 1200;
// One third to three times the design size: 640 x 400 .. 5760 x 3600.
inline constexpr float kMinScale = 1.f / 3.f;
inline constexpr float kMaxScale = 3.f;

void BuildStartupLayout(igraphics::IGraphics& ui);

}  // namespace kr7::shell
