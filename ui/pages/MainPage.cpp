#include "ui/pages/MainPage.h"

#include <cstdio>
#include <memory>

#include "model/Parameters.h"
#include "ui/IBitmapControls.h"
#include "ui/IDynamicsResponseGraph.h"
#include "ui/IEditableTextControl.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/ISVGKnobControl.h"
#include "ui/ITextControl.h"
#include "ui/IVButtonControl.h"
#include "ui/IVKnobControl.h"
#include "ui/IVSlideSwitchControl.h"
#include "ui/IVSliderControl.h"
#include "ui/pages/MainPageStyles.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {

using igraphics::Colour;
using igraphics::IGraphics;
using igraphics::kNoTag;
using igraphics::Rect;

Rect ColumnCaptionRect(ColumnLayout layout, float x) {
  const float dy = layout == ColumnLayout::Lower ? 70.f : 0.f;
  return {x, 780 + dy, x + 200, 810 + dy};
}

Rect ColumnKnobRect(ColumnLayout layout, float x) {
  const float dy = layout == ColumnLayout::Lower ? 70.f : 0.f;
  return {x, 820 + dy, x + 200, 1020 + dy};
}

Rect ColumnValueRect(ColumnLayout layout, float x) {
  const float dy = layout == ColumnLayout::Lower ? 70.f : 0.f;
  return {x, 895 + dy, x + 200, 935 + dy};
}

Rect ColumnUnitRect(ColumnLayout layout, float x) {
  const float dy = layout == ColumnLayout::Lower ? 70.f : 0.f;
  return {x, 970 + dy, x + 200, 1004 + dy};
}

Rect PresetRowRect(int row) {
  const auto top = static_cast<float>(228 + 50 * row);
  return {1, top, 261, top + 48};
}

namespace {

constexpr Colour kPanelGrey{255, 127, 127, 127};
constexpr Colour kGraphColour{255, 100, 255, 255};
constexpr Colour kListRowBackground{255, 38, 38, 38};
constexpr Colour kIrRowBackground{0, 38, 38, 38};

// --- The pedal ------------------------------------------------------------------

struct PedalKnob {
  int param;
  const char* image;
  float cx, cy;
};

constexpr PedalKnob kPedalKnobs[] = {
    {kParamDrive, "knobrotate.png", 770, 189},      {kParamLow, "knobrotate.png", 913, 190},
    {kParamMid, "knobrotate.png", 1055.5f, 191},    {kParamHigh, "knobrotate.png", 1198.5f, 191},
    {kParamReverb, "knobrotate.png", 1342, 191},    {kParamGate, "knobrotate.png", 984.5f, 347.5f},
    {kParamAutoFilerLevel2, "knobrotate.png", 1127.5f, 347.5f}, {kParamLevel, "knobrotatebig.png", 769.5f, 349.5f},
};

}  // namespace

Rect PedalKnobCentre(int param) {
  for (const PedalKnob& k : kPedalKnobs) {
    if (k.param == param) return {k.cx, k.cy, k.cx, k.cy};
  }
  return {};
}

