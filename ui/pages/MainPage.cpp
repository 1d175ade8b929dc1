#include "ui/pages/MainPage.h"

#include <cstdio>
#include <memory>

#include "model/ControlTags.h"
#include "model/Parameters.h"
#include "model/UserTexts.h"
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

Rect ColumnRect(ColumnLayout layout, ColumnPart part, float x) {
  // Upper layout; the lower one lies 70 units further down.
  constexpr float kTop[] = {780, 820, 895, 970};
  constexpr float kBottom[] = {810, 1020, 935, 1004};
  const float dy = layout == ColumnLayout::Lower ? 70.f : 0.f;
  const auto i = static_cast<std::size_t>(part);
  return {x, kTop[i] + dy, x + 200, kBottom[i] + dy};
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
  std::string_view group;
  ColumnLayout layout;
  int numColumns;
  KnobColumn columns[3];
};

// In the order they are built (the stacking order of the area).
constexpr BlockEditor kAmbience{kGroupAmbience, ColumnLayout::Lower, 2,
                                {{380, "LEVEL", kParamReverb, kTagAmbienceLevelValue, "50.00", "%"},
                                 {630, "DECAY", kParamReverbDecayTime, kTagAmbienceDecayValue, "0.00", "%"}}};
constexpr BlockEditor kAmbienceTime{kGroupAmbienceTime, ColumnLayout::Lower, 1,
                                    {{880, "TIME", kParamReverbRoomSize, kTagAmbienceTimeValue, "0.00", "ms"}}};
constexpr BlockEditor kAnalogSim{kGroupAnalogSim, ColumnLayout::Upper, 1,
                                 {{630, "SMOOTHING", kParamAnalogSim, kTagAnalogSimValue, "Bypass", "%", kTagAnalogSimCaption}}};
constexpr BlockEditor kGate{kGroupGate, ColumnLayout::Upper, 3,
                            {{380, "THRESHOLD", kParamGate, kTagGateThresholdValue, "0.00", "dB"},
                             {630, "RATIO", kParamCompressorRatio2, kTagGateRatioValue, "1:1", "dB"},
                             {880, "RELEASE", kParamGateRelease, kTagGateReleaseValue, "50", "ms"}}};
constexpr BlockEditor kLevel{kGroupLevel, ColumnLayout::Upper, 1, {{630, "LEVEL", kParamLevel, kTagMasterLevelValue, "0.00", "%"}}};
constexpr BlockEditor kDrive{kGroupDrive, ColumnLayout::Lower, 3,
                             {{380, "PRE-AMP", kParamGain, kTagDrivePreAmpValue, "50.00", "%"},
                              {630, "PRESENCE", kParamCrunch, kTagDrivePresenceValue, "0.00", "%"},
                              {880, "COMPRESSION", kParamCompression, kTagDriveCompressionValue, "0.00", "%"}}};
constexpr BlockEditor kPreamp{kGroupPreAmp, ColumnLayout::Lower, 1,
                              {{1160, "PARALLEL CLEAN", kParamCleanInputLevel, kTagParallelCleanValue, "50.0", "%"}}};
