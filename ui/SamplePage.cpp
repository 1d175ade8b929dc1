#include "ui/SamplePage.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "ui/IBitmapControls.h"
#include "ui/ICaptionControl.h"
#include "ui/IDynamicsResponseGraph.h"
#include "ui/IEditableTextControl.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/IPanelControl.h"
#include "ui/ISVGKnobControl.h"
#include "ui/ITextControl.h"
#include "ui/IURLControl.h"
#include "ui/IVButtonControl.h"
#include "ui/IVKnobControl.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/IVSlideSwitchControl.h"
#include "ui/IVSliderControl.h"

namespace igraphics {
namespace {

enum SampleParam { kLevel = 0, kDrive, kTone, kGain, kPresetRow, kScroll, kMode, kProgram, kMapping, kIrGain };

constexpr Colour kCyan{255, 100, 255, 255};
constexpr Colour kDark{255, 38, 38, 38};
constexpr int kPresetRows = 128;

WidgetStyle KnobStyle() {
  WidgetStyle s;
  s.ShowLabel = false;
  s.ShowValue = false;
  s.Colours = {kColourTransparent,     Colour(255, 51, 255, 255), Colour(255, 169, 169, 169),
               Colour(255, 0, 0, 0),   Colour(10, 0, 0, 0),       Colour(255, 70, 70, 70),
               Colour(255, 51, 255, 255), Colour(255, 70, 70, 70), Colour(255, 0, 0, 255)};
  return s;
}

WidgetStyle GreyButtonStyle() {
  WidgetStyle s;
  s.Roundness = 1.f;
  s.Emboss = true;
  s.ShadowOffset = 2.f;
  s.FrameThickness = 2.f;
  s.Colours[kFG] = Colour(255, 116, 116, 116);
  s.Colours[kPR] = Colour(255, 144, 144, 144);
  s.Colours[kFR] = Colour(255, 0, 0, 0);
  s.LabelText = TextStyle(18.f, kColourBlack);
  return s;
}

// A knob face: a dark disc with a light notch pointing up.
IBitmap KnobBitmap(int size) {
  SurfacePtr s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
  cairo_t* cr = cairo_create(s.get());
  const double r = size * 0.5;
  cairo_arc(cr, r, r, r - 1.0, 0.0, 2.0 * std::numbers::pi);
  cairo_set_source_rgb(cr, 0.12, 0.12, 0.12);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  cairo_rectangle(cr, r - 3.0, 6.0, 6.0, r * 0.5);
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
  cairo_fill(cr);
  cairo_destroy(cr);
  return IBitmap(s, 1, false, 1, "knob");
}

// A footswitch of two frames stacked: up (light) and pressed (dark).
IBitmap SwitchBitmap(int w, int frameH) {
  SurfacePtr s = AdoptSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, frameH * 2));
  cairo_t* cr = cairo_create(s.get());
  for (int f = 0; f < 2; ++f) {
    cairo_arc(cr, w * 0.5, frameH * (f + 0.5), w * 0.45, 0.0, 2.0 * std::numbers::pi);
    const double grey = f == 0 ? 0.75 : 0.45;
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return IBitmap(s, 2, false, 1, "fswitch");
}

constexpr const char* kKnobSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="30" viewBox="0 0 30 30">)"
    R"(<circle cx="15" cy="15" r="14" fill="#333" stroke="#6ff" stroke-width="1.5"/>)"
    R"(<rect x="14" y="3" width="2" height="9" fill="#6ff"/></svg>)";

}  // namespace

SampleDelegate::SampleDelegate() {
  for (int i = 0; i < kNumParams; ++i) mParams.emplace_back();
  mParams[kLevel].InitInt("Level", 50, 0, 100);
  mParams[kDrive].InitInt("Drive", 30, 0, 100);
  mParams[kTone].InitInt("Tone", 70, 0, 100);
  mParams[kGain].InitInt("Gain", 64, 0, 127);
  mParams[kPresetRow].InitInt("Preset row", 0, 0, 19);
  mParams[kScroll].InitInt("Scroll", 109, 0, 109);
  mParams[kMode].InitEnum("Mode", 0, {"FAC", "USR"});
  mParams[kProgram].InitInt("Program", 5, 0, 127);
  mParams[kMapping].InitEnum("Mapping", 1, {"OFF", "ON", "CUSTOM"});
  mParams[kIrGain].InitInt("IR gain", 20, 0, 40);
}

iplug::IParam* SampleDelegate::GetParam(int paramIdx) {
  return paramIdx >= 0 && paramIdx < kNumParams ? &mParams[static_cast<std::size_t>(paramIdx)] : nullptr;
}