namespace {

// --- The block editor area ----------------------------------------------------------

struct KnobColumn {
  float x;
  const char* caption;
  int param;
  int valueTag;
  const char* value;
  const char* unit;
  int captionTag = kNoTag;
};

struct BlockEditor {
  const char* group;
  ColumnLayout layout;
  int numColumns;
  KnobColumn columns[3];
};

// In the order they are built (the stacking order of the area).
constexpr BlockEditor kAmbience{"ambiencecontrols", ColumnLayout::Lower, 2,
                                {{380, "LEVEL", kParamReverb, 43, "50.00", "%"},
                                 {630, "DECAY", kParamReverbDecayTime, 44, "0.00", "%"}}};
constexpr BlockEditor kAmbienceTime{"ambiencecontrols2", ColumnLayout::Lower, 1,
                                    {{880, "TIME", kParamReverbRoomSize, 45, "0.00", "ms"}}};
constexpr BlockEditor kAnalogSim{"analogsimcontrols", ColumnLayout::Upper, 1,
                                 {{630, "SMOOTHING", kParamAnalogSim, 21, "Bypass", "%", 22}}};
constexpr BlockEditor kGate{"gatecontrols", ColumnLayout::Upper, 3,
                            {{380, "THRESHOLD", kParamGate, 20, "0.00", "dB"},
                             {630, "RATIO", kParamCompressorRatio2, 17, "1:1", "dB"},
                             {880, "RELEASE", kParamGateRelease, 19, "50", "ms"}}};
constexpr BlockEditor kLevel{"levelcontrols", ColumnLayout::Upper, 1, {{630, "LEVEL", kParamLevel, 48, "0.00", "%"}}};
constexpr BlockEditor kDrive{"drivecontrols", ColumnLayout::Lower, 3,
                             {{380, "PRE-AMP", kParamGain, 47, "50.00", "%"},
                              {630, "PRESENCE", kParamCrunch, 34, "0.00", "%"},
                              {880, "COMPRESSION", kParamCompression, 92, "0.00", "%"}}};
constexpr BlockEditor kPreamp{"preampcontrols", ColumnLayout::Lower, 1,
                              {{1160, "PARALLEL CLEAN", kParamCleanInputLevel, 50, "50.0", "%"}}};
constexpr BlockEditor kLaterBlocks[] = {
    {"dynamicscontrols", ColumnLayout::Upper, 1, {{480, "THRESHOLD", kParamDynamics, 8, "0.00", "dB"}}},
    {"compcontrols", ColumnLayout::Upper, 1, {{760, "RATIO", kParamCompressorRatio, 9, "1:1", "dB"}}},
    {"expcontrols", ColumnLayout::Upper, 1, {{760, "RATIO", kParamExpanderRatio, 13, "1:1", "dB"}}},
    {"buzzfiltercontrols", ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamBuzz, 29, "0.00", "dB"}, {760, "QUALITY", kParamBuzzQ, 30, "0.00", "Level"}}},
    {"punchfiltercontrols", ColumnLayout::Upper, 3,
     {{380, "GAIN", kParamPunch, 31, "0.00", "dB"},
      {630, "FREQUENCY", kParamPunchFreq, 33, "0.00", "Hz"},
      {880, "QUALITY", kParamPunchQ, 32, "0.00", "Level"}}},
    {"crunchfiltercontrols", ColumnLayout::Upper, 1, {{760, "QUALITY", kParamCrunchQ, 35, "0.00", "Level"}}},
    {"lowfiltercontrols", ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamLow, 36, "0.00", "dB"}, {760, "QUALITY", kParamLowQ, 37, "0.00", "Level"}}},
    {"midfiltercontrols", ColumnLayout::Upper, 3,
     {{380, "GAIN", kParamMid, 38, "0.00", "dB"},
      {630, "FREQUENCY", kParamMidShift, 40, "0.00", "Hz"},
      {880, "QUALITY", kParamMidQ, 39, "0.00", "Level"}}},
    {"highfiltercontrols", ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamHigh, 41, "0.00", "dB"}, {760, "QUALITY", kParamHighQ, 42, "0.00", "Level"}}},
    {"autofiltercontrols", ColumnLayout::Upper, 1, {{630, "LEVEL", kParamAutoFilerLevel2, 49, "0.00", "%"}}},
};

struct BlockTitle {
  const char* group;
  const char* text;
  int tag = kNoTag;
  float right = 700;
};

constexpr BlockTitle kBlockTitles[] = {
    {"ambiencecontrols", "AMBIENCE"},         {"analogsimcontrols", "ANALOG SIM."},
    {"gatecontrols", "GATE"},                 {"levelcontrols", "MASTER LEVEL"},
    {"drivecontrols", "DRIVE"},               {"preampcontrols", "PRE-AMP"},
    {"dynamicscontrols", "DYNAMICS", 6},      {"buzzfiltercontrols", "BUZZ FILTER"},
    {"punchfiltercontrols", "PUNCH FILTER"},  {"crunchfiltercontrols", "CRUNCH FILTER"},
    {"lowfiltercontrols", "LOW FILTER"},      {"midfiltercontrols", "MID FILTER"},
    {"highfiltercontrols", "HIGH FILTER"},    {"autofiltercontrols", "AUTO FILTER"},
    {"ircontrols", "IMPULSE RESPONSE", kNoTag, 800},
};

// Two rows of image buttons above the knobs of the drive and ambience blocks.
struct ImageButton {
  int tag;
  const char* image;
  float x, y;
};

