#pragma once
// The editor's pages in a headless host, wired to the virtual pedal in
// process. Rendered pictures go to the test's temporary folder for review.

#include <gtest/gtest.h>

#include <string>

#include "app/core/KR7Control.h"
#include "device/Messages.h"
#include "pedal/FactoryContent.h"
#include "pedal/VirtualPedal.h"
#include "tests/support/PedalLoopback.h"
#include "tests/support/TempFolder.h"
#include "ui/HeadlessHost.h"
#include "ui/pages/EditorPages.h"

namespace kr7::pages::test {

// The identity request goes out after 33 ticks; the whole start-up (checksums,
// a fetch of 128 presets, settings, the active preset) fits in 60.
inline constexpr int kStartTicks = 60;

// Whether any control of the group is shown.
inline bool GroupShown(igraphics::IGraphics& ui, std::string_view group) {
  bool shown = false;
  ui.ForEachInGroup(group, [&shown](igraphics::IControl& c) { shown = shown || !c.IsHidden(); });
  return shown;
}

class PagesHarness {
 public:
  PagesHarness() : control(DataFolder(folder.Path())), link(control, pedal), pages(control, 1.f), host(pages.Graphics()) {
    pedal.SetTraceSink([this](pedal::TraceDirection direction, ByteSpan message) {
      if (direction == pedal::TraceDirection::FromEditor) received.emplace_back(message.begin(), message.end());
    });
    pages.Open(1);
    host.Render();
  }
  ~PagesHarness() { pages.Close(); }

  // Device ticks of 100 ms, each followed by five 20 ms framework steps.
  void Tick(int ticks) {
    for (int i = 0; i < ticks; ++i) {
      control.OnDeviceTick();
      Idle(5);
    }
  }

  void Idle(int steps) {
    for (int i = 0; i < steps; ++i) {
      link.Deliver();
      pages.OnFrameworkTimer();
      host.AdvanceMs(20);
    }
  }

  void Connect() {
    Tick(kStartTicks);
    ASSERT_TRUE(control.Session().connected.load());
  }

  // Messages the pedal received since the last call, by name.
  std::vector<std::string> TakeReceived() {
    std::vector<std::string> names;
    for (const Bytes& m : received) names.emplace_back(MessageName(m));
    received.clear();
    return names;
  }

  bool Shown(std::string_view group) { return GroupShown(pages.Graphics(), group); }
  igraphics::IControl& Tag(int tag) { return *pages.Graphics().ControlByTag(tag); }
  bool WritePng(const std::string& name) const { return host.WritePng(::testing::TempDir() + name + ".png"); }
  igraphics::Colour Pixel(float x, float y) const { return host.PixelAt(static_cast<int>(x), static_cast<int>(y)); }

  kr7::test::TempFolder folder;
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  KR7Control control;
  kr7::test::PedalLoopback link;
  EditorPages pages;
  igraphics::HeadlessHost host;
  std::vector<Bytes> received;
};

}  // namespace kr7::pages::test
