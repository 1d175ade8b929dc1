// Knob dragging: gearing, fine mode, stepped snapping, wheel, double-click.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmapControls.h"
#include "ui/ISVGKnobControl.h"
#include "ui/IVKnobControl.h"
#include "ui/IVSliderControl.h"

namespace kr7::test {
namespace {

using igraphics::IGraphics;
using igraphics::IMouseMod;
using igraphics::IVKnobControl;
using igraphics::Rect;
using igraphics::WidgetStyle;

constexpr int kStepped = 0;     // 0..10, step 1
constexpr int kContinuous = 1;  // 0..1, real
constexpr Rect kKnobRect{0, 0, 200, 200};
constexpr float kKnobCentreX = 100.f;
constexpr float kKnobCentreY = 100.f;
constexpr double kGearing = 4.0;

class KnobTest : public ::testing::Test {
 protected:
  KnobTest() {
    delegate.Add().InitInt("Stepped", 0, 0, 10);
    delegate.Add().InitDouble("Continuous", 0.5, 0.0, 1.0, 0.0001);
  }
  IVKnobControl* AddKnob(int param) {
    return g.AddControl(std::make_unique<IVKnobControl>(kKnobRect, param, "", WidgetStyle{}, false, false, -135.f,
                                                        135.f, -135.f, igraphics::EDirection::Vertical, kGearing,
                                                        18.f));
  }
  FakeDelegate delegate;
  IGraphics g{&delegate, 400, 400};
  HeadlessHost host{g};
};

TEST(KnobMaths, DragAddsMovementOverLengthAndGearing) {
  EXPECT_DOUBLE_EQ(igraphics::DragValue(0.5, 40.f, 100.f, 4.0, false), 0.6);
  EXPECT_DOUBLE_EQ(igraphics::DragValue(0.5, 40.f, 100.f, 4.0, true), 0.51);
  EXPECT_DOUBLE_EQ(igraphics::DragValue(0.5, 4000.f, 100.f, 4.0, false), 1.0);
  EXPECT_DOUBLE_EQ(igraphics::DragValue(0.5, -4000.f, 100.f, 4.0, false), 0.0);
  // A drag area of no height cannot divide.
  EXPECT_DOUBLE_EQ(igraphics::DragValue(0.5, 40.f, 0.f, 4.0, false), 0.5);
}

TEST_F(KnobTest, VectorKnobDragAreaIsHalfTheWidthWhenTallEnough) {
  auto* knob = AddKnob(kContinuous);
  EXPECT_FLOAT_EQ(knob->DragLength(), 100.f);
  auto* wide = g.AddControl(std::make_unique<IVKnobControl>(Rect{0, 0, 300, 120}, kContinuous, "", WidgetStyle{}));
  EXPECT_FLOAT_EQ(wide->DragLength(), 120.f);
}

TEST_F(KnobTest, UpwardDragTurnsTheValueUp) {
  auto* knob = AddKnob(kContinuous);
  // 40 units up over a 100-unit area with gearing 4 is a tenth of the range.
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -10.f, 4);
  EXPECT_NEAR(knob->GetValue(), 0.6, 1e-9);
  EXPECT_NEAR(delegate.GetParam(kContinuous)->Value(), 0.6, 1e-4);
}

TEST_F(KnobTest, SteppedKnobMovesInWholeSteps) {
  auto* knob = AddKnob(kStepped);
  // One step is a tenth of the range: 40 units of drag. The value snaps to
  // the nearest step, so it changes once the drag passes half a step.
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 19);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 0.0);
  EXPECT_TRUE(delegate.Sent.empty());
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 21);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 1.0);
  // From step 1 two more steps take 80 units.
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 80);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 3.0);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.3);
  for (const auto& [index, normalised] : delegate.Sent) {
    EXPECT_EQ(index, kStepped);
    const double steps = normalised * 10.0;
    EXPECT_DOUBLE_EQ(steps, std::round(steps));
  }
}

