#include "ui/pages/MainPageStyles.h"

namespace kr7::pages {
namespace {

using igraphics::Colour;
using igraphics::EAlign;
using igraphics::EVAlign;
using igraphics::TextStyle;
using igraphics::WidgetStyle;

struct FontFile {
  const char* id;
  const char* file;
};

// Font ids as the styles name them, and the embedded files behind them.
constexpr FontFile kFonts[] = {
    {"Roboto-Regular", "Roboto-Regular.ttf"}, {"ForkAwesome", "forkawesome-webfont.ttf"},
    {"Fontaudio", "fontaudio.ttf"},           {"FontLCD", "ni7seg.ttf"},
    {"Font7Seg", "MyBlueRoom.ttf"},           {"Fontknow", "Knowledge-Bold.ttf"},
};

constexpr const char* kRoboto = "Roboto-Regular";
constexpr const char* kSevenSegment = "Font7Seg";
constexpr const char* kKnowledge = "Fontknow";

constexpr Colour kCyan{255, 100, 255, 255};
constexpr Colour kLightGrey{255, 204, 204, 204};
constexpr Colour kMidGrey{255, 102, 102, 102};

TextStyles MakeTextStyles() {
  TextStyles s;
  s.blockTitle = TextStyle(44.f, kLightGrey, kKnowledge, EAlign::Near, EVAlign::Top);
  s.knobCaption = TextStyle(26.f, kMidGrey, kKnowledge, EAlign::Centre, EVAlign::Top);
  s.knobValue = TextStyle(40.f, kLightGrey, kKnowledge, EAlign::Centre, EVAlign::Top);
  s.knobUnit = TextStyle(34.f, kMidGrey, kKnowledge, EAlign::Centre, EVAlign::Top);
  s.presetDigits = TextStyle(88.f, igraphics::kColourWhite, kSevenSegment, EAlign::Far, EVAlign::Top);
  s.presetDigitsShadow = s.presetDigits.WithColour(Colour(255, 51, 51, 51));
  s.listRow = TextStyle(27.f, Colour(150, 100, 255, 255), kRoboto, EAlign::Near, EVAlign::Middle);
  s.irRow = TextStyle(24.f, kCyan, kRoboto, EAlign::Near, EVAlign::Middle);
  s.irGain = TextStyle(22.f, Colour(255, 51, 255, 255), kKnowledge, EAlign::Centre, EVAlign::Top);
  s.name = TextStyle(24.f, kCyan, kRoboto, EAlign::Near, EVAlign::Middle);
  s.hint = TextStyle(24.f, kCyan, kRoboto, EAlign::Near, EVAlign::Top);
  s.status = TextStyle(22.f, igraphics::kColourBlack, kRoboto, EAlign::Near, EVAlign::Middle);
  s.buttonLabel = TextStyle(18.f, igraphics::kColourBlack, kRoboto, EAlign::Centre, EVAlign::Middle);
  s.notice = TextStyle(34.f, igraphics::kColourWhite, kRoboto, EAlign::Centre, EVAlign::Middle);
  return s;
}

WidgetStyles MakeWidgetStyles(const TextStyles& text) {
  using igraphics::kFG;
  using igraphics::kFR;
  using igraphics::kPR;
  using igraphics::kBG;
  WidgetStyles s;
  WidgetStyle& base = s.base;
  base.HideCursor = true;
  base.ShowLabel = base.ShowValue = base.DrawFrame = base.DrawShadows = true;
  base.Emboss = false;
  base.Roundness = 0.f;
  base.FrameThickness = 1.f;
  base.ShadowOffset = 3.f;
  base.WidgetFrac = 1.f;
  base.Angle = 0.f;
  base.Colours = {igraphics::kColourTransparent, Colour(255, 94, 94, 94),   Colour(255, 169, 169, 169),
                  igraphics::kColourWhite,       Colour(10, 0, 0, 0),       Colour(60, 0, 0, 0),
                  Colour(255, 51, 255, 255),     Colour(255, 70, 70, 70),   Colour(255, 0, 0, 255)};
  base.LabelText = base.ValueText = TextStyle(20.f, igraphics::kColourWhite, kRoboto);

  s.knob = base.WithShowLabel(false).WithShowValue(false);
  s.knob.Colours = {igraphics::kColourTransparent, Colour(255, 51, 255, 255), Colour(255, 169, 169, 169),
                    igraphics::kColourBlack,       Colour(10, 0, 0, 0),       Colour(255, 70, 70, 70),
                    Colour(255, 51, 255, 255),     Colour(255, 70, 70, 70),   Colour(255, 0, 0, 255)};
  s.knob.LabelText = s.knob.ValueText = TextStyle(30.f, Colour(255, 201, 201, 201), kRoboto);

  s.greyButton = base.WithRoundness(1.f)
                     .WithEmboss(true)
                     .WithShadowOffset(2.f)
                     .WithFrameThickness(2.f)
                     .WithColour(kFG, Colour(255, 116, 116, 116))
                     .WithColour(kPR, Colour(255, 144, 144, 144))
                     .WithColour(kFR, igraphics::kColourBlack)
                     .WithLabelText(text.buttonLabel);

  s.notice = base.WithEmboss(false)
                 .WithShadowOffset(0.f)
                 .WithRoundness(0.05f)
                 .WithColour(kBG, igraphics::kColourTransparent)
                 .WithColour(kFG, Colour(220, 20, 20, 20))
                 .WithColour(kPR, Colour(220, 20, 20, 20))
                 .WithColour(kFR, Colour(255, 70, 70, 70))
                 .WithLabelText(text.notice);

  s.scrollBar = base.WithRoundness(0.2f).WithShowLabel(false).WithShowValue(false).WithHideCursor(false);
  return s;
}

}  // namespace

void LoadPageFonts(igraphics::IGraphics& ui) {
  for (const FontFile& font : kFonts) ui.LoadFontResource(font.id, font.file);
}

const TextStyles& PageTextStyles() {
  static const TextStyles styles = MakeTextStyles();
  return styles;
}

const WidgetStyles& PageWidgetStyles() {
  static const WidgetStyles styles = MakeWidgetStyles(PageTextStyles());
  return styles;
}

}  // namespace kr7::pages
