// Redrawing only what changed, scaling, shared controls and host operations.

#include <gtest/gtest.h>

#include <numeric>

#include "tests/ui/UiTestSupport.h"
#include "ui/DrawText.h"
#include "ui/IBubbleControl.h"
#include "ui/ICornerResizerControl.h"
#include "ui/IPanelControl.h"
#include "ui/ITextControl.h"
#include "ui/IVKnobControl.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::IGraphics;
using igraphics::Rect;
using igraphics::WidgetStyle;

constexpr Colour kGrey{255, 127, 127, 127};
constexpr int kLevel = 0;

class RedrawTest : public ::testing::Test {
 protected:
  RedrawTest() {
    delegate.Add().InitInt("Level", 0, 0, 100);
    g.AddBackgroundPanel(kGrey);
    knob = g.AddControl(std::make_unique<igraphics::IVKnobControl>(Rect{100, 100, 300, 300}, kLevel, "", WidgetStyle{},
                                                                   false, false, -135.f, 135.f, -135.f,
                                                                   igraphics::EDirection::Vertical, 4.0, 18.f));
    g.AddControl(std::make_unique<igraphics::ITextControl>(Rect{400, 100, 600, 140}, "LEVEL"));
  }
  FakeDelegate delegate;
  IGraphics g{&delegate, 800, 600, 1.f};
  HeadlessHost host{g};
  igraphics::IVKnobControl* knob = nullptr;
};

TEST_F(RedrawTest, DraggingAKnobRepaintsOnlyItsRectangle) {
  host.Render();
  EXPECT_FALSE(g.IsDirty());
  host.DragBy(200, 200, 0, -5, 4);
  const Rect dirty = g.TakeDirtyRect();
  EXPECT_EQ(dirty, knob->GetRECT());
}

TEST_F(RedrawTest, FarApartChangesStaySeparateAndOverlappingOnesJoin) {
  host.Render();
  g.Invalidate({10, 10, 20, 20});
  g.Invalidate({500, 500, 520, 520});
  g.Invalidate({15, 15, 30, 30});
  EXPECT_EQ(g.TakeDirtyRects(), (std::vector<Rect>{{500, 500, 520, 520}, {10, 10, 30, 30}}));
  for (int i = 0; i < 20; ++i) g.Invalidate({30.f * static_cast<float>(i), 0, 30.f * static_cast<float>(i) + 10, 10});
  // Many small ones are kept as a few, covering all of them.
  const std::vector<Rect> few = g.TakeDirtyRects();
  EXPECT_LE(few.size(), 8u);
  EXPECT_EQ(std::accumulate(few.begin(), few.end(), Rect{}, [](Rect a, const Rect& b) { return a.Union(b); }),
            (Rect{0, 0, 580, 10}));
}

TEST_F(RedrawTest, PartialRedrawMatchesAFullRedraw) {
  host.Render();
  host.DragBy(200, 200, 0, -5, 4);
  host.Render();
  IGraphics fresh(&delegate, 800, 600, 1.f);
  HeadlessHost freshHost(fresh);
  fresh.AddBackgroundPanel(kGrey);
  fresh.AddControl(std::make_unique<igraphics::IVKnobControl>(Rect{100, 100, 300, 300}, kLevel, "", WidgetStyle{},
                                                              false, false, -135.f, 135.f, -135.f,
                                                              igraphics::EDirection::Vertical, 4.0, 18.f));
  fresh.AddControl(std::make_unique<igraphics::ITextControl>(Rect{400, 100, 600, 140}, "LEVEL"));
  freshHost.RenderAll();
  EXPECT_TRUE(SamePixels(host.Surface(), freshHost.Surface()));
}