const iplug::IParam* SampleDelegate::GetParam(int paramIdx) const {
  return paramIdx >= 0 && paramIdx < kNumParams ? &mParams[static_cast<std::size_t>(paramIdx)] : nullptr;
}

void SampleDelegate::SendParameterValueFromUI(int paramIdx, double normalisedValue) {
  if (iplug::IParam* p = GetParam(paramIdx)) p->SetNormalized(normalisedValue);
}

std::vector<double> SampleImpulseResponse(std::size_t n, std::uint32_t seed) {
  std::vector<double> ir(n, 0.0);
  std::uint32_t state = seed;
  for (std::size_t i = 0; i < n; ++i) {
    state = state * 1664525u + 1013904223u;  // a plain LCG is enough for artwork
    const double noise = static_cast<double>(state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    ir[i] = noise * std::exp(-static_cast<double>(i) / 60.0);
  }
  ir[0] = 1.0;
  return ir;
}

SamplePage BuildSamplePage(IGraphics& g, std::span<const std::uint8_t> fontData) {
  SamplePage page;
  g.TrackMouseOver(true);
  g.AddCornerResizer(EUIResizerMode::Scale, true, Colour(10, 0, 0, 0), kColourBlack, kColourBlack, 20.f);
  g.AddBackgroundPanel(Colour(255, 127, 127, 127));
  g.AddTextEditor();
  g.AddPopupMenu(TextStyle(19.f, kColourWhite), Rect{});
  g.AddValueBubble(TextStyle(16.f, kColourWhite));
  if (!fontData.empty()) {
    g.SetResourceProvider([fontData](std::string_view) { return std::optional(fontData); });
    g.LoadFontResource(kDefaultFontId, "Roboto-Regular.ttf");
  }

  // The pedal: bitmap knobs and footswitches, dimmed until a pedal connects.
  g.AddControl(std::make_unique<IPanelControl>(Rect{680, 100, 1560, 600}, Colour(255, 60, 60, 64)), kNoTag,
               "background");
  const IBitmap knob = KnobBitmap(102);
  const float knobX[] = {770, 913, 1055.5f, 1198.5f, 1342};
  for (std::size_t i = 0; i < std::size(knobX); ++i) {
    g.AddControl(std::make_unique<IBKnobRotaterControl>(Rect{knobX[i] - 51, 138, knobX[i] + 51, 240}, knob, kGain),
                 kNoTag, "bcontrols");
  }
  const IBitmap footswitch = SwitchBitmap(75, 85);
  for (float x : {733.f, 1100.f, 1460.f}) {
    g.AddControl(std::make_unique<IBButtonControl>(x, 486.f, footswitch, nullptr), kNoTag, "bcontrols");
  }
  g.AddControl(std::make_unique<ITextControl>(Rect{1255, 315, 1383, 403}, "07", TextStyle(88.f, kColourWhite, {},
                                                                                         EAlign::Far, EVAlign::Top)),
               1, "bcontrols");

  // The preset list with its selector and scroll bar.
  const TextStyle row(27.f, Colour(150, 100, 255, 255), {}, EAlign::Near, EVAlign::Middle);
  for (int i = 0; i < kPresetRows; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, " %02d", i + 1);
    const auto top = static_cast<float>(228 + 50 * i);
    g.AddControl(std::make_unique<ITextControl>(Rect{1, top, 261, top + 48}, text, row, kDark));
  }
  g.AddControl(std::make_unique<IInvisibleSelectControl3>(Rect{1, 228, 261, 1178}, kPresetRow));
  g.AddControl(std::make_unique<IVSliderControl>(Rect{260, 230, 300, 1170}, kScroll, "",
                                                 WidgetStyle{}.WithRoundness(0.2f).WithShowLabel(false),
                                                 false, EDirection::Vertical, 1.0, 12.f),
               kNoTag, "maincontrols");
  g.AddControl(std::make_unique<IEditableTextControl>(Rect{20, 120, 260, 144}, "Valvora KR7 Default Preset Name",
                                                      TextStyle(24.f, kCyan, {}, EAlign::Near, EVAlign::Middle)),
               138, "maincontrols");
  g.AddControl(std::make_unique<IVButtonControl>(Rect{15, 170, 130, 215}, SplashClickActionFunc, "IMPORT",
                                                 GreyButtonStyle()),
               kNoTag, "maincontrols");
  g.AddControl(std::make_unique<IVButtonControl>(Rect{135, 170, 250, 215}, SplashClickActionFunc, "EXPORT",
                                                 GreyButtonStyle()),
               kNoTag, "maincontrols");

  // A block editor: three vector knobs with caption, value and unit texts.
  g.AddControl(std::make_unique<ITextControl>(Rect{400, 664, 700, 734}, "DRIVE",
                                              TextStyle(44.f, Colour(255, 204, 204, 204), {}, EAlign::Near,
                                                        EVAlign::Top)));
  const char* captions[] = {"PRE-AMP", "PRESENCE", "LEVEL"};
  for (int i = 0; i < 3; ++i) {
    const auto x = static_cast<float>(380 + 250 * i);
    g.AddControl(std::make_unique<ITextControl>(Rect{x, 850, x + 200, 880}, captions[i],
                                                TextStyle(26.f, Colour(255, 102, 102, 102), {}, EAlign::Centre,
                                                          EVAlign::Top)));
    auto* k = g.AddControl(std::make_unique<IVKnobControl>(Rect{x, 890, x + 200, 1090}, i, "", KnobStyle(), false,
                                                           false, -135.f, 135.f, -135.f, EDirection::Vertical, 4.0,
                                                           18.f));
    if (i == 0) page.BlockKnob = k;
    g.AddControl(std::make_unique<ITextControl>(Rect{x, 965, x + 200, 1005}, "50.00",
                                                TextStyle(40.f, Colour(255, 204, 204, 204), {}, EAlign::Centre,
                                                          EVAlign::Top)));
    g.AddControl(std::make_unique<ITextControl>(Rect{x, 1040, x + 200, 1074}, "%",
                                                TextStyle(34.f, Colour(255, 102, 102, 102), {}, EAlign::Centre,
                                                          EVAlign::Top)));
  }

  // Small controls of the impulse-response block.
  g.AddControl(std::make_unique<IVSlideSwitchControl>(Rect{740, 1122, 800, 1150}, kMode, "MODE",
                                                      KnobStyle().WithRoundness(1.f)),
               24, "ircontrols");
  const std::string svg(kKnobSvg);
  const ISVG svgKnob = ISVG::Parse({reinterpret_cast<const std::uint8_t*>(svg.data()), svg.size()}, 72.f);
  g.AddControl(std::make_unique<ISVGKnobControl>(Rect{815, 1120, 845, 1150}, svgKnob, kIrGain), 26, "ircontrols");
  g.AddControl(std::make_unique<IVNumberBoxControl>(Rect{1103, 353, 1217, 397}, kProgram), kNoTag, "ircontrols");
  g.AddControl(std::make_unique<ICaptionControl>(Rect{1200, 400, 1400, 440}, kMapping,
                                                 TextStyle(24.f, Colour(255, 240, 240, 240)), Colour(255, 70, 70, 70)));
  g.AddControl(std::make_unique<IURLControl>(Rect{748, 346, 948, 376}, "Download page", "https://example.com",
                                             TextStyle(25.f, kColourWhite, {}, EAlign::Centre, EVAlign::Top),
                                             kColourTransparent, Colour(255, 116, 116, 116),
                                             Colour(255, 116, 116, 116)));
  auto* progress = g.AddControl(std::make_unique<IVKnobControl>(Rect{1600, 100, 1800, 300}, kNoParameter, "PRESET",
                                                                KnobStyle(), false, false, -135.f, 135.f, -135.f,
                                                                EDirection::Vertical, 4.0, 18.f));
  progress->SetValue(0.42);

  // The two graphs, the dynamics one hidden as in the editor.
  page.FreqGraph = g.AddControl(std::make_unique<IFreqResponseGraph>(Rect{1200, 685, 1872, 1135}, kCyan), kNoTag,
                                "irdisplay");
  page.FreqGraph->SetRange(20, 20480, 100, 30);
  page.FreqGraph->SetImpulseResponse(SampleImpulseResponse(IFreqResponseGraph::kTransformSize, 7));
  page.DynamicsGraph = g.AddControl(std::make_unique<IDynamicsResponseGraph>(Rect{1200, 700, 1865, 1130}, kCyan),
                                    kNoTag, "maincontrols");
  page.DynamicsGraph->SetGateThreshold(-60);
  page.DynamicsGraph->SetGateRatio(1);
  page.DynamicsGraph->SetThreshold(-51);
  page.DynamicsGraph->SetRatio(1);
  page.DynamicsGraph->Hide(true);

  g.ForEachInGroup("bcontrols", [](IControl& c) { c.SetDisabled(true); });
  return page;
}

}  // namespace igraphics
