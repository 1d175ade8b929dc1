// The editor as a user meets it: started under an X display with a private
// JACK server for its audio stream, its window found by title, a second start,
// and closing the window.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/JackServer.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/window/X11Windows.h"
#include "model/Parameters.h"
#include "ui/pages/MainPage.h"
#include "ui/pages/Pages.h"

#include <X11/keysym.h>

namespace kr7 {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTitle = "KR7Control";

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mDisplay.IsOpen()) GTEST_SKIP() << "no X display (run under xvfb-run)";
    jacktest::SilenceJackMessages();
    ASSERT_TRUE(mJack.Start(10s)) << "no JACK server";
    ASSERT_TRUE(mDisplay.FindByTitle(kTitle).empty()) << "another editor window is open";
    mDataFolder = mHome / "KR7Control";
    std::filesystem::create_directories(mDataFolder);
    // JACK for the audio stream, so the editor runs without a sound card.
    std::ofstream(mDataFolder + "/settings.ini")
        << "[audio]\ndriver=1\n[midi]\nindev=off\noutdev=off\n";
  }

  test::ChildProcess::Environment Environment() const {
    return {{"XDG_DATA_HOME", mHome.Path()}, {"JACK_DEFAULT_SERVER", mJack.Name()},
            {"NO_AT_BRIDGE", "1"}};
  }

  bool StartEditor(test::ChildProcess& editor, const std::string& log) {
    return editor.Start(KR7_EDITOR_PATH, {}, Environment(), mHome / log);
  }

  // Starts the editor and waits for its window; 0 when none appeared.
  Window OpenEditor(test::ChildProcess& editor, const std::string& log) {
    return StartEditor(editor, log) ? mDisplay.WaitForTitle(kTitle, 20s) : 0;
  }

  // The virtual pedal with its MIDI monitor in pedal.log, then the editor
  // pointed at it, logging to editor.log; its window is mWindow.
  void OpenEditorBesideThePedal() {
    ASSERT_TRUE(mPedal.Start(KR7_PEDAL_PATH, {"--trace", "--connect-editor"},
                             {{"JACK_DEFAULT_SERVER", mJack.Name()}}, mHome / "pedal.log"));
    std::ofstream(mDataFolder + "/settings.ini")
        << "[audio]\ndriver=1\n[midi]\nindev=kr7-virtual-pedal:out\noutdev=kr7-virtual-pedal:in\n";
    // The pedal's ports must exist before the editor lists the ports.
    ASSERT_TRUE(WaitForTrace("", 10s));
    std::this_thread::sleep_for(500ms);
    mWindow = OpenEditor(mEditor, "editor.log");
    ASSERT_NE(mWindow, 0u) << ReadText(mHome / "editor.log");
  }

  // Closes the window as a user would; the editor must leave cleanly.
  void CloseEditor(Window window, test::ChildProcess& editor, const std::string& log) {
    ASSERT_TRUE(mDisplay.RequestClose(window));
    EXPECT_EQ(editor.WaitForExit(30s), 0) << ReadText(mHome / log);
  }

  // A key chord, after a pause for the window (or the menu) to settle.
  void Type(Window target, std::initializer_list<KeySym> chord) {
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(mDisplay.TypeChord(target, chord));
  }

  // The window's pixel at a design point, at the default scale 0.5 with the
  // canvas below the menu bar.
  unsigned long DesignPixel(Window window, int x, int y) {
    XWindowAttributes attributes;
    if (!mDisplay.Attributes(window, attributes)) return 0;
    return mDisplay.PixelAt(window, x / 2, attributes.height - (pages::kDesignHeight - y) / 2);
  }

  bool WaitForTrace(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (ReadText(mHome / "pedal.log").find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(100ms);
    }
    return true;
  }

  test::X11Display mDisplay;
  jacktest::JackServer mJack;
  test::TempFolder mHome;
  std::string mDataFolder;
  // Declared after the server and the folder, so both outlive the processes.
  test::ChildProcess mPedal;
  test::ChildProcess mEditor;
  Window mWindow = 0;
};