constexpr ImageButton kAmpButtons[] = {
    {82, "amp-blond.png", 354, 730},     {83, "amp-liverpool.png", 517, 730}, {84, "amp-british.png", 657, 730},
    {85, "amp-caliclassic.png", 798, 730}, {86, "amp-boutiquea.png", 938, 730}, {87, "amp-tweed.png", 354, 765},
    {88, "amp-topboost.png", 517, 765},  {89, "amp-plexi.png", 657, 765},     {90, "amp-calimetal.png", 798, 765},
    {91, "amp-boutiqueb.png", 938, 765},
};

constexpr ImageButton kAmbienceButtons[] = {
    {75, "radio-room.png", 354, 730},  {76, "radio-hall.png", 517, 730},  {77, "radio-spring.png", 657, 730},
    {78, "radio-plate.png", 798, 730}, {79, "radio-chorus.png", 938, 730}, {80, "radio-echo.png", 354, 765},
    {81, "radio-echoverb.png", 517, 765},
};

class MainPageBuilder {
 public:
  explicit MainPageBuilder(PageContext& ctx)
      : mCtx(ctx), mUi(ctx.ui), mText(PageTextStyles()), mWidgets(PageWidgetStyles()) {}

  void Build() {
    Surface();
    Pedal();
    PresetList();
    BlockEditors();
    ButtonsAndSwitches();
    ImpulseResponseBlock();
    NameStatusAndNotice();
  }

 private:
  template <class T>
  T* Add(std::unique_ptr<T> control, int tag = kNoTag, std::string_view group = {}) {
    return mUi.AddControl(std::move(control), tag, group);
  }

  igraphics::ITextControl* Text(const Rect& r, std::string_view text, const igraphics::TextStyle& style,
                                int tag = kNoTag, std::string_view group = {},
                                Colour background = igraphics::kColourTransparent) {
    return Add(std::make_unique<igraphics::ITextControl>(r, text, style, background), tag, group);
  }

  igraphics::IVButtonControl* GreyButton(const Rect& r, const char* label, int tag, std::string_view group,
                                         std::function<void()> onRelease) {
    auto* button = Add(std::make_unique<igraphics::IVButtonControl>(r, igraphics::SplashClickActionFunc, label,
                                                                    mWidgets.greyButton),
                       tag, group);
    if (onRelease) button->SetAnimationEndActionFunction([run = std::move(onRelease)](igraphics::IControl*) { run(); });
    return button;
  }

  // Mouse-over tracking, the corner resizer, the grey panel, the photograph,
  // the shared controls and the fonts.
  void Surface() {
    mUi.TrackMouseOver(true);
    mUi.AddCornerResizer(igraphics::EUIResizerMode::Scale, true, Colour(10, 0, 0, 0), igraphics::kColourBlack,
                         igraphics::kColourBlack, 20.f);
    mUi.AddBackgroundPanel(kPanelGrey);
    const igraphics::IBitmap photo = mUi.LoadImageResource("background.png");
    const float x = (static_cast<float>(mUi.Width()) - static_cast<float>(photo.FW())) / 2.f;
    Add(std::make_unique<igraphics::IBitmapControl>(x, 0.f, photo), kNoTag, "background");
    mUi.AddTextEditor();
    mUi.AddPopupMenu(mText.status.WithSize(19.f), mUi.GetBounds());
    mUi.AddValueBubble(mText.status);
    LoadPageFonts(mUi);
  }

  void Pedal() {
    for (const PedalKnob& k : kPedalKnobs) {
      const igraphics::IBitmap image = mUi.LoadImageResource(k.image);
      const Rect bounds = PedalKnobCentre(k.param).GetCentredInside(static_cast<float>(image.FW()),
                                                                         static_cast<float>(image.FH()));
      Add(std::make_unique<igraphics::IBKnobRotaterControl>(bounds, image, k.param), kNoTag, "bcontrols");
    }
    const Rect display{1255, 315, 1383, 403};
    Text(display, "188", mText.presetDigitsShadow, kNoTag, "bcontrols");
    Text(display, "00", mText.presetDigits, 1, "bcontrols");
  }

