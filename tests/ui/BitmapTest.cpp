// Bitmaps: frame sizes, frame choice, resolution variants and the cache.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/IBitmapControls.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IBitmap;
using igraphics::IGraphics;

constexpr Colour kGreen{255, 0, 255, 0};
constexpr Colour kRed{255, 255, 0, 0};
constexpr Colour kBlue{255, 0, 0, 255};

TEST(Bitmap, TwoFramesOfAnOddHeightAreTruncated) {
  MemoryResources files;
  files.Put("fswitch.png", MakePng(75, 71, kGreen));
  IGraphics g(nullptr, 100, 100);
  g.SetResourceProvider(files.Provider());
  const IBitmap b = g.LoadImageResource("fswitch.png", 2);
  ASSERT_TRUE(b.IsValid());
  EXPECT_EQ(b.H(), 71);
  EXPECT_EQ(b.FH(), 35);
  EXPECT_EQ(b.FW(), 75);
}

TEST(Bitmap, FrameChoiceRoundsTheValue) {
  EXPECT_EQ(igraphics::FrameForValue(2, 0.0), 1);
  EXPECT_EQ(igraphics::FrameForValue(2, 0.49), 1);
  EXPECT_EQ(igraphics::FrameForValue(2, 1.0), 2);
  EXPECT_EQ(igraphics::FrameForValue(5, 0.5), 3);
  EXPECT_EQ(igraphics::FrameForValue(1, 1.0), 1);
  // Values outside 0..1 and nonsense stay within the frames.
  EXPECT_EQ(igraphics::FrameForValue(3, 7.0), 3);
  EXPECT_EQ(igraphics::FrameForValue(3, -7.0), 1);
  EXPECT_EQ(igraphics::FrameForValue(3, std::nan("")), 1);
}

TEST(Bitmap, PicksTheDoubleSizeFileAndKeepsDesignSize) {
  MemoryResources files;
  files.Put("knob.png", MakePng(10, 20, kGreen));
  files.Put("knob@2x.png", MakePng(20, 40, kRed));
  IGraphics g(nullptr, 100, 100);
  g.SetResourceProvider(files.Provider());
  const IBitmap one = g.LoadImageResource("knob.png", 1, false, 1);
  const IBitmap two = g.LoadImageResource("knob.png", 1, false, 2);
  EXPECT_EQ(one.GetScale(), 1);
  EXPECT_EQ(two.GetScale(), 2);
  EXPECT_EQ(two.W(), 20);
  EXPECT_EQ(two.FW(), one.FW());
  EXPECT_EQ(two.FH(), one.FH());
}

TEST(Bitmap, FallsBackToThePlainFile) {
  MemoryResources files;
  files.Put("led.png", MakePng(16, 16, kRed));
  IGraphics g(nullptr, 100, 100);
  g.SetResourceProvider(files.Provider());
  g.SetScreenScale(2);
  const IBitmap b = g.LoadImageResource("led.png");
  ASSERT_TRUE(b.IsValid());
  EXPECT_EQ(b.GetScale(), 1);
  EXPECT_EQ(b.FW(), 16);
}

TEST(Bitmap, ScaledFileNamesFollowThePattern) {
  EXPECT_EQ(igraphics::ScaledFileName("background.png", 2), "background@2x.png");
  EXPECT_EQ(igraphics::ScaledFileName("background.png", 1), "background.png");
  EXPECT_EQ(igraphics::ScaledFileName("noextension", 2), "noextension@2x");
}

TEST(Bitmap, CacheServesTheSameImageWithoutAskingAgain) {
  int asked = 0;
  const std::vector<std::uint8_t> png = MakePng(4, 4, kBlue);
  IGraphics g(nullptr, 100, 100);
  g.SetResourceProvider([&](std::string_view) -> std::optional<std::span<const std::uint8_t>> {
    ++asked;
    return std::span<const std::uint8_t>(png);
  });
  const IBitmap a = g.LoadImageResource("a.png", 1, false, 1);
  const IBitmap b = g.LoadImageResource("a.png", 1, false, 1);
  EXPECT_EQ(asked, 1);  // the header alone: pixels wait for the first draw
  EXPECT_EQ(a.W(), 4);
  EXPECT_EQ(a.Surface(), b.Surface());
  EXPECT_EQ(asked, 2);
}