TEST_F(EditorWindow, OpensOnceClosesInOrderAndRemembersItsScale) {
  test::ChildProcess editor;
  const Window window = OpenEditor(editor, "first.log");
  ASSERT_NE(window, 0u) << ReadText(mHome / "first.log");

  // A second start hands over to the first and leaves.
  test::ChildProcess second;
  ASSERT_TRUE(StartEditor(second, "second.log"));
  EXPECT_EQ(second.WaitForExit(10s), 0);
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(mDisplay.FindByTitle(kTitle).size(), 1u);

  const std::string settings = mDataFolder + "/settings.ini";
  EXPECT_EQ(ReadText(settings).find("scale"), std::string::npos);
  CloseEditor(window, editor, "first.log");
  const std::string text = ReadText(settings);
  EXPECT_NE(text.find("[GUI]\nscale = 0.500000"), std::string::npos) << text;
  // Every key of the file is still there after the run.
  for (const char* key : {"driver = 1", "indev = off", "outdev = off", "sr = 44100"})
    EXPECT_NE(text.find(key), std::string::npos) << key;
}

TEST_F(EditorWindow, OpensAtTheStoredScale) {
  std::ofstream(mDataFolder + "/settings.ini", std::ios::app) << "[gui]\nscale=0.25\n";
  test::ChildProcess editor;
  const Window window = OpenEditor(editor, "scaled.log");
  ASSERT_NE(window, 0u) << ReadText(mHome / "scaled.log");
  // Not below one third of the design size.
  XWindowAttributes attributes;
  ASSERT_TRUE(mDisplay.Attributes(window, attributes));
  EXPECT_EQ(attributes.width, 640);
  CloseEditor(window, editor, "scaled.log");
  EXPECT_NE(ReadText(mDataFolder + "/settings.ini").find("scale = 0.333333"), std::string::npos);
}

// The pedal's MIDI monitor shows the start of the conversation: the identity
// request, the identity block, and the request for the preset checksums that
// follows only once the editor accepted the pedal.
TEST_F(EditorWindow, ConnectsToTheVirtualPedal) {
  ASSERT_NO_FATAL_FAILURE(OpenEditorBesideThePedal());

  const std::string identityRequest = "F0 00 51 21 03 55 0C 0F F7";
  const std::string checksumRequest = "F0 00 51 21 03 55 0C 03 F7";
  WaitForTrace(checksumRequest, 20s);
  const std::string trace = ReadText(mHome / "pedal.log");
  const std::size_t identity = trace.find(identityRequest);
  const std::size_t block = trace.find("GlobalBlock", identity == std::string::npos ? 0 : identity);
  const std::size_t checksums = trace.find(checksumRequest);
  ASSERT_NE(identity, std::string::npos) << trace;
  ASSERT_NE(block, std::string::npos) << trace;
  ASSERT_NE(checksums, std::string::npos) << trace;
  EXPECT_LT(identity, block);
  EXPECT_LT(block, checksums);

  CloseEditor(mWindow, mEditor, "editor.log");
}

TEST(EditorCommandLine, VersionAnswersWithoutADisplay) {
  test::TempFolder home;
  test::ChildProcess editor;
  ASSERT_TRUE(editor.Start(KR7_EDITOR_PATH, {"--version"},
                           {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"XDG_DATA_HOME", home.Path()}},
                           home / "version.log"));
  EXPECT_EQ(editor.WaitForExit(10s), 0);
  EXPECT_EQ(ReadText(home / "version.log"), "KR7Control 1.2.0\n");
}

// A 262-byte preset file: magic, version 1.0, name, values 0..64 all 0 (no
// user impulse response, so no question), the two IR names as spaces.
void WritePresetFile(const std::string& path, const char* magic) {
  std::string file(262, '\0');
  file.replace(0, 4, magic);
  file[4] = 1;
  file.replace(6, 32, std::string(32, ' ')).replace(6, 8, "HANDOVER");
  file.replace(198, 64, std::string(64, ' '));
  std::ofstream(path, std::ios::binary) << file;
}