  void PresetList() {
    for (int i = 0; i < kNumPresetRows; ++i) {
      char text[8];
      std::snprintf(text, sizeof text, " %02d", i + 1);
      mCtx.refs.presetRows[static_cast<std::size_t>(i)] =
          Text(PresetRowRect(i), text, mText.listRow, kNoTag, {}, kListRowBackground);
    }
    mCtx.refs.presetSelector =
        Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kPresetSelectorRect, kParamPresetListHover));
    Add(std::make_unique<igraphics::IVSliderControl>(Rect{260, 230, 300, 1170}, kParamScroll, "",
                                                     mWidgets.scrollBar, false, igraphics::EDirection::Vertical,
                                                     1.0, 12.f),
        kNoTag, "maincontrols");
  }

  void KnobColumns(const BlockEditor& block) {
    for (int i = 0; i < block.numColumns; ++i) {
      const KnobColumn& c = block.columns[i];
      Text(ColumnCaptionRect(block.layout, c.x), c.caption, mText.knobCaption, c.captionTag, block.group);
      Add(std::make_unique<igraphics::IVKnobControl>(ColumnKnobRect(block.layout, c.x), c.param, "", mWidgets.knob,
                                                     false, false, -135.f, 135.f, -135.f,
                                                     igraphics::EDirection::Vertical, 4.0, 18.f),
          kNoTag, block.group);
      Text(ColumnValueRect(block.layout, c.x), c.value, mText.knobValue, c.valueTag, block.group);
      Text(ColumnUnitRect(block.layout, c.x), c.unit, mText.knobUnit, kNoTag, block.group);
    }
  }

  void ImageButtons(std::span<const ImageButton> buttons, const char* group) {
    for (const ImageButton& b : buttons) {
      Add(std::make_unique<igraphics::IBButtonControl>(b.x, b.y, mUi.LoadImageResource(b.image, 2), nullptr),
          b.tag, group);
    }
  }

  void BlockEditors() {
    ImageButtons(kAmbienceButtons, kAmbience.group);
    KnobColumns(kAmbience);
    KnobColumns(kAmbienceTime);
    KnobColumns(kAnalogSim);
    KnobColumns(kGate);
    Add(std::make_unique<igraphics::IBitmapControl>(356.f, 645.f, mUi.LoadImageResource("editorbg.png")), kNoTag,
        "ircontrols");
    KnobColumns(kLevel);
    ImageButtons(kAmpButtons, kDrive.group);
    KnobColumns(kDrive);
    KnobColumns(kPreamp);
    for (const BlockEditor& block : kLaterBlocks) KnobColumns(block);
    for (const BlockTitle& t : kBlockTitles) Text(Rect{400, 664, t.right, 734}, t.text, mText.blockTitle, t.tag, t.group);
  }

  void Footswitch(int tag, float x, float y, const char* image = "fswitch.png") {
    Add(std::make_unique<igraphics::IBButtonControl>(x, y, mUi.LoadImageResource(image, 2), nullptr), tag,
        "bcontrols");
  }

  void ButtonsAndSwitches() {
    GreyButton(Rect{15, 170, 130, 215}, "IMPORT", kNoTag, "maincontrols",
               [this] { mCtx.control.PresetFiles().Import(); });
    GreyButton(Rect{135, 170, 250, 215}, "EXPORT", kNoTag, "maincontrols",
               [this] { mCtx.control.PresetFiles().Export(); });
    Footswitch(55, 1460, 486);
    Footswitch(58, 1100, 486);
    Footswitch(56, 733, 486);
    Footswitch(59, 1459, 322);
    Add(std::make_unique<igraphics::IBitmapControl>(1172.f, 260.f, mUi.LoadImageResource("led.png")), 60,
        "filterled")
        ->Hide(true);
    Footswitch(57, 869, 314, "save.png");
  }

  void ImpulseResponseBlock() {
    Add(std::make_unique<igraphics::IBitmapControl>(429.f, 705.f, mUi.LoadImageResource("irbg.png")), kNoTag,
        "ircontrols");
    GreyButton(Rect{984, 1068, 1054, 1106}, "IMPORT", 62, "ircontrols",
               [this] { mCtx.control.Irs().ImportFromButton(false); });
    GreyButton(Rect{984, 1118, 1054, 1156}, "IMPORT", 63, "ircontrols",
               [this] { mCtx.control.Irs().ImportFromButton(true); });
    const igraphics::WidgetStyle modeStyle = mWidgets.knob.WithRoundness(1.f);
    Add(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{740, 1072, 800, 1100}, kParamIrModeA, "MODE",
                                                          modeStyle, true, 1),
        23, "ircontrols");
    Add(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{740, 1122, 800, 1150}, kParamIrModeB, "MODE",
                                                          modeStyle, true, 1),
        24, "ircontrols");
    const igraphics::ISVG knob = mUi.LoadSvgResource("vector-knob.svg", "px", 72.f);
    Add(std::make_unique<igraphics::ISVGKnobControl>(Rect{815, 1070, 845, 1100}, knob, kParamUserIrGainA), 25,
        "ircontrols");
    Add(std::make_unique<igraphics::ISVGKnobControl>(Rect{815, 1120, 845, 1150}, knob, kParamUserIrGainB), 26,
        "ircontrols");
    Text(Rect{905, 1077, 955, 1127}, "0.00", mText.irGain, 27, "ircontrols");
    Text(Rect{905, 1127, 955, 1161}, "0.00", mText.irGain, 28, "ircontrols");
    for (int tag : {25, 62, 26, 63}) mUi.ControlByTag(tag)->SetDisabled(true);
    Add(std::make_unique<igraphics::IBSliderControl>(Rect{380, 717, 430, 1149}, mUi.LoadImageResource("mic.png"),
                                                     mUi.LoadImageResource("micbg.png"), kParamEditorIr,
                                                     igraphics::EDirection::Vertical, 4.0),
        61, "ircontrols");

    mCtx.refs.irGraph = Add(std::make_unique<igraphics::IFreqResponseGraph>(Rect{1200, 685, 1872, 1135}, kGraphColour),
                            kNoTag, "irdisplay");
    mCtx.refs.irGraph->SetRange(20, 20480, 100, 30);
    auto* dynamics = Add(std::make_unique<igraphics::IDynamicsResponseGraph>(Rect{1200, 700, 1865, 1130}, kGraphColour),
                         kNoTag, "maincontrols");
    dynamics->SetGateThreshold(-60);
    dynamics->SetGateRatio(1);
    dynamics->SetThreshold(-51);
    dynamics->SetRatio(1);
    dynamics->Hide(true);
    mCtx.refs.dynamicsGraph = dynamics;
    Text(Rect{1350, 658, 1817, 678}, "CLICK HERE TO EDIT IMPULSE RESPONSE", mText.hint, 93, "maincontrols")->Hide(true);
    Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kGraphSelectorRect, kParamGraphSelector));

    // The list: "Off" and the eight cabinets; the impulse-response store
    // renames the rows once it is prepared.
    for (int j = 0; j < 9; ++j) {
      const auto top = static_cast<float>(713 + 50 * j);
      Text(Rect{495, top, 725, top + 43}, j == 0 ? "Off" : "", mText.irRow, j == 0 ? kNoTag : 63 + j, "ircontrols",
           kIrRowBackground);
    }
    mCtx.refs.irListSelector =
        Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kIrListSelectorRect, kParamIrListHover), kNoTag,
            "ircontrols");
  }

  void NameStatusAndNotice() {
    Add(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, "Valvora KR7 Default Preset Name",
                                                          mText.name),
        138, "maincontrols");
    Text(Rect{660, 5, 1060, 29}, "", mText.status, 141, "devicecontrols");
    Text(Rect{660, 27, 1060, 51}, "Connecting to the device...", mText.status, 142, "devicecontrols");
    Text(Rect{660, 49, 1060, 73}, "", mText.status, 143, "devicecontrols");
    GreyButton(Rect{540, 18, 655, 63}, "RECONNECT", kNoTag, "devicecontrols",
               [this] { mCtx.transitions.Run(PageEvent::Reconnect); });
    auto* notice = Add(std::make_unique<igraphics::IVButtonControl>(Rect{208, 306, 818, 750}, nullptr,
                                                                    "Editing is not possible in Standalone Mode.",
                                                                    mWidgets.notice),
                       144, "maincontrols");
    notice->Hide(true);
  }

  PageContext& mCtx;
  IGraphics& mUi;
  const TextStyles& mText;
  const WidgetStyles& mWidgets;
};

}  // namespace

void BuildMainPage(PageContext& ctx) { MainPageBuilder(ctx).Build(); }

}  // namespace kr7::pages