constexpr BlockEditor kLaterBlocks[] = {
    {kGroupDynamics, ColumnLayout::Upper, 1, {{480, "THRESHOLD", kParamDynamics, kTagDynamicsThresholdValue, "0.00", "dB"}}},
    {kGroupCompressor, ColumnLayout::Upper, 1, {{760, "RATIO", kParamCompressorRatio, kTagCompressorRatioValue, "1:1", "dB"}}},
    {kGroupExpander, ColumnLayout::Upper, 1, {{760, "RATIO", kParamExpanderRatio, kTagExpanderRatioValue, "1:1", "dB"}}},
    {kGroupBuzzFilter, ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamBuzz, kTagBuzzGainValue, "0.00", "dB"}, {760, "QUALITY", kParamBuzzQ, kTagBuzzQualityValue, "0.00", "Level"}}},
    {kGroupPunchFilter, ColumnLayout::Upper, 3,
     {{380, "GAIN", kParamPunch, kTagPunchGainValue, "0.00", "dB"},
      {630, "FREQUENCY", kParamPunchFreq, kTagPunchFrequencyValue, "0.00", "Hz"},
      {880, "QUALITY", kParamPunchQ, kTagPunchQualityValue, "0.00", "Level"}}},
    {kGroupCrunchFilter, ColumnLayout::Upper, 1, {{760, "QUALITY", kParamCrunchQ, kTagCrunchQualityValue, "0.00", "Level"}}},
    {kGroupLowFilter, ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamLow, kTagLowGainValue, "0.00", "dB"}, {760, "QUALITY", kParamLowQ, kTagLowQualityValue, "0.00", "Level"}}},
    {kGroupMidFilter, ColumnLayout::Upper, 3,
     {{380, "GAIN", kParamMid, kTagMidGainValue, "0.00", "dB"},
      {630, "FREQUENCY", kParamMidShift, kTagMidFrequencyValue, "0.00", "Hz"},
      {880, "QUALITY", kParamMidQ, kTagMidQualityValue, "0.00", "Level"}}},
    {kGroupHighFilter, ColumnLayout::Upper, 2,
     {{480, "GAIN", kParamHigh, kTagHighGainValue, "0.00", "dB"}, {760, "QUALITY", kParamHighQ, kTagHighQualityValue, "0.00", "Level"}}},
    {kGroupAutoFilter, ColumnLayout::Upper, 1, {{630, "LEVEL", kParamAutoFilerLevel2, kTagAutoFilterLevelValue, "0.00", "%"}}},
};

struct BlockTitle {
  std::string_view group;
  const char* text;
  int tag = kNoTag;
  float right = 700;
};

constexpr BlockTitle kBlockTitles[] = {
    {kGroupAmbience, "AMBIENCE"},         {kGroupAnalogSim, "ANALOG SIM."},
    {kGroupGate, "GATE"},                 {kGroupLevel, "MASTER LEVEL"},
    {kGroupDrive, "DRIVE"},               {kGroupPreAmp, "PRE-AMP"},
    {kGroupDynamics, "DYNAMICS", kTagDynamicsTitle},      {kGroupBuzzFilter, "BUZZ FILTER"},
    {kGroupPunchFilter, "PUNCH FILTER"},  {kGroupCrunchFilter, "CRUNCH FILTER"},
    {kGroupLowFilter, "LOW FILTER"},      {kGroupMidFilter, "MID FILTER"},
    {kGroupHighFilter, "HIGH FILTER"},    {kGroupAutoFilter, "AUTO FILTER"},
    {kGroupIr, "IMPULSE RESPONSE", kNoTag, 800},
};

// Two rows of image buttons above the knobs of the drive and ambience
// blocks, five to a row; button k carries the first tag + k.
constexpr float kButtonLefts[] = {354, 517, 657, 798, 938};
constexpr float kButtonRows[] = {730, 765};

constexpr const char* kAmpImages[kNumAmpModels] = {
    "amp-blond.png", "amp-liverpool.png", "amp-british.png", "amp-caliclassic.png", "amp-boutiquea.png",
    "amp-tweed.png", "amp-topboost.png",  "amp-plexi.png",   "amp-calimetal.png",   "amp-boutiqueb.png"};
constexpr const char* kAmbienceImages[kNumAmbienceTypes] = {
    "radio-room.png", "radio-hall.png", "radio-spring.png", "radio-plate.png",
    "radio-chorus.png", "radio-echo.png", "radio-echoverb.png"};

