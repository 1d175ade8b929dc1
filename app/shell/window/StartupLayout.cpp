#include "app/shell/window/StartupLayout.h"

#include <memory>

#include "model/ControlTags.h"
#include "model/UserTexts.h"
#include "ui/IBitmapControls.h"
#include "ui/ITextControl.h"

namespace kr7::shell {
namespace {

using igraphics::Colour;
using igraphics::EAlign;
using igraphics::Rect;
using igraphics::TextStyle;

struct FontFile {
  const char* id;
  const char* file;
};

constexpr FontFile kFonts[] = {
    {"Roboto-Regular", "Roboto-Regular.ttf"},   {"ni7seg", "ni7seg.ttf"},
    {"MyBlueRoom", "MyBlueRoom.ttf"},           {"Knowledge-Bold", "Knowledge-Bold.ttf"},
    {"ForkAwesome", "forkawesome-webfont.ttf"}, {"fontaudio", "fontaudio.ttf"},
};

}  // namespace

void BuildStartupLayout(igraphics::IGraphics& ui) {
  for (const FontFile& font : kFonts) ui.LoadFontResource(font.id, font.file);

  ui.AddBackgroundPanel(Colour(255, 0, 0, 0));
  igraphics::IBitmap background = ui.LoadImageResource("background.png");
  if (background.IsValid()) {
    const float x = (static_cast<float>(ui.Width()) - static_cast<float>(background.FW())) / 2.f;
    ui.AddControl(std::make_unique<igraphics::IBitmapControl>(x, 0.f, background),
                  kNoTag, kGroupBackground);
  }

  const TextStyle status(22.f, Colour(255, 0, 0, 0), "Roboto-Regular", EAlign::Near);
  const struct {
    int tag;
    Rect bounds;
    const char* text;
  } lines[] = {
      {kTagDeviceLine, Rect(660, 5, 1060, 29), ""},
      {kTagVersionLine, Rect(660, 27, 1060, 51), kConnectingText.data()},
      {kTagSerialLine, Rect(660, 49, 1060, 73), ""},
  };
  for (const auto& line : lines)
    ui.AddControl(std::make_unique<igraphics::ITextControl>(line.bounds, line.text, status),
                  line.tag, kGroupDevice);

  ui.AddCornerResizer(igraphics::EUIResizerMode::Scale, false, Colour(255, 180, 180, 180),
                      Colour(255, 230, 230, 230), Colour(255, 255, 255, 255), 40.f);
  ui.AddTextEditor();
  ui.AddPopupMenu(TextStyle(24.f, Colour(255, 0, 0, 0), "Roboto-Regular"),
                  ui.GetBounds());
  ui.AddValueBubble(TextStyle(24.f, Colour(255, 0, 0, 0), "Roboto-Regular"));
}

}  // namespace kr7::shell