// Files handed to the running editor by a second start: a refused one shows
// "Unknown file format." (the only window without a title) and sends
// nothing; a good one reaches the pedal as PresetStore.
TEST_F(EditorWindow, HandsFilesToTheRunningEditor) {
  ASSERT_NO_FATAL_FAILURE(OpenEditorBesideThePedal());
  // Connected: the checksum request follows the accepted identity block.
  ASSERT_TRUE(WaitForTrace("F0 00 51 21 03 55 0C 03 F7", 30s)) << ReadText(mHome / "pedal.log");
  ASSERT_EQ(mDisplay.FindByTitle(kTitle).size(), 1u);

  WritePresetFile(mHome / "bad.r3p", "RXAQ");
  WritePresetFile(mHome / "good.r3p", "RXAP");
  test::ChildProcess bad;
  ASSERT_TRUE(bad.Start(KR7_EDITOR_PATH, {mHome / "bad.r3p"}, Environment()));
  EXPECT_EQ(bad.WaitForExit(10s), 0);
  // Message boxes carry the program's name too: the box is the second window.
  EXPECT_NE(mDisplay.WaitForTitle(kTitle, 10s, 2), 0u) << "no message box";
  EXPECT_FALSE(WaitForTrace("PresetStore", 2s));

  test::ChildProcess good;
  ASSERT_TRUE(good.Start(KR7_EDITOR_PATH, {mHome / "good.r3p"}, Environment()));
  EXPECT_EQ(good.WaitForExit(10s), 0);
  EXPECT_TRUE(WaitForTrace("PresetStore", 10s)) << ReadText(mHome / "pedal.log");
  EXPECT_EQ(mDisplay.FindByTitle(kTitle).size(), 2u);  // the editor and the first file's box
  mEditor.Stop();
}

