// The control list: tags, groups, stacking and hit testing.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IPanelControl.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IControl;
using igraphics::IGraphics;
using igraphics::IPanelControl;
using igraphics::Rect;

constexpr int kWidth = 200;
constexpr int kHeight = 100;
constexpr Colour kRed{255, 255, 0, 0};
constexpr Colour kBlue{255, 0, 0, 255};

// A control that counts the clicks it receives.
class ClickCounter : public igraphics::IControl {
 public:
  explicit ClickCounter(const Rect& r) : IControl(r) {}
  void Draw(cairo_t*) override {}
  void OnMouseDown(float, float, const igraphics::IMouseMod&) override { ++Clicks; }
  int Clicks = 0;
};

TEST(ControlList, TagMinusOneIsNeverFound) {
  IGraphics g(nullptr, kWidth, kHeight);
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), igraphics::kNoTag);
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}));
  EXPECT_EQ(g.ControlCount(), 2);
  EXPECT_EQ(g.ControlByTag(igraphics::kNoTag), nullptr);
}

TEST(ControlList, TagsFindTheirControls) {
  IGraphics g(nullptr, kWidth, kHeight);
  auto* a = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), 55);
  auto* b = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), 138);
  EXPECT_EQ(g.ControlByTag(55), a);
  EXPECT_EQ(g.ControlByTag(138), b);
  EXPECT_EQ(g.ControlByTag(56), nullptr);
  EXPECT_EQ(a->GetTag(), 55);
}

TEST(ControlList, EmptyGroupNameVisitsNothing) {
  IGraphics g(nullptr, kWidth, kHeight);
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}));
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), igraphics::kNoTag, "");
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), igraphics::kNoTag, "maincontrols");
  int visited = 0;
  g.ForEachInGroup("", [&](IControl&) { ++visited; });
  EXPECT_EQ(visited, 0);
}

TEST(ControlList, GroupsMatchExactlyInListOrder) {
  IGraphics g(nullptr, kWidth, kHeight);
  auto* first = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), 1, "ambiencecontrols");
  g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), 2, "ambiencecontrols2");
  auto* second = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}), 3, "ambiencecontrols");
  std::vector<IControl*> seen;
  g.ForEachInGroup("ambiencecontrols", [&](IControl& c) { seen.push_back(&c); });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], first);
  EXPECT_EQ(seen[1], second);
}

TEST(ControlList, ClickGoesToTheTopmostControl) {
  IGraphics g(nullptr, kWidth, kHeight);
  auto* below = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 100, 100}));
  auto* above = g.AddControl(std::make_unique<ClickCounter>(Rect{50, 0, 150, 100}));
  g.OnMouseDown(75, 50, {});
  g.OnMouseDown(25, 50, {});
  EXPECT_EQ(above->Clicks, 1);
  EXPECT_EQ(below->Clicks, 1);
}

TEST(ControlList, HidingACoveringControlPassesClicksBeneath) {
  IGraphics g(nullptr, kWidth, kHeight);
  auto* below = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 100, 100}));
  auto* cover = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 100, 100}));
  g.OnMouseDown(50, 50, {});
  EXPECT_EQ(cover->Clicks, 1);
  EXPECT_EQ(below->Clicks, 0);
  cover->Hide(true);
  g.OnMouseDown(50, 50, {});
  EXPECT_EQ(cover->Clicks, 1);
  EXPECT_EQ(below->Clicks, 1);
}

TEST(ControlList, TextDisplaysLetClicksFallThrough) {
  IGraphics g(nullptr, kWidth, kHeight);
  auto* below = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 100, 100}));
  g.AddControl(std::make_unique<IPanelControl>(Rect{0, 0, 100, 100}, kRed));
  g.OnMouseDown(50, 50, {});
  EXPECT_EQ(below->Clicks, 1);
}