TEST_F(KnobTest, ShiftMakesTheDragTenTimesFiner) {
  AddKnob(kStepped);
  IMouseMod shift;
  shift.S = true;
  // 190 units with Shift are 19 without: not yet half a step.
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 190, shift);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 0.0);
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 400, shift);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 1.0);
  IMouseMod ctrl;
  ctrl.C = true;
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -1.f, 400, ctrl);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 2.0);
}

TEST_F(KnobTest, WheelMovesOneStepPerNotchWhenStepped) {
  auto* stepped = AddKnob(kStepped);
  g.OnMouseWheel(kKnobCentreX, kKnobCentreY, {}, 1.f);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 1.0);
  g.OnMouseWheel(kKnobCentreX, kKnobCentreY, {}, -1.f);
  g.OnMouseWheel(kKnobCentreX, kKnobCentreY, {}, -1.f);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 0.0);
  stepped->Hide(true);

  auto* continuous = AddKnob(kContinuous);
  g.OnMouseWheel(kKnobCentreX, kKnobCentreY, {}, 1.f);
  EXPECT_NEAR(continuous->GetValue(), 0.51, 1e-9);
  IMouseMod fine;
  fine.S = true;
  g.OnMouseWheel(kKnobCentreX, kKnobCentreY, fine, 1.f);
  EXPECT_NEAR(continuous->GetValue(), 0.511, 1e-9);
}

TEST_F(KnobTest, DoubleClickResetsToTheDefault) {
  auto* knob = AddKnob(kContinuous);
  host.DragBy(kKnobCentreX, kKnobCentreY, 0.f, -10.f, 8);
  ASSERT_NE(knob->GetValue(), 0.5);
  g.OnMouseDblClick(kKnobCentreX, kKnobCentreY, {});
  EXPECT_DOUBLE_EQ(delegate.GetParam(kContinuous)->Value(), 0.5);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);
}

TEST_F(KnobTest, KnobPicksUpItsParameterWhenAdded) {
  delegate.GetParam(kStepped)->Set(7.0);
  auto* knob = AddKnob(kStepped);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);
}

TEST_F(KnobTest, ValueAngleSweepsFromStartToEnd) {
  auto* knob = AddKnob(kContinuous);
  knob->SetValue(0.0);
  EXPECT_DOUBLE_EQ(knob->ValueAngle(), -135.0);
  knob->SetValue(1.0);
  EXPECT_DOUBLE_EQ(knob->ValueAngle(), 135.0);
  // (half the smaller side - half the track) x 0.9
  EXPECT_FLOAT_EQ(knob->Radius(), (100.f - 9.f) * 0.9f);
}

TEST_F(KnobTest, BitmapAndSvgKnobsDragOverTheirHeight) {
  auto* svg = g.AddControl(std::make_unique<igraphics::ISVGKnobControl>(Rect{0, 0, 30, 30}, igraphics::ISVG{},
                                                                         kContinuous));
  EXPECT_FLOAT_EQ(svg->DragLength(), 30.f);
  host.DragBy(15.f, 15.f, 0.f, -12.f, 1);
  EXPECT_NEAR(svg->GetValue(), 0.6, 1e-9);  // 12 / 30 / 4
  svg->SetValue(0.0);
  EXPECT_DOUBLE_EQ(svg->Angle(), -135.0);
  svg->SetValue(1.0);
  EXPECT_DOUBLE_EQ(svg->Angle(), 135.0);
}

TEST_F(KnobTest, VectorSliderDragsAlongItsTrack) {
  delegate.GetParam(kStepped)->Set(0.0);
  auto* slider = g.AddControl(std::make_unique<igraphics::IVSliderControl>(
      Rect{0, 0, 40, 110}, kStepped, "", WidgetStyle{}, false, igraphics::EDirection::Vertical, 1.0, 10.f));
  // Track length 100 minus nothing: 10 units per step with gearing 1.
  EXPECT_FLOAT_EQ(slider->DragLength(), 100.f);
  host.DragBy(20.f, 100.f, 0.f, -10.f, 3);
  EXPECT_DOUBLE_EQ(delegate.GetParam(kStepped)->Value(), 3.0);
  EXPECT_FLOAT_EQ(slider->HandleRect().B, 110.f - 30.f);
}

}  // namespace
}  // namespace kr7::test