// Trace lines the pedal printed for messages it received (IN) of one kind.
std::vector<std::string> ReceivedLines(const std::string& trace, const std::string& name) {
  std::vector<std::string> lines;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("IN", 0) == 0 && line.find(" " + name + " ") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

// A user drags the pedal's LEVEL knob up and clicks the third preset row;
// the pedal hears the level and the selection. Positions come from the
// layout, scaled by the window's scale (the canvas sits below the menu bar).
TEST_F(EditorWindow, KnobDragAndPresetClickReachThePedal) {
  ASSERT_NO_FATAL_FAILURE(OpenEditorBesideThePedal());
  // The pedal's controls wake once the editor is connected; the active
  // preset's dump ends the start-up conversation.
  ASSERT_TRUE(WaitForTrace("IN   BulkEnd", 40s));
  ASSERT_TRUE(WaitForTrace("OUT  PresetDump", 10s));
  std::this_thread::sleep_for(1s);

  XWindowAttributes attributes;
  ASSERT_TRUE(mDisplay.Attributes(mWindow, attributes));
  const double scale = 0.5;  // the default window scale
  const int canvasTop = attributes.height - static_cast<int>(pages::kDesignHeight * scale);
  auto at = [&](float x, float y) {
    return mDisplay.MovePointer(mWindow, static_cast<int>(x * scale), canvasTop + static_cast<int>(y * scale));
  };
  const igraphics::Rect level = pages::PedalKnobCentre(kParamLevel);
  ASSERT_TRUE(at(level.L, level.T));
  ASSERT_TRUE(mDisplay.LeftButton(true));
  for (int step = 1; step <= 10; ++step) {
    ASSERT_TRUE(at(level.L, level.T - 4.f * static_cast<float>(step)));
    std::this_thread::sleep_for(30ms);
  }
  ASSERT_TRUE(mDisplay.LeftButton(false));
  const igraphics::Rect row = pages::PresetRowRect(2);
  ASSERT_TRUE(at(row.MW(), row.MH()));
  ASSERT_TRUE(mDisplay.LeftButton(true));
  ASSERT_TRUE(mDisplay.LeftButton(false));

  EXPECT_TRUE(WaitForTrace("IN   PresetSelect", 10s));
  const std::string trace = ReadText(mHome / "pedal.log");
  // ParameterSet F0 00 51 21 03 <cmd> 0C <number> <value> F7: number 00 is Level.
  const std::vector<std::string> sets = ReceivedLines(trace, "ParameterSet");
  EXPECT_TRUE(std::any_of(sets.begin(), sets.end(),
                          [](const std::string& l) { return l.find(" 0C 00 ") != std::string::npos; }))
      << trace;
  const std::vector<std::string> selects = ReceivedLines(trace, "PresetSelect");
  ASSERT_EQ(selects.size(), 1u) << trace;
  EXPECT_NE(selects.front().find(" 0C 02 F7"), std::string::npos) << selects.front();

  CloseEditor(mWindow, mEditor, "editor.log");
}

bool IsDark(unsigned long rgb) { return ((rgb >> 16) & 0xFF) < 80 && ((rgb >> 8) & 0xFF) < 80 && (rgb & 0xFF) < 80; }

// File > Clear Cache Data and Help > About from the keyboard: only the cached
// ".dat" files go, a message box says so, and the about page covers the light
// box of the status lines at design point (1000, 60).
TEST_F(EditorWindow, ClearCacheDataAndAboutThroughTheMenu) {
  namespace fs = std::filesystem;
  fs::create_directories(mDataFolder + "/Presets");
  fs::create_directories(mDataFolder + "/User IRs");
  for (const char* file : {"/Presets/001.dat", "/User IRs/003.dat", "/Presets/notes.txt", "/Presets/001.dat.bak"})
    std::ofstream(mDataFolder + file) << "cache";
  test::ChildProcess editor;
  const Window window = OpenEditor(editor, "menu.log");
  ASSERT_NE(window, 0u) << ReadText(mHome / "menu.log");
  Type(window, {XK_Alt_L, XK_f});
  Type(window, {XK_c});
  const auto cacheLeft = [this] {
    return fs::exists(mDataFolder + "/Presets/001.dat") || fs::exists(mDataFolder + "/User IRs/003.dat");
  };
  for (int i = 0; i < 100 && cacheLeft(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(cacheLeft());
  const Window box = mDisplay.WaitForTitle(kTitle, 10s, 2);  // the box above the editor
  ASSERT_NE(box, 0u);
  EXPECT_TRUE(fs::exists(mDataFolder + "/Presets/notes.txt") && fs::exists(mDataFolder + "/Presets/001.dat.bak"));
  Type(box, {XK_Return});
  EXPECT_FALSE(IsDark(DesignPixel(window, 1000, 60)));
  Type(window, {XK_Alt_L, XK_h});
  Type(window, {XK_a});
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(IsDark(DesignPixel(window, 1000, 60)));
  EXPECT_EQ(mDisplay.FindByTitle(kTitle).size(), 1u);  // with a window, no plain box
  CloseEditor(window, editor, "menu.log");
}

// File > KR7 Global Settings... opens the settings page, whose grey "PATCH
// OFFSET" box covers the pedal at design point (770, 290), and Help > MIDI
// Monitor the monitor beside the editor; closing the editor closes it too.
TEST_F(EditorWindow, MenusOpenTheMonitorAndTheSettingsPage) {
  test::ChildProcess editor;
  const Window window = OpenEditor(editor, "monitor.log");
  ASSERT_NE(window, 0u) << ReadText(mHome / "monitor.log");
  constexpr unsigned long kValueGrey = 0x464646;
  EXPECT_NE(DesignPixel(window, 770, 290), kValueGrey);
  Type(window, {XK_Alt_L, XK_f});
  Type(window, {XK_k});
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(DesignPixel(window, 770, 290), kValueGrey);
  // The monitor may cover the editor, so it comes last.
  Type(window, {XK_Alt_L, XK_h});
  Type(window, {XK_m});
  EXPECT_NE(mDisplay.WaitForTitle("MIDI Monitor", 10s), 0u);
  CloseEditor(window, editor, "monitor.log");
}

}  // namespace
}  // namespace kr7
