// Text-bearing controls: texts, editable text, captions with popup menus, links.

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/ICaptionControl.h"
#include "ui/IEditableTextControl.h"
#include "ui/IPopupMenu.h"
#include "ui/ITextEntryControl.h"
#include "ui/IURLControl.h"

namespace kr7::test {
namespace {

using igraphics::Colour;
using igraphics::EKey;
using igraphics::IControl;
using igraphics::IGraphics;
using igraphics::IKeyPress;
using igraphics::Rect;
using igraphics::TextStyle;

constexpr int kOffset = 0;    // 0..127, no value names
constexpr int kMapping = 1;   // enumerated with names
constexpr Colour kWhite{255, 255, 255, 255};
constexpr Colour kGrey{255, 116, 116, 116};

IKeyPress Type(const char* text) { return {EKey::kNone, text, {}}; }
IKeyPress Press(EKey key) { return {key, "", {}}; }

class TextTest : public ::testing::Test {
 protected:
  TextTest() {
    delegate.Add().InitInt("PATCH OFFSET", 0, 0, 127);
    delegate.Add().InitEnum("MIDI MAPPING", 0, {"OFF", "ON", "CUSTOM"});
    g.AddTextEditor();
    g.AddPopupMenu(TextStyle(19.f, kWhite), Rect{});
  }
  FakeDelegate delegate;
  IGraphics g{&delegate, 400, 400};
  HeadlessHost host{g};
};

TEST_F(TextTest, SetTextRedrawsOnlyWhenItDiffers) {
  auto* text = g.AddControl(std::make_unique<igraphics::ITextControl>(Rect{0, 0, 100, 30}, "00"));
  host.Render();
  text->SetStr("00");
  EXPECT_FALSE(g.IsDirty());
  text->SetStrFmt("%02d", 7);
  EXPECT_EQ(text->GetStr(), "07");
  EXPECT_TRUE(g.IsDirty());
  text->ClearStr();
  EXPECT_EQ(text->GetStr(), "");
  EXPECT_TRUE(text->GetIgnoreMouse());
}

TEST_F(TextTest, EditableTextReplacesTheTextAndCallsTheAction) {
  auto* name = g.AddControl(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, "Preset"));
  int actions = 0;
  name->SetActionFunction([&](IControl*) { ++actions; });
  host.Click(50, 130);
  ASSERT_TRUE(g.GetTextEntry()->IsOpen());
  EXPECT_EQ(g.GetTextEntry()->GetText(), "Preset");
  g.OnKeyDown(Type(" 2"));
  g.OnKeyDown(Press(EKey::kReturn));
  EXPECT_EQ(name->GetStr(), "Preset 2");
  EXPECT_EQ(actions, 1);
}

TEST_F(TextTest, EscapeCancelsAndAClickElsewhereCommits) {
  auto* name = g.AddControl(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, "A"));
  host.Click(50, 130);
  g.OnKeyDown(Type("B"));
  g.OnKeyDown(Press(EKey::kEscape));
  EXPECT_EQ(name->GetStr(), "A");
  host.Click(50, 130);
  g.OnKeyDown(Type("C"));
  host.Click(300, 300);
  EXPECT_EQ(name->GetStr(), "AC");
}

TEST_F(TextTest, TextEntryEditsWholeCharactersAndRefusesControlCharacters) {
  auto* name = g.AddControl(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, "a\xC3\xA9"));
  host.Click(50, 130);
  g.OnKeyDown(Press(EKey::kBackspace));  // removes the two-byte é
  g.OnKeyDown(Type("b\n\x07"));
  g.OnKeyDown(Press(EKey::kLeft));
  g.OnKeyDown(Press(EKey::kDelete));
  g.OnKeyDown(Press(EKey::kReturn));
  EXPECT_EQ(name->GetStr(), "a");
}

TEST_F(TextTest, TextEntryStopsAtTheBufferLength) {
  auto* name = g.AddControl(std::make_unique<igraphics::IEditableTextControl>(Rect{20, 120, 260, 144}, ""));
  host.Click(50, 130);
  const std::string chunk(100, 'x');
  for (int i = 0; i < 4; ++i) g.OnKeyDown(Type(chunk.c_str()));
  g.OnKeyDown(Press(EKey::kReturn));
  EXPECT_LE(name->GetStr().size(), igraphics::kMaxTextEntryLength);
}

TEST_F(TextTest, CaptionShowsTheDisplayTextAndOpensThePopupOfNames) {
  auto* caption = g.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{980, 280, 1180, 320}, kMapping,
                                                                             TextStyle(24.f, kWhite), kGrey));
  EXPECT_EQ(caption->GetStr(), "OFF");
  const auto menu = caption->MakeMenu();
  ASSERT_EQ(menu.NItems(), 3);
  EXPECT_EQ(menu.GetItem(2).Text, "CUSTOM");
  EXPECT_TRUE(menu.GetItem(0).Checked);
  EXPECT_FALSE(caption->TriangleRect().Empty());
  EXPECT_FLOAT_EQ(caption->TriangleRect().W(), 12.f);  // half the text size
  EXPECT_FLOAT_EQ(caption->TriangleRect().H(), 8.f);   // a third of it
}