class MainPageBuilder {
 public:
  explicit MainPageBuilder(PageContext& ctx)
      : mCtx(ctx), mUi(ctx.ui), mOps(ctx.units.mainPage), mText(PageTextStyles()), mWidgets(PageWidgetStyles()) {}

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
    Add(std::make_unique<igraphics::IBitmapControl>(x, 0.f, photo), kNoTag, kGroupBackground);
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
      Add(std::make_unique<igraphics::IBKnobRotaterControl>(bounds, image, k.param), kNoTag, kGroupPedal);
    }
    const Rect display{1255, 315, 1383, 403};
    Text(display, "188", mText.presetDigitsShadow, kNoTag, kGroupPedal);
    Text(display, "00", mText.presetDigits, kTagPresetNumber, kGroupPedal);
  }

  void PresetList() {
    for (int i = 0; i < kNumPresetRows; ++i) {
      char text[8];
      std::snprintf(text, sizeof text, " %02d", i + 1);
      igraphics::ITextControl* row = Text(PresetRowRect(i), text, mText.listRow, kNoTag, {}, kListRowBackground);
      // Rows the window's edge would cut are not shown (as after scrolling).
      row->Hide(PresetRowRect(i).B > mUi.GetBounds().B);
      mCtx.refs.presetRows[static_cast<std::size_t>(i)] = row;
    }
    mCtx.refs.presetSelector =
        Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kPresetSelectorRect, kParamPresetListHover));
    Add(std::make_unique<igraphics::IVSliderControl>(Rect{260, 230, 300, 1170}, kParamScroll, "",
                                                     mWidgets.scrollBar, false, igraphics::EDirection::Vertical,
                                                     1.0, 12.f),
        kNoTag, kGroupMain);
  }

  // Returns the last column's knob.
  igraphics::IControl* KnobColumns(const BlockEditor& block) {
    igraphics::IControl* knob = nullptr;
    for (int i = 0; i < block.numColumns; ++i) {
      const KnobColumn& c = block.columns[i];
      Text(ColumnRect(block.layout, ColumnPart::Caption, c.x), c.caption, mText.knobCaption, c.captionTag, block.group);
      knob = Add(std::make_unique<igraphics::IVKnobControl>(ColumnRect(block.layout, ColumnPart::Knob, c.x), c.param, "", mWidgets.knob,
                                                     false, false, -135.f, 135.f, -135.f,
                                                     igraphics::EDirection::Vertical, 4.0, 18.f),
          kNoTag, block.group);
      Text(ColumnRect(block.layout, ColumnPart::Value, c.x), c.value, mText.knobValue, c.valueTag, block.group);
      Text(ColumnRect(block.layout, ColumnPart::Unit, c.x), c.unit, mText.knobUnit, kNoTag, block.group);
    }
    return knob;
  }

  // Button k runs onClick(k) on the press and on the release alike; the
  // operation itself ignores the lit button.
  void ImageButtons(std::span<const char* const> images, int firstTag, std::string_view group,
                    void (MainPageOperations::*onClick)(int)) {
    for (std::size_t k = 0; k < images.size(); ++k) {
      const int model = static_cast<int>(k);
      Add(std::make_unique<igraphics::IBButtonControl>(
              kButtonLefts[k % 5], kButtonRows[k / 5], mUi.LoadImageResource(images[k], 2),
              [ops = &mOps, onClick, model](igraphics::IControl*) { (ops->*onClick)(model); }),
          firstTag + model, group);
    }
  }

  void BlockEditors() {
    ImageButtons(kAmbienceImages, kTagAmbienceTypeFirst, kAmbience.group, &MainPageOperations::AmbienceButton);
    KnobColumns(kAmbience);
    KnobColumns(kAmbienceTime);
    KnobColumns(kAnalogSim);
    KnobColumns(kGate);
    Add(std::make_unique<igraphics::IBitmapControl>(356.f, 645.f, mUi.LoadImageResource("editorbg.png")), kNoTag,
        kGroupIr);
    KnobColumns(kLevel);
    ImageButtons(kAmpImages, kTagAmpModelFirst, kDrive.group, &MainPageOperations::AmpButton);
    KnobColumns(kDrive);
    mParallelClean = KnobColumns(kPreamp);
    for (const BlockEditor& block : kLaterBlocks) KnobColumns(block);
    for (const BlockTitle& t : kBlockTitles) Text(Rect{400, 664, t.right, 734}, t.text, mText.blockTitle, t.tag, t.group);
  }

  // A footswitch calls its action on the press and on the release; the
  // operations keep its value, 1 while it is held, so a call that finds it
  // at 0 is the press.
  void Footswitch(int tag, float x, float y, std::function<void()> press, std::function<void()> release,
                  const char* image = "fswitch.png") {
    Add(std::make_unique<igraphics::IBButtonControl>(
            x, y, mUi.LoadImageResource(image, 2),
            [press = std::move(press), release = std::move(release)](igraphics::IControl* c) {
              if (c->GetValue() == 0.0) press();
              else release();
            }),
        tag, kGroupPedal);
  }

  void ButtonsAndSwitches() {
    GreyButton(Rect{15, 170, 130, 215}, "IMPORT", kNoTag, kGroupMain,
               [this] { mCtx.units.presetFiles.Import(); });
    GreyButton(Rect{135, 170, 250, 215}, "EXPORT", kNoTag, kGroupMain,
               [this] { mCtx.units.presetFiles.Export(); });
    MainPageOperations* ops = &mOps;
    Footswitch(kTagFootswitchUp, 1460, 486, [ops] { ops->PressUp(); }, [ops] { ops->ReleaseUp(); });
    Footswitch(kTagFootswitchSelect, 1100, 486, [ops] { ops->PressArm(ArmedAction::kSelect); },
               [ops] { ops->ReleaseArm(ArmedAction::kSelect); });
    Footswitch(kTagFootswitchDown, 733, 486, [ops] { ops->PressDown(); }, [ops] { ops->ReleaseDown(); });
    Footswitch(kTagFootswitchFilter, 1459, 322, [ops] { ops->PressFilter(); }, [ops] { ops->ReleaseFilter(); });
    Add(std::make_unique<igraphics::IBitmapControl>(1172.f, 260.f, mUi.LoadImageResource("led.png")), kTagAutoFilterLed,
        kGroupFilterLed)
        ->Hide(true);
    Footswitch(kTagSaveButton, 869, 314, [ops] { ops->PressArm(ArmedAction::kSave); },
               [ops] { ops->ReleaseArm(ArmedAction::kSave); }, "save.png");
  }

  void ImpulseResponseBlock() {
    Add(std::make_unique<igraphics::IBitmapControl>(429.f, 705.f, mUi.LoadImageResource("irbg.png")), kNoTag,
        kGroupIr);
    GreyButton(Rect{984, 1068, 1054, 1106}, "IMPORT", kTagImportIrA, kGroupIr,
               [this] { mCtx.units.irs.ImportFromButton(false); });
    GreyButton(Rect{984, 1118, 1054, 1156}, "IMPORT", kTagImportIrB, kGroupIr,
               [this] { mCtx.units.irs.ImportFromButton(true); });
    // Beyond the pedal's own editor: a user IR already on the pedal is
    // chosen from the browser instead of importing its file again.
    GreyButton(Rect{1060, 1068, 1140, 1106}, "BROWSE", kTagBrowseIrA, kGroupIr,
               [this] { mCtx.units.irs.OpenBrowser(false); });
    GreyButton(Rect{1060, 1118, 1140, 1156}, "BROWSE", kTagBrowseIrB, kGroupIr,
               [this] { mCtx.units.irs.OpenBrowser(true); });
    const igraphics::WidgetStyle modeStyle = mWidgets.knob.WithRoundness(1.f);
    Add(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{740, 1072, 800, 1100}, kParamIrModeA, "MODE",
                                                          modeStyle, true, 1),
        kTagIrModeSwitchA, kGroupIr);
    Add(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{740, 1122, 800, 1150}, kParamIrModeB, "MODE",
                                                          modeStyle, true, 1),
        kTagIrModeSwitchB, kGroupIr);
    const igraphics::ISVG knob = mUi.LoadSvgResource("vector-knob.svg", "px", 72.f);
    Add(std::make_unique<igraphics::ISVGKnobControl>(Rect{815, 1070, 845, 1100}, knob, kParamUserIrGainA), kTagUserIrGainA,
        kGroupIr);
    Add(std::make_unique<igraphics::ISVGKnobControl>(Rect{815, 1120, 845, 1150}, knob, kParamUserIrGainB), kTagUserIrGainB,
        kGroupIr);
    Text(Rect{905, 1077, 955, 1127}, "0.00", mText.irGain, kTagUserIrGainValueA, kGroupIr);
    Text(Rect{905, 1127, 955, 1161}, "0.00", mText.irGain, kTagUserIrGainValueB, kGroupIr);
    for (int tag : {kTagUserIrGainA, kTagImportIrA, kTagBrowseIrA, kTagUserIrGainB, kTagImportIrB, kTagBrowseIrB}) {
      mUi.ControlByTag(tag)->SetDisabled(true);
    }
    Add(std::make_unique<igraphics::IBSliderControl>(Rect{380, 717, 430, 1149}, mUi.LoadImageResource("mic.png"),
                                                     mUi.LoadImageResource("micbg.png"), kParamEditorIr,
                                                     igraphics::EDirection::Vertical, 4.0),
        kTagMicrophoneSlider, kGroupIr);

    mCtx.refs.irGraph = Add(std::make_unique<igraphics::IFreqResponseGraph>(Rect{1200, 685, 1872, 1135}, kGraphColour),
                            kNoTag, kGroupIrDisplay);
    mCtx.refs.irGraph->SetRange(20, 20480, 100, 30);
    mCtx.refs.irGraph->LeaveTo(mParallelClean);
    auto* dynamics = Add(std::make_unique<igraphics::IDynamicsResponseGraph>(Rect{1200, 700, 1865, 1130}, kGraphColour),
                         kNoTag, kGroupMain);
    dynamics->SetGateThreshold(-60);
    dynamics->SetGateRatio(1);
    dynamics->SetThreshold(-51);
    dynamics->SetRatio(1);
    dynamics->Hide(true);
    mCtx.refs.dynamicsGraph = dynamics;
    Text(Rect{1350, 658, 1817, 678}, kIrEditHintText, mText.hint, kTagIrEditHint, kGroupMain)->Hide(true);
    // The parallel-clean knob reaches under the graph and its selector; it
    // keeps its presses while its block is shown.
    Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kGraphSelectorRect, kParamGraphSelector))
        ->LeaveTo(mParallelClean);

    // The list: "Off" and the eight cabinets; the impulse-response store
    // renames the rows once it is prepared.
    for (int j = 0; j < 9; ++j) {
      const auto top = static_cast<float>(713 + 50 * j);
      Text(Rect{495, top, 725, top + 43}, j == 0 ? "Off" : "", mText.irRow, j == 0 ? kNoTag : kTagIrListFirst + j - 1, kGroupIr,
           kIrRowBackground);
    }
    mCtx.refs.irListSelector =
        Add(std::make_unique<igraphics::IInvisibleSelectControl3>(kIrListSelectorRect, kParamIrListHover), kNoTag,
            kGroupIr);
  }

  void NameStatusAndNotice() {
    Add(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, "Valvora KR7 Default Preset Name",
                                                          mText.name),
        kTagPresetName, kGroupMain)
        ->SetActionFunction([ops = &mOps](igraphics::IControl* c) {
          ops->NameEntered(static_cast<igraphics::ITextControl*>(c)->GetStr());
        });
    Text(Rect{660, 5, 1060, 29}, "", mText.status, kTagDeviceLine, kGroupDevice);
    Text(Rect{660, 27, 1060, 51}, kConnectingText, mText.status, kTagVersionLine, kGroupDevice);
    Text(Rect{660, 49, 1060, 73}, "", mText.status, kTagSerialLine, kGroupDevice);
    GreyButton(Rect{540, 18, 655, 63}, "RECONNECT", kNoTag, kGroupDevice,
               [this] { mCtx.transitions.Run(PageEvent::Reconnect); });
    auto* notice = Add(std::make_unique<igraphics::IVButtonControl>(Rect{208, 306, 818, 750}, nullptr,
                                                                    kStandaloneNoticeText, mWidgets.notice),
                       kTagStandaloneNotice, kGroupMain);
    notice->Hide(true);
  }

  PageContext& mCtx;
  IGraphics& mUi;
  MainPageOperations& mOps;
  const TextStyles& mText;
  const WidgetStyles& mWidgets;
  igraphics::IControl* mParallelClean = nullptr;
};

}  // namespace

void BuildMainPage(PageContext& ctx) { MainPageBuilder(ctx).Build(); }

}  // namespace kr7::pages