TEST(ControlList, DisabledGroupDrawsAtQuarterOpacityAndIgnoresTheMouse) {
  IGraphics g(nullptr, kWidth, kHeight);
  HeadlessHost host(g);
  auto* below = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 200, 100}));
  g.AddControl(std::make_unique<IPanelControl>(Rect{0, 0, 100, 100}, kRed), 1, "bcontrols");
  auto* button = g.AddControl(std::make_unique<ClickCounter>(Rect{100, 0, 200, 100}), 2, "bcontrols");
  g.ForEachInGroup("bcontrols", [](IControl& c) { c.SetDisabled(true); });
  EXPECT_FLOAT_EQ(button->GetBlend(), igraphics::kDisabledBlend);
  host.Render();
  const Colour dimmed = host.PixelAt(50, 50);
  EXPECT_NEAR(dimmed.A, 64, 1);  // 255 x 0.25
  EXPECT_EQ(dimmed.R, 255);
  g.OnMouseDown(150, 50, {});
  EXPECT_EQ(button->Clicks, 0);
  EXPECT_EQ(below->Clicks, 1);

  g.ForEachInGroup("bcontrols", [](IControl& c) { c.SetDisabled(false); });
  host.Render();
  EXPECT_EQ(host.PixelAt(50, 50).A, 255);
  g.OnMouseDown(150, 50, {});
  EXPECT_EQ(button->Clicks, 1);
}

TEST(ControlList, BackgroundPanelIsFirstAndNeverTheMouseOverTarget) {
  IGraphics g(nullptr, kWidth, kHeight);
  g.TrackMouseOver(true);
  auto* early = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}));
  IControl* panel = g.AddBackgroundPanel(kBlue);
  EXPECT_EQ(g.GetControl(0), panel);
  EXPECT_EQ(g.GetControl(1), early);
  // Even a panel that takes the mouse is not the mouse-over target.
  panel->SetIgnoreMouse(false);
  g.OnMouseOver(100, 50, {});
  EXPECT_EQ(g.GetMouseOverControl(), nullptr);
  EXPECT_EQ(g.GetMouseControl(100, 50, false), panel);
}

TEST(ControlList, MouseOverMovesBetweenControls) {
  IGraphics g(nullptr, kWidth, kHeight);
  g.TrackMouseOver(true);
  g.AddBackgroundPanel(kBlue);
  auto* a = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 100, 100}));
  auto* b = g.AddControl(std::make_unique<ClickCounter>(Rect{100, 0, 200, 100}));
  g.OnMouseOver(50, 50, {});
  EXPECT_TRUE(a->GetMouseIsOver());
  g.OnMouseOver(150, 50, {});
  EXPECT_FALSE(a->GetMouseIsOver());
  EXPECT_TRUE(b->GetMouseIsOver());
  b->Hide(true);
  EXPECT_FALSE(b->GetMouseIsOver());
  EXPECT_EQ(g.GetMouseOverControl(), nullptr);
}

TEST(ControlList, SetValueDoesNotCallTheActionButMarkChangedDoes) {
  FakeDelegate delegate;
  delegate.Add().InitInt("Level", 0, 0, 100);
  IGraphics g(&delegate, kWidth, kHeight);
  int actions = 0;
  auto* c = g.AddControl(std::make_unique<ClickCounter>(Rect{0, 0, 10, 10}));
  c->SetActionFunction([&](IControl*) { ++actions; });
  c->SetValue(0.5);
  EXPECT_EQ(actions, 0);
  c->SetDirty(false);
  EXPECT_EQ(actions, 0);
  c->SetDirty(true);
  EXPECT_EQ(actions, 1);
}

TEST(ControlList, MarkChangedWithActionPushesTheBoundParameter) {
  FakeDelegate delegate;
  delegate.Add().InitInt("Level", 0, 0, 100);
  IGraphics g(&delegate, kWidth, kHeight);
  auto* bound = g.AddControl(std::make_unique<BoundControl>(0));
  bound->SetValue(0.25);
  EXPECT_TRUE(delegate.Sent.empty());
  bound->SetDirty(false);
  EXPECT_TRUE(delegate.Sent.empty());
  bound->SetDirty(true);
  ASSERT_EQ(delegate.Sent.size(), 1u);
  EXPECT_EQ(delegate.Sent[0].first, 0);
  EXPECT_DOUBLE_EQ(delegate.GetParam(0)->Value(), 25.0);
}

TEST(ControlList, DelegateValuesReachEveryControlOfTheParameter) {
  FakeDelegate delegate;
  delegate.Add().InitInt("Level", 0, 0, 100);
  IGraphics g(&delegate, kWidth, kHeight);
  auto* a = g.AddControl(std::make_unique<BoundControl>(0));
  auto* b = g.AddControl(std::make_unique<BoundControl>(0));
  int actions = 0;
  a->SetActionFunction([&](IControl*) { ++actions; });
  g.SendParameterValueFromDelegate(0, 0.75);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.75);
  EXPECT_EQ(actions, 0);
}

}  // namespace
}  // namespace kr7::test