TEST_F(RedrawTest, DesignSizeClampsTheScaleAndIgnoresNoChange) {
  host.RedrawRequests = 0;
  host.Render();
  g.SetDesignSize(800, 600, 1.f);
  EXPECT_FALSE(g.IsDirty());
  g.SetDesignSize(800, 600, 0.5f);
  EXPECT_EQ(g.WindowWidth(), 400);
  EXPECT_EQ(cairo_image_surface_get_width(host.Surface()), 400);
  g.SetDesignSize(800, 600, 100.f);
  EXPECT_FLOAT_EQ(g.GetDrawScale(), igraphics::kDefaultMaxScale);
  g.SetDesignSize(800, 600, 0.f);
  EXPECT_FLOAT_EQ(g.GetDrawScale(), igraphics::kDefaultMinScale);
  g.SetDesignSize(800, 600, std::nanf(""));
  EXPECT_FLOAT_EQ(g.GetDrawScale(), igraphics::kDefaultMinScale);
}

TEST_F(RedrawTest, ScaledDrawingKeepsDesignPositions) {
  g.SetDesignSize(800, 600, 0.5f);
  host.RenderAll();
  // The panel's grey fills the scaled window.
  EXPECT_EQ(host.PixelAt(399, 299), kGrey);
}

TEST_F(RedrawTest, CornerResizerRescalesTheSurface) {
  g.AddCornerResizer(igraphics::EUIResizerMode::Scale, true, Colour(10, 0, 0, 0), Colour(255, 0, 0, 0),
                     Colour(255, 0, 0, 0), 20.f);
  const Rect handle = g.GetCornerResizer()->GetRECT();
  EXPECT_EQ(handle, (Rect{780, 580, 800, 600}));
  EXPECT_EQ(g.GetMouseControl(790, 590, false), g.GetCornerResizer());
  // Grabbed at (790, 590), dragged to where 1.5 times the size puts it.
  g.OnMouseDown(790, 590, {});
  g.OnMouseDrag(790 * 1.5f, 590 * 1.5f, 395, 295, {});
  g.OnMouseUp(790 * 1.5f, 590 * 1.5f, {});
  EXPECT_NEAR(g.GetDrawScale(), 1.5f, 1e-4);
  // The handle keeps its pixel size.
  EXPECT_NEAR(g.GetCornerResizer()->GetRECT().W() * g.GetDrawScale(), 20.f, 1e-3);
}

TEST_F(RedrawTest, HostOperationsGoThroughTheHost) {
  host.MessageAnswer = igraphics::kCancel;
  igraphics::EMsgBoxResult seen = igraphics::kNoResult;
  EXPECT_EQ(g.ShowMessage("Are you sure?", "", igraphics::kMB_OKCANCEL, [&](auto r) { seen = r; }),
            igraphics::kCancel);
  EXPECT_EQ(seen, igraphics::kCancel);
  ASSERT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(host.Messages[0], "Are you sure?");
  host.FileAnswer = {"/tmp/a.r3p", "/tmp"};
  EXPECT_EQ(g.AskForFile("", "", igraphics::EFileAction::Open, "r3p").Path, "/tmp/a.r3p");
  EXPECT_EQ(host.FileRequests.back(), "r3p");
}

TEST(HostlessGraphics, ModalOperationsAnswerSafely) {
  IGraphics g(nullptr, 10, 10);
  EXPECT_EQ(g.ShowMessage("x", "", igraphics::kMB_OKCANCEL), igraphics::kCancel);
  EXPECT_TRUE(g.AskForFile("", "", igraphics::EFileAction::Save, "r3p").Path.empty());
  EXPECT_FALSE(g.OpenLink("https://example.com"));
}

TEST_F(RedrawTest, ValueBubbleShowsAboveItsAnchor) {
  g.AddValueBubble(igraphics::TextStyle(14.f, Colour(255, 255, 255, 255)));
  g.ShowBubble(knob->GetRECT(), "50");
  const auto* bubble = g.GetBubble();
  EXPECT_FALSE(bubble->IsHidden());
  EXPECT_LT(bubble->GetRECT().B, knob->GetRECT().T);
  EXPECT_EQ(bubble->GetText(), "50");
  g.HideBubble();
  EXPECT_TRUE(bubble->IsHidden());
}

