#include "ui/pages/Transitions.h"

#include <array>

#include "model/ControlTags.h"

namespace kr7::pages {
namespace {

enum class GroupOp { None, Show, Hide };

struct GroupStep {
  GroupOp op = GroupOp::None;
  std::string_view group;
};

struct Transition {
  PageEvent event;
  std::array<GroupStep, 2> steps;
};

// The group changes of each transition that the device link does not make
// itself; the link's part follows in Run.
constexpr Transition kTransitions[] = {
    {PageEvent::OpenFirmwarePage, {}},
    {PageEvent::CloseFirmwarePage, {}},
    {PageEvent::OpenGlobalSettings, {}},
    {PageEvent::CloseGlobalSettings, {}},
    {PageEvent::OpenMidiProgramPage, {}},
    {PageEvent::OpenMidiCcPage, {}},
    {PageEvent::BackFromMidiProgramPage, {}},
    {PageEvent::BackFromMidiCcPage, {}},
    {PageEvent::OpenAbout, {{{GroupOp::Show, kGroupAbout}}}},
    {PageEvent::CloseAbout, {{{GroupOp::Hide, kGroupAbout}}}},
    {PageEvent::Reconnect, {}},
};

}  // namespace

void PageTransitions::ShowGroup(std::string_view group, bool shown) {
  mUi.ForEachInGroup(group, [shown](igraphics::IControl& c) { c.Hide(!shown); });
}

void PageTransitions::EnableGroup(std::string_view group, bool enabled) {
  mUi.ForEachInGroup(group, [enabled](igraphics::IControl& c) { c.SetDisabled(!enabled); });
}

void PageTransitions::Run(PageEvent event) {
  for (const Transition& t : kTransitions) {
    if (t.event != event) continue;
    for (const GroupStep& step : t.steps) {
      if (step.op != GroupOp::None) ShowGroup(step.group, step.op == GroupOp::Show);
    }
  }
  switch (event) {
    case PageEvent::OpenFirmwarePage: mUnits.streams.Firmware().OpenPage(); break;
    // Closing always asks for a reconnect, even without an update.
    case PageEvent::CloseFirmwarePage: mUnits.streams.Firmware().ClosePage(); break;
    case PageEvent::OpenGlobalSettings: mUnits.session.OpenGlobalSettings(); break;
    case PageEvent::CloseGlobalSettings: mUnits.attachment.CloseGlobalSettings(); break;
    case PageEvent::OpenMidiProgramPage: mUnits.midi.OpenProgramMapPage(); break;
    case PageEvent::OpenMidiCcPage: mUnits.midi.OpenControllerMapPage(); break;
    case PageEvent::BackFromMidiProgramPage: mUnits.midi.CloseProgramMapPage(); break;
    case PageEvent::BackFromMidiCcPage: mUnits.midi.CloseControllerMapPage(); break;
    case PageEvent::Reconnect: mUnits.session.Reconnect(); break;
    default: break;
  }
}

}  // namespace kr7::pages
