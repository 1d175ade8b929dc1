#pragma once
// The editor's window as one list of controls: the main page underneath and
// every other page as groups stacked over it. BuildPages runs the layout once
// per drawing context; each page has a builder of its own (PageBuilders.h)
// and the order of the builders is the stacking order.
//
// Everything here runs on the window's thread.

#include <array>

#include "editor/WindowUnits.h"
#include "model/ControlTags.h"
#include "ui/IGraphics.h"

namespace igraphics {
class ITextControl;
class IInvisibleSelectControl3;
class IFreqResponseGraph;
class IDynamicsResponseGraph;
}  // namespace igraphics

namespace kr7::pages {

class PageTransitions;

inline constexpr int kDesignWidth = 1920;
inline constexpr int kDesignHeight = 1200;
// One third to three times the design size: 640 x 400 .. 5760 x 3600.
inline constexpr float kMinScale = 1.f / 3.f;
inline constexpr float kMaxScale = 3.f;
inline constexpr int kNumPresetRows = 128;

// Controls the editor reaches directly because they carry no tag.
struct PageRefs {
  std::array<igraphics::ITextControl*, kNumPresetRows> presetRows{};
  std::array<igraphics::ITextControl*, kNumUserIrBrowserRows> userIrRows{};
  // The selectors over lists whose rows the handler picks by event: the
  // preset list, the impulse-response list, and the two columns of the
  // user impulse-response browser.
  igraphics::IInvisibleSelectControl3* presetSelector = nullptr;
  igraphics::IInvisibleSelectControl3* irListSelector = nullptr;
  igraphics::IInvisibleSelectControl3* userIrLeftSelector = nullptr;
  igraphics::IInvisibleSelectControl3* userIrRightSelector = nullptr;
  std::array<const igraphics::IInvisibleSelectControl3*, 4> ListSelectors() const {
    return {presetSelector, irListSelector, userIrLeftSelector, userIrRightSelector};
  }
  igraphics::IFreqResponseGraph* irGraph = nullptr;
  igraphics::IDynamicsResponseGraph* dynamicsGraph = nullptr;
  // Over the main page while a long transfer runs, so that a stray click
  // cannot select a preset or send a parameter into the transfer.
  igraphics::IControl* transferShield = nullptr;
};

// What a page builder works with.
struct PageContext {
  igraphics::IGraphics& ui;
  const WindowUnits& units;
  PageTransitions& transitions;
  PageRefs& refs;
};

// Builds every page into ctx.ui in stacking order, sets the start-up
// visibility and the design size at scale. A context that already has controls is
// left alone (false).
bool BuildPages(PageContext& ctx, float scale);

}  // namespace kr7::pages
