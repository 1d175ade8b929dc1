// The global settings page: eleven settings, each a label over a caption
// that opens the setting's values, the SETUP buttons of the two MIDI pages
// and the three factory resets. An invisible button under the page image
// takes the clicks below it and closes the page.

#include <memory>

#include "model/ControlTags.h"
#include "model/Parameters.h"
#include "ui/ICaptionControl.h"
#include "ui/ITextControl.h"
#include "ui/pages/MainPageStyles.h"
#include "ui/pages/OverlayParts.h"
#include "ui/pages/PageBuilders.h"
#include "ui/pages/SettingsPages.h"
#include "ui/pages/Transitions.h"

namespace kr7::pages {
namespace {

using igraphics::Colour;
using igraphics::EAlign;
using igraphics::EVAlign;
using igraphics::Rect;
using igraphics::TextStyle;

constexpr const char* kRoboto = "Roboto-Regular";
constexpr float kSettingWidth = 200.f;
constexpr float kLabelHeight = 30.f;
constexpr float kValueHeight = 40.f;
constexpr Colour kValueText{255, 240, 240, 240};
constexpr Colour kValueBackground{255, 70, 70, 70};

struct Setting {
  float x;
  float y;  // top of the label; the value lies below it
  const char* label;
  int param;
};

// The two columns, top to bottom; "CABINET BYPASS" comes after the SETUP
// buttons in the stacking order.
constexpr Setting kColumnSettings[] = {
    {760, 250, "PATCH OFFSET", kParamPatchOffset},
    {760, 350, "EDIT POT DISPLAY MODE", kParamEditPotDisplayMode},
    {760, 450, "DISENGAGE ALL POTS", kParamDisengageAllPots},
    {760, 550, "PRESET PROTECTION WRITER", kParamPresetProtectionWriter},
    {760, 650, "TUNER FREQUENCY", kParamTunerFrequency},
    {980, 250, "MIDI MAPPING", kParamDefineMidiMapping},
    {980, 350, "MIDI THRU FUNCTION", kParamMidiThruMode},
    {980, 450, "MIDI CC MODE", kParamMidiCcMode},
    {980, 550, "MIDI CHANNEL SELECT", kParamMidiCcChannel},
    {980, 650, "TUNER DETUNE", kParamTunerDetune},
};
constexpr Setting kCabinetBypass{1200, 650, "CABINET BYPASS", kParamCabinetBypass};

struct ResetButton {
  Rect bounds;
  const char* label;
  ResetScope scope;
};

constexpr ResetButton kResets[] = {
    {{760, 800, 960, 850}, "ALL", ResetScope::All},
    {{980, 800, 1180, 850}, "PRESETS", ResetScope::Presets},
    {{1200, 800, 1400, 850}, "SETTINGS", ResetScope::Settings},
};

void AddSetting(PageContext& ctx, const Setting& s) {
  static const TextStyle kLabel(19.f, igraphics::kColourWhite, kRoboto, EAlign::Centre,
                                EVAlign::Top);
  static const TextStyle kValue(24.f, kValueText, {}, EAlign::Centre, EVAlign::Middle);
  const Rect label{s.x, s.y, s.x + kSettingWidth, s.y + kLabelHeight};
  const Rect value{s.x, label.B, s.x + kSettingWidth, label.B + kValueHeight};
  ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(label, s.label, kLabel),
                    igraphics::kNoTag, kGroupGlobalSettings);
  ctx.ui.AddControl(
      std::make_unique<igraphics::ICaptionControl>(value, s.param, kValue, kValueBackground),
      igraphics::kNoTag, kGroupGlobalSettings);
}

// The notice style with nothing left to see.
igraphics::WidgetStyle InvisibleButtonStyle() {
  igraphics::WidgetStyle style = PageWidgetStyles().notice;
  for (igraphics::EWidgetColour c :
       {igraphics::kBG, igraphics::kFG, igraphics::kPR, igraphics::kFR, igraphics::kHL})
    style = style.WithColour(c, igraphics::kColourTransparent);
  return style;
}

}  // namespace

void BuildGlobalSettingsPage(PageContext& ctx) {
  PageTransitions& transitions = ctx.transitions;
  const auto close = [&transitions] { transitions.Run(PageEvent::CloseGlobalSettings); };
  // Under the whole page: only the strip below the image stays uncovered.
  AddButton(ctx, ctx.ui.GetBounds(), "", InvisibleButtonStyle(), kGroupGlobalSettings, close);
  AddSettingsBackground(ctx, kGroupGlobalSettings);
  AddGreyButton(ctx, {1444, 220, 1499, 260}, "X", 30.f, kGroupGlobalSettings, close);

  for (const Setting& setting : kColumnSettings) AddSetting(ctx, setting);
  AddGreyButton(ctx, {1200, 283, 1300, 323}, "SETUP", kSettingsButtonLabelSize,
                kGroupGlobalSettings,
                [&transitions] { transitions.Run(PageEvent::OpenMidiProgramPage); });
  AddGreyButton(ctx, {1200, 483, 1300, 523}, "SETUP", kSettingsButtonLabelSize,
                kGroupGlobalSettings,
                [&transitions] { transitions.Run(PageEvent::OpenMidiCcPage); });
  AddSetting(ctx, kCabinetBypass);

  ctx.ui.AddControl(std::make_unique<igraphics::ITextControl>(
                        Rect{900, 750, 1300, 780}, "RESET TO FACTORY DEFAULT SETTINGS",
                        TextStyle(28.f, kValueText, kRoboto, EAlign::Centre, EVAlign::Top)),
                    igraphics::kNoTag, kGroupGlobalSettings);
  // "Are you sure?", clearing the cache and the backup before an overwrite
  // are the factory reset's own.
  StreamController& streams = ctx.units.streams;
  for (const ResetButton& reset : kResets) {
    AddGreyButton(ctx, reset.bounds, reset.label, kSettingsButtonLabelSize, kGroupGlobalSettings,
                  [&streams, scope = reset.scope] { streams.FactoryReset(scope); });
  }
}

}  // namespace kr7::pages
