// The invisible selector: event kinds, direction, modifiers and position.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IInvisibleSelectControl3.h"

namespace kr7::test {
namespace {

using igraphics::ESelectEvent;
using igraphics::ESelectModifier;
using igraphics::IGraphics;
using igraphics::IInvisibleSelectControl3;
using igraphics::IMouseMod;
using igraphics::Rect;

constexpr int kPresetSelect = 0;  // 0..19 like the preset list
constexpr Rect kListRect{1, 228, 261, 1178};

class SelectorTest : public ::testing::Test {
 protected:
  SelectorTest() {
    delegate.Add().InitInt("Preset row", 0, 0, 19);
    selector = g.AddControl(std::make_unique<IInvisibleSelectControl3>(kListRect, kPresetSelect));
    selector->SetActionFunction([this](igraphics::IControl*) { ++actions; });
  }
  FakeDelegate delegate;
  IGraphics g{&delegate, 1920, 1200};
  IInvisibleSelectControl3* selector = nullptr;
  int actions = 0;
};

TEST_F(SelectorTest, RecordsEveryEventKind) {
  g.OnMouseDown(100, 300, {});
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::Down);
  g.OnMouseDrag(100, 310, 0, 10, {});
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::Drag);
  EXPECT_TRUE(selector->Direction());
  g.OnMouseDrag(100, 300, 0, -10, {});
  EXPECT_FALSE(selector->Direction());
  g.OnMouseUp(100, 300, {});
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::Up);
  g.OnMouseDblClick(100, 300, {});
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::DoubleClick);
  g.OnMouseUp(100, 300, {});
  g.OnMouseWheel(100, 300, {}, -1.f);
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::Wheel);
  EXPECT_FALSE(selector->Direction());
  g.OnMouseWheel(100, 300, {}, 1.f);
  EXPECT_TRUE(selector->Direction());
  EXPECT_EQ(actions, 8);  // every event above calls the action
}

TEST_F(SelectorTest, ZeroWheelMovementIsIgnored) {
  g.OnMouseDown(100, 300, {});
  g.OnMouseWheel(100, 300, {}, 0.f);
  EXPECT_EQ(selector->LastEvent(), ESelectEvent::Down);
  EXPECT_EQ(actions, 1);
}

TEST_F(SelectorTest, ModifiersPreferShiftOverCtrl) {
  IMouseMod both;
  both.S = true;
  both.C = true;
  g.OnMouseDown(100, 300, both);
  EXPECT_EQ(selector->Modifier(), ESelectModifier::Shift);
  IMouseMod ctrl;
  ctrl.C = true;
  g.OnMouseDown(100, 300, ctrl);
  EXPECT_EQ(selector->Modifier(), ESelectModifier::Ctrl);
  g.OnMouseDown(100, 300, {});
  EXPECT_EQ(selector->Modifier(), ESelectModifier::None);
}

TEST_F(SelectorTest, DragsOutsideTheRectangleStayInTheList) {
  g.OnMouseDown(100, 300, {});
  g.OnMouseDrag(100, -500, 0, -800, {});
  EXPECT_DOUBLE_EQ(selector->GetValue(), 0.0);
  g.OnMouseDrag(100, 5000, 0, 5500, {});
  EXPECT_DOUBLE_EQ(selector->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kPresetSelect)->Value(), 19.0);
}

}  // namespace
}  // namespace kr7::test
