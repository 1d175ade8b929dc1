// Every text of every page at scales 0.5, 1 and 2 keeps its ink inside its rectangle and off every
// other text the user sees. The pages are left as pictures in screens/ of the working folder.

#include <filesystem>
#include <functional>

#include "model/ControlTags.h"
#include "tests/pages/PagesHarness.h"
#include "ui/DrawText.h"
#include "ui/IBitmapControls.h"
#include "ui/IPanelControl.h"
#include "ui/ITextControl.h"

namespace kr7::pages::test {
namespace {

using Inks = std::vector<std::pair<const igraphics::ITextControl*, igraphics::Rect>>;

// The ink of each shown text that no later page image or panel covers.
Inks VisibleInk(igraphics::IGraphics& ui) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, ui.GetDrawScale(), ui.GetDrawScale());
  Inks inks;
  for (int i = 0; i < ui.ControlCount(); ++i) {
    const auto* text = dynamic_cast<const igraphics::ITextControl*>(ui.GetControl(i));
    if (text == nullptr || text->IsHidden() || text->GetStr().empty()) continue;
    const igraphics::Rect ink = igraphics::PlaceText(cr, ui.Fonts(), text->GetTextStyle(), text->TextRect(), text->GetStr()).Ink;
    bool covered = false;
    for (int j = i + 1; j < ui.ControlCount(); ++j) {
      const igraphics::IControl* c = ui.GetControl(j);
      covered |= (dynamic_cast<const igraphics::IBitmapControl*>(c) || dynamic_cast<const igraphics::IPanelControl*>(c)) && !c->IsHidden() && c->GetRECT().Holds(ink);
    }
    if (!covered) inks.emplace_back(text, ink);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return inks;
}

TEST(TextFit, EveryTextOfEveryPageFitsAndCollidesWithNone) {
  PagesHarness h;
  h.Connect();
  const auto go = [&h](std::initializer_list<PageEvent> events) { for (PageEvent e : events) h.pages.Transitions().Run(e); };
  std::vector<std::pair<std::string, std::function<void()>>> pages = {
      {"main", [] {}},
      {"settings", [&] { go({PageEvent::OpenGlobalSettings}); }},
      {"midi-program", [&] { go({PageEvent::OpenMidiProgramPage}); }},
      {"midi-cc", [&] { go({PageEvent::BackFromMidiProgramPage, PageEvent::OpenMidiCcPage}); }},
      {"about", [&] { go({PageEvent::BackFromMidiCcPage, PageEvent::CloseGlobalSettings, PageEvent::OpenAbout}); }},
      {"firmware", [&] { go({PageEvent::CloseAbout, PageEvent::OpenFirmwarePage}); }},
      {"ir-browser", [&] { go({PageEvent::CloseFirmwarePage}); h.control.Irs().OpenBrowser(false); }},
  };
  for (std::string_view block : kBlockGroups) {  // the main page's other blocks, each alone
    pages.emplace_back(block, [&h, block] {
      for (std::string_view other : kBlockGroups) h.pages.View().SetGroupHidden(other, other != block);
      h.pages.View().SetGroupHidden(kGroupUserIrBrowser, true);
    });
  }
  std::filesystem::create_directories("screens");
  for (const auto& [name, open] : pages) {
    open();
    h.Idle(2);
    for (float scale : {0.5f, 1.f, 2.f}) {
      h.pages.Graphics().SetScale(scale);
      const Inks inks = VisibleInk(h.pages.Graphics());
      for (auto a = inks.begin(); a != inks.end(); ++a) {
        const std::string where = name + " @" + std::to_string(scale) + ": \"" + a->first->GetStr() + "\"";
        EXPECT_TRUE(a->first->GetRECT().Intersection(h.pages.Graphics().GetBounds()).Holds(a->second)) << where << " leaves";
        for (auto b = a + 1; b != inks.end(); ++b)  // a display's lit digits lie on its unlit ones
          EXPECT_FALSE(a->second.Intersects(b->second) && !(a->first->GetRECT() == b->first->GetRECT())) << where << " runs into \"" << b->first->GetStr() << "\"";
      }
      if (name.find("controls") != std::string::npos) continue;
      h.host.RenderAll();
      h.host.WritePng("screens/" + name + "-" + std::to_string(scale).substr(0, 3) + ".png");
    }
  }
}

}  // namespace
}  // namespace kr7::pages::test
