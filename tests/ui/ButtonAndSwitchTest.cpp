// Vector buttons with their press animation, slide switches, number boxes.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IVButtonControl.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/IVSlideSwitchControl.h"
#include "ui/ITextEntryControl.h"

namespace kr7::test {
namespace {

using igraphics::IControl;
using igraphics::IGraphics;
using igraphics::Rect;
using igraphics::WidgetStyle;

constexpr int kMode = 0;     // two states
constexpr int kProgram = 1;  // 0..127
constexpr int kThree = 2;    // three states

class ButtonTest : public ::testing::Test {
 protected:
  ButtonTest() {
    delegate.Add().InitEnum("Mode", 0, {"FAC", "USR"});
    delegate.Add().InitInt("Program", 0, 0, 127);
    delegate.Add().InitInt("Three", 0, 0, 2);
    g.AddTextEditor();
  }
  FakeDelegate delegate;
  IGraphics g{&delegate, 400, 400};
  HeadlessHost host{g};
};

TEST_F(ButtonTest, AnimationEndActionRunsAfterTheHundredMillisecondPress) {
  auto* button = g.AddControl(std::make_unique<igraphics::IVButtonControl>(Rect{0, 0, 100, 40},
                                                                            igraphics::SplashClickActionFunc, "IMPORT"));
  int ended = 0;
  button->SetAnimationEndActionFunction([&](IControl*) { ++ended; });
  host.Click(50, 20);
  EXPECT_TRUE(button->IsAnimating());
  host.AdvanceMs(50);
  EXPECT_EQ(ended, 0);
  EXPECT_NEAR(button->GetAnimationProgress(), 0.5, 1e-9);
  host.AdvanceMs(49);
  EXPECT_EQ(ended, 0);
  host.AdvanceMs(1);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(button->IsAnimating());
  host.AdvanceMs(200);
  EXPECT_EQ(ended, 1);
}

TEST_F(ButtonTest, DisabledButtonNeitherAnimatesNorActs) {
  auto* button = g.AddControl(std::make_unique<igraphics::IVButtonControl>(Rect{0, 0, 100, 40}));
  int ended = 0;
  button->SetAnimationEndActionFunction([&](IControl*) { ++ended; });
  button->SetDisabled(true);
  host.Click(50, 20);
  host.AdvanceMs(200);
  EXPECT_EQ(ended, 0);
}

TEST_F(ButtonTest, SlideSwitchTogglesTwoStates) {
  auto* sw = g.AddControl(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{0, 0, 60, 28}, kMode, "MODE",
                                                                             WidgetStyle{}));
  EXPECT_EQ(sw->NumStates(), 2);
  host.Click(30, 14);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kMode)->Value(), 1.0);
  EXPECT_EQ(sw->HandleRect(), (Rect{30, 0, 60, 28}));
  host.Click(30, 14);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kMode)->Value(), 0.0);
}

TEST_F(ButtonTest, SlideSwitchStepsThroughMoreStatesAndWraps) {
  g.AddControl(std::make_unique<igraphics::IVSlideSwitchControl>(Rect{0, 0, 90, 28}, kThree, "", WidgetStyle{}));
  host.Click(30, 14);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kThree)->Value(), 1.0);
  host.Click(30, 14);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kThree)->Value(), 2.0);
  host.Click(30, 14);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kThree)->Value(), 0.0);
}

TEST_F(ButtonTest, NumberBoxUsesTheParametersOwnRange) {
  auto* box = g.AddControl(std::make_unique<igraphics::IVNumberBoxControl>(Rect{0, 0, 114, 44}, kProgram));
  EXPECT_DOUBLE_EQ(box->RangeMin(), 0.0);
  EXPECT_DOUBLE_EQ(box->RangeMax(), 127.0);
  EXPECT_EQ(box->DisplayText(), "0");
  // 200 units up: 200, limited to the parameter's 127 (not the box's 100).
  host.DragBy(50, 20, 0, -10, 20);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kProgram)->Value(), 127.0);
  EXPECT_EQ(box->DisplayText(), "127");
  // With Shift the same movement is a tenth: 20 units down.
  igraphics::IMouseMod shift;
  shift.S = true;
  host.DragBy(50, 20, 0, 10, 20, shift);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kProgram)->Value(), 107.0);
}

TEST_F(ButtonTest, UnboundNumberBoxKeepsItsBuiltInRange) {
  auto* box = g.AddControl(std::make_unique<igraphics::IVNumberBoxControl>(Rect{0, 0, 114, 44}, igraphics::kNoParameter));
  EXPECT_EQ(box->DisplayText(), "50");
  host.DragBy(50, 20, 0, -10, 20);
  EXPECT_EQ(box->DisplayText(), "100");
}

TEST_F(ButtonTest, NumberBoxDoubleClickOpensTheTextEditor) {
  g.AddControl(std::make_unique<igraphics::IVNumberBoxControl>(Rect{0, 0, 114, 44}, kProgram));
  g.OnMouseDblClick(50, 20, {});
  auto* entry = g.GetTextEntry();
  ASSERT_TRUE(entry->IsOpen());
  EXPECT_EQ(entry->GetText(), "0");
  g.OnKeyDown({igraphics::EKey::kBackspace, "", {}});
  g.OnKeyDown({igraphics::EKey::kNone, "42", {}});
  g.OnKeyDown({igraphics::EKey::kReturn, "", {}});
  EXPECT_FALSE(entry->IsOpen());
  EXPECT_DOUBLE_EQ(delegate.GetParam(kProgram)->Value(), 42.0);
  // Text that is no number leaves the value alone; too large ones are limited.
  g.OnMouseDblClick(50, 20, {});
  g.OnKeyDown({igraphics::EKey::kNone, "x", {}});
  g.OnKeyDown({igraphics::EKey::kReturn, "", {}});
  EXPECT_DOUBLE_EQ(delegate.GetParam(kProgram)->Value(), 42.0);
  g.OnMouseDblClick(50, 20, {});
  g.OnKeyDown({igraphics::EKey::kHome, "", {}});
  g.OnKeyDown({igraphics::EKey::kNone, "9", {}});
  g.OnKeyDown({igraphics::EKey::kReturn, "", {}});
  EXPECT_DOUBLE_EQ(delegate.GetParam(kProgram)->Value(), 127.0);
}

}  // namespace
}  // namespace kr7::test
