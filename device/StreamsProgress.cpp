#include "device/StreamsProgress.h"

#include <algorithm>
#include <cstdio>

#include "model/EditorView.h"
#include "model/UserTexts.h"

namespace kr7 {

namespace {
constexpr double kPercent = 100.0;
}

std::string PercentText(double ratio) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, kPercentFormat.data(),
                static_cast<int>(std::clamp(ratio, 0.0, 1.0) * kPercent));
  return buffer;
}

void ShowProgress(EditorView& view, const ProgressDisplay& display, double ratio) {
  view.SetControlValue(display.valueTag, std::clamp(ratio, 0.0, 1.0));
  view.SetControlText(display.textTag, PercentText(ratio));
}

void ResetProgress(EditorView& view, const ProgressDisplay& display) {
  ShowProgress(view, display, 0.0);
}

void SetProgressVisible(EditorView& view, const ProgressDisplay& display, bool visible) {
  view.SetGroupHidden(display.group, !visible);
}

}  // namespace kr7
