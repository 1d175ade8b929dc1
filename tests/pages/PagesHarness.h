#pragma once
// The editor's pages in a headless host, wired to the virtual pedal in
// process.

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

// The identity request goes out at the first tick; the whole start-up (checksums,
// a fetch of 128 presets, settings, the active preset) fits in 60.
inline constexpr int kStartTicks = 60;

class PagesHarness {
 public:
  PagesHarness() : control(DataFolder(folder.Path())), link(control, pedal), pages(control.ForWindow(), 1.f), host(pages.Graphics()) {
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

  // Whether any control of group is visible; the control with tag.
  bool Shown(std::string_view group) {
    bool shown = false;
    pages.Graphics().ForEachInGroup(group, [&](igraphics::IControl& c) { shown |= !c.IsHidden(); });
    return shown;
  }
  igraphics::IControl& Tag(int tag) { return *pages.Graphics().ControlByTag(tag); }

  igraphics::Colour Pixel(float x, float y) {
    const float s = pages.Graphics().GetDrawScale();
    return host.PixelAt(static_cast<int>(x * s), static_cast<int>(y * s));
  }

  kr7::test::TempFolder folder;
  pedal::VirtualPedal pedal{pedal::MakeFactoryState()};
  KR7Control control;
  kr7::test::PedalLoopback link;
  EditorPages pages;
  igraphics::HeadlessHost host;
  std::vector<Bytes> received;
};

}  // namespace kr7::pages::test