TEST(Bitmap, ImageBrokenAfterItsHeaderKeepsItsSizeAndDrawsNothing) {
  MemoryResources files;
  std::vector<std::uint8_t> cut = MakePng(20, 20, kRed);
  cut.resize(40);  // signature and IHDR survive
  files.Put("cut.png", cut);
  IGraphics g(nullptr, 100, 100);
  HeadlessHost host(g);
  g.SetResourceProvider(files.Provider());
  const IBitmap bitmap = g.LoadImageResource("cut.png");
  ASSERT_TRUE(bitmap.IsValid());
  EXPECT_EQ(bitmap.FW(), 20);
  g.AddControl(std::make_unique<igraphics::IBitmapControl>(0.f, 0.f, bitmap));
  host.RenderAll();
  EXPECT_EQ(bitmap.Surface(), nullptr);
  EXPECT_EQ(host.PixelAt(10, 10).A, 0);
}

TEST(Bitmap, MissingOrBrokenImagesHaveZeroSizeAndControlsAnEmptyRect) {
  MemoryResources files;
  files.Put("broken.png", {0x89, 0x50, 0x4E, 0x47, 0x00});  // PNG signature cut short
  IGraphics g(nullptr, 100, 100);
  HeadlessHost host(g);
  g.SetResourceProvider(files.Provider());
  const IBitmap missing = g.LoadImageResource("missing.png");
  const IBitmap broken = g.LoadImageResource("broken.png");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_FALSE(broken.IsValid());
  EXPECT_EQ(missing.FW(), 0);
  auto* c = g.AddControl(std::make_unique<igraphics::IBitmapControl>(10.f, 10.f, missing));
  EXPECT_TRUE(c->GetRECT().Empty());
  host.RenderAll();
  EXPECT_EQ(host.PixelAt(10, 10).A, 0);
}

TEST(Bitmap, ButtonShowsTheSecondFrameForValueOne) {
  MemoryResources files;
  files.Put("fswitch.png", MakeTwoFramePng(75, 170, kRed, kGreen));
  IGraphics g(nullptr, 100, 100);
  HeadlessHost host(g);
  g.SetResourceProvider(files.Provider());
  int calls = 0;
  auto* button = g.AddControl(std::make_unique<igraphics::IBButtonControl>(
      0.f, 0.f, g.LoadImageResource("fswitch.png", 2), [&](igraphics::IControl*) { ++calls; }));
  EXPECT_EQ(button->GetRECT(), (igraphics::Rect{0, 0, 75, 85}));
  host.Render();
  EXPECT_EQ(host.PixelAt(30, 40), kRed);
  host.Click(30, 40);
  EXPECT_EQ(calls, 2);  // press and release each call the action
  EXPECT_DOUBLE_EQ(button->GetValue(), 0.0);  // the application sets the value
  button->SetValue(1.0);
  host.Render();
  EXPECT_EQ(host.PixelAt(30, 40), kGreen);
}

TEST(Bitmap, RotaterCentresItsFrameInTheGivenRectangle) {
  MemoryResources files;
  files.Put("knobrotate.png", MakePng(102, 102, kBlue));
  IGraphics g(nullptr, 1000, 1000);
  g.SetResourceProvider(files.Provider());
  auto* knob = g.AddControl(std::make_unique<igraphics::IBKnobRotaterControl>(
      igraphics::Rect{719, 138, 821, 240}, g.LoadImageResource("knobrotate.png"), 0));
  EXPECT_EQ(knob->GetRECT(), (igraphics::Rect{719, 138, 821, 240}));
  knob->SetValue(0.0);
  EXPECT_DOUBLE_EQ(knob->Angle(), -150.0);
  knob->SetValue(1.0);
  EXPECT_DOUBLE_EQ(knob->Angle(), 150.0);
  auto* bigger = g.AddControl(std::make_unique<igraphics::IBKnobRotaterControl>(
      igraphics::Rect{0, 0, 200, 200}, g.LoadImageResource("knobrotate.png"), 0));
  EXPECT_EQ(bigger->GetRECT(), (igraphics::Rect{49, 49, 151, 151}));
}

}  // namespace
}  // namespace kr7::test

namespace kr7::test {
namespace {

TEST(Bitmap, DoubleClickDoesNotPressAButtonAThirdTime) {
  MemoryResources files;
  files.Put("fswitch.png", MakePng(75, 170, igraphics::Colour{255, 255, 0, 0}));
  IGraphics g(nullptr, 100, 100);
  g.SetResourceProvider(files.Provider());
  int calls = 0;
  g.AddControl(std::make_unique<igraphics::IBButtonControl>(0.f, 0.f, g.LoadImageResource("fswitch.png", 2),
                                                            [&](igraphics::IControl*) { ++calls; }));
  // down, up, down, double-click, up: two presses and two releases.
  g.OnMouseDown(30, 40, {});
  g.OnMouseUp(30, 40, {});
  g.OnMouseDown(30, 40, {});
  g.OnMouseDblClick(30, 40, {});
  g.OnMouseUp(30, 40, {});
  EXPECT_EQ(calls, 4);
}

}  // namespace
}  // namespace kr7::test