// A rectangle of one colour that counts how often it is drawn.
class CountedPicture : public igraphics::IControl {
 public:
  CountedPicture(const Rect& r, Colour c) : IControl(r), colour(c) {}
  void Draw(cairo_t* cr) override {
    ++draws;
    igraphics::FillRect(cr, GetRECT(), colour);
  }
  int StaticPicture() const override { return picture; }
  Colour colour;
  int picture = 0;
  int draws = 0;
};

TEST(StaticPictures, AreDrawnOnTheFirstFrameAndKeptFromTheSecondUntilTheyTheirNeighboursOrTheScaleChange) {
  constexpr Colour kRed{255, 255, 0, 0}, kBlue{255, 0, 0, 255};
  FakeDelegate delegate;
  IGraphics g{&delegate, 200, 100, 2.f};
  HeadlessHost host{g};
  // Two in the backdrop, one after a control drawn each time.
  auto* back = g.AddControl(std::make_unique<CountedPicture>(Rect{0, 0, 200, 100}, kGrey));
  auto* strip = g.AddControl(std::make_unique<CountedPicture>(Rect{0, 0, 20, 100}, kBlue));
  g.AddControl(std::make_unique<BoundControl>(igraphics::kNoParameter));
  auto* front = g.AddControl(std::make_unique<CountedPicture>(Rect{50, 25, 150, 75}, kRed));
  const auto redraw = [&] {
    g.SetAllControlsDirty();
    host.Render();
  };
  redraw();
  redraw();
  redraw();
  EXPECT_EQ(std::vector<int>({back->draws, strip->draws, front->draws}), std::vector<int>({2, 2, 2}));
  EXPECT_EQ(host.PixelAt(100, 100), kRed);
  EXPECT_EQ(host.PixelAt(20, 20), kBlue);

  front->picture = 1;
  strip->Hide(true);
  redraw();
  EXPECT_EQ(std::vector<int>({back->draws, strip->draws, front->draws}), std::vector<int>({3, 2, 3}));
  EXPECT_EQ(host.PixelAt(20, 20), kGrey);

  g.SetScale(1.f);
  host.Render();
  EXPECT_EQ(std::vector<int>({back->draws, strip->draws, front->draws}), std::vector<int>({4, 2, 4}));
  EXPECT_EQ(host.PixelAt(199, 99), kGrey);
  EXPECT_EQ(host.PixelAt(60, 30), kRed);
}

TEST(Fonts, RegisteredFromMemoryAndUsedByText) {
  MemoryResources files;
  files.Put("Roboto-Regular.ttf", ReadFile(kRobotoPath));
  files.Put("notafont.ttf", {0x00, 0x01, 0x02, 0x03});  // no font table
  IGraphics g(nullptr, 200, 50);
  g.SetResourceProvider(files.Provider());
  EXPECT_TRUE(g.LoadFontResource("Roboto-Regular", "Roboto-Regular.ttf"));
  EXPECT_FALSE(g.LoadFontResource("Broken", "notafont.ttf"));
  EXPECT_FALSE(g.LoadFontResource("Missing", "missing.ttf"));
  EXPECT_TRUE(g.Fonts().Has("Roboto-Regular"));
  EXPECT_FALSE(g.Fonts().Has("Broken"));
  HeadlessHost host(g);
  g.AddControl(std::make_unique<igraphics::ITextControl>(
      Rect{0, 0, 200, 50}, "KR7", igraphics::TextStyle(40.f, Colour(255, 0, 0, 0))));
  host.RenderAll();
  int inked = 0;
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 200; ++x) inked += host.PixelAt(x, y).A > 128 ? 1 : 0;
  }
  EXPECT_GT(inked, 100);
  // Centred: nothing at the far edges.
  EXPECT_EQ(host.PixelAt(2, 25).A, 0);
  EXPECT_EQ(host.PixelAt(197, 25).A, 0);
}

}  // namespace
}  // namespace kr7::test