TEST_F(TextTest, ChoosingAPopupItemSetsTheParameter) {
  auto* caption = g.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{50, 50, 250, 90}, kMapping,
                                                                             TextStyle(24.f, kWhite), kGrey));
  int actions = 0;
  caption->SetActionFunction([&](IControl*) { ++actions; });
  igraphics::IMouseMod right;
  right.L = false;
  right.R = true;
  host.Click(100, 70, right);
  auto* popup = g.GetPopupMenu();
  ASSERT_TRUE(popup->IsOpen());
  const Rect item = popup->GetItemRect(2);
  host.Click(item.MW(), item.MH());
  EXPECT_FALSE(popup->IsOpen());
  EXPECT_DOUBLE_EQ(delegate.GetParam(kMapping)->Value(), 2.0);
  EXPECT_EQ(caption->GetStr(), "CUSTOM");
  EXPECT_EQ(actions, 1);
}

TEST_F(TextTest, ClickOutsideThePopupDismissesItWithoutChange) {
  g.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{50, 50, 250, 90}, kMapping, TextStyle(24.f, kWhite),
                                                            kGrey));
  host.Click(100, 70);
  ASSERT_TRUE(g.GetPopupMenu()->IsOpen());
  host.Click(390, 390);
  EXPECT_FALSE(g.GetPopupMenu()->IsOpen());
  EXPECT_DOUBLE_EQ(delegate.GetParam(kMapping)->Value(), 0.0);
  EXPECT_TRUE(delegate.Sent.empty());
}

TEST_F(TextTest, PopupKeysChooseToo) {
  g.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{50, 50, 250, 90}, kMapping, TextStyle(24.f, kWhite),
                                                            kGrey));
  host.Click(100, 70);
  g.OnKeyDown(Press(EKey::kDown));
  g.OnKeyDown(Press(EKey::kDown));
  g.OnKeyDown(Press(EKey::kReturn));
  EXPECT_DOUBLE_EQ(delegate.GetParam(kMapping)->Value(), 1.0);
}

TEST_F(TextTest, CaptionWithoutNamesOpensTheTextEditor) {
  auto* caption = g.AddControl(std::make_unique<igraphics::ICaptionControl>(Rect{50, 50, 250, 90}, kOffset,
                                                                             TextStyle(24.f, kWhite), kGrey));
  EXPECT_TRUE(caption->TriangleRect().Empty());
  host.Click(100, 70);
  ASSERT_TRUE(g.GetTextEntry()->IsOpen());
  g.OnKeyDown(Press(EKey::kBackspace));
  g.OnKeyDown(Type("12"));
  g.OnKeyDown(Press(EKey::kReturn));
  EXPECT_DOUBLE_EQ(delegate.GetParam(kOffset)->Value(), 12.0);
  EXPECT_EQ(caption->GetStr(), "12");
}

TEST_F(TextTest, LinkOpensOnlyWithAConnectionAndThenTakesTheClickedColour) {
  auto* link = g.AddControl(std::make_unique<igraphics::IURLControl>(Rect{748, 346, 948, 376}, "Download",
                                                                      "https://example.com/download",
                                                                      TextStyle(25.f, kWhite), igraphics::kColourTransparent,
                                                                      kGrey, kGrey));
  host.InternetConnected = false;
  host.Click(800, 360);
  EXPECT_TRUE(host.OpenedLinks.empty());
  EXPECT_FALSE(link->WasClicked());
  host.InternetConnected = true;
  host.Click(800, 360);
  ASSERT_EQ(host.OpenedLinks.size(), 1u);
  EXPECT_EQ(host.OpenedLinks[0], "https://example.com/download");
  EXPECT_TRUE(link->WasClicked());
}

TEST(ParseNumber, AcceptsNumbersOnly) {
  EXPECT_EQ(igraphics::ParseNumber(" 42 "), 42.0);
  EXPECT_EQ(igraphics::ParseNumber("+1.5"), 1.5);
  EXPECT_EQ(igraphics::ParseNumber("-3"), -3.0);
  EXPECT_FALSE(igraphics::ParseNumber(""));
  EXPECT_FALSE(igraphics::ParseNumber("12abc"));
  EXPECT_FALSE(igraphics::ParseNumber("nan"));
  EXPECT_FALSE(igraphics::ParseNumber("1e999"));
}

}  // namespace
}  // namespace kr7::test
