#include "ui/pages/OverlayParts.h"

#include <memory>

#include "ui/pages/MainPageStyles.h"

namespace kr7::pages {
namespace {

using igraphics::TextStyle;

constexpr const char* kRoboto = "Roboto-Regular";
constexpr float kRingTrack = 18.f;
constexpr float kRingStart = -135.f;
constexpr float kRingEnd = 135.f;

OverlayTextStyles MakeOverlayStyles() {
  const igraphics::Colour white = igraphics::kColourWhite;
  OverlayTextStyles s;
  s.title = TextStyle(40.f, white, kRoboto);
  s.percentage = TextStyle(60.f, white, kRoboto);
  s.firmwarePercentage = TextStyle(50.f, white, kRoboto);
  s.link = TextStyle(25.f, white, kRoboto, igraphics::EAlign::Centre, igraphics::EVAlign::Top);
  s.version = TextStyle(45.f, white, kRoboto);
  s.browserRow = TextStyle(24.f, igraphics::Colour(255, 100, 255, 255), kRoboto, igraphics::EAlign::Near);
  s.bankCaption = TextStyle(24.f, igraphics::kColourBlack);
  return s;
}

}  // namespace

const OverlayTextStyles& OverlayStyles() {
  static const OverlayTextStyles styles = MakeOverlayStyles();
  return styles;
}

igraphics::IVKnobControl* AddProgressRing(PageContext& ctx, const igraphics::Rect& bounds,
                                          std::string_view label, int tag, std::string_view group) {
  auto* ring = ctx.ui.AddControl(
      std::make_unique<igraphics::IVKnobControl>(bounds, igraphics::kNoParameter, label,
                                                 PageWidgetStyles().knob, false, false, kRingStart,
                                                 kRingEnd, kRingStart,
                                                 igraphics::EDirection::Vertical, 4.0, kRingTrack),
      tag, group);
  // The transfer owns the value; a drag must not pretend progress.
  ring->SetIgnoreMouse(true);
  return ring;
}

igraphics::IVButtonControl* AddButton(PageContext& ctx, const igraphics::Rect& bounds,
                                      std::string_view label, const igraphics::WidgetStyle& style,
                                      std::string_view group, std::function<void()> action) {
  auto* button = ctx.ui.AddControl(std::make_unique<igraphics::IVButtonControl>(
                                       bounds, igraphics::SplashClickActionFunc, label, style),
                                   igraphics::kNoTag, group);
  button->SetAnimationEndActionFunction([run = std::move(action)](igraphics::IControl*) { run(); });
  return button;
}

igraphics::IVButtonControl* AddGreyButton(PageContext& ctx, const igraphics::Rect& bounds,
                                          std::string_view label, float labelSize,
                                          std::string_view group, std::function<void()> action) {
  const igraphics::WidgetStyle& grey = PageWidgetStyles().greyButton;
  return AddButton(ctx, bounds, label, grey.WithLabelText(grey.LabelText.WithSize(labelSize)),
                   group, std::move(action));
}

}  // namespace kr7::pages
