#include "app/shell/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path) << text;
}

TEST(SettingsFile, FirstStartCreatesFolderAndWritesEveryKeyWithoutGui) {
  test::TempFolder temp;
  const std::string folder = temp / "KR7Control";
  SettingsFile file(folder);
  AppSettings settings = file.LoadAndRewrite();

  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(settings, AppSettings{});
  const std::string text = ReadText(folder + "/settings.ini");
  for (const char* key : {"driver", "indev", "outdev", "in1", "in2", "out1", "out2", "buffer",
                          "sr", "inchan", "outchan"}) {
    EXPECT_NE(text.find(std::string(key) + " = ") , std::string::npos) << key;
  }
  EXPECT_NE(text.find("[audio]"), std::string::npos);
  EXPECT_NE(text.find("[midi]"), std::string::npos);
  EXPECT_NE(text.find("indev = Built-in Input"), std::string::npos);
  EXPECT_NE(text.find("indev = no input"), std::string::npos);
  EXPECT_NE(text.find("buffer = 512"), std::string::npos);
  EXPECT_NE(text.find("sr = 44100"), std::string::npos);
  EXPECT_NE(text.find("[backup]\nenabled = 1"), std::string::npos);
  EXPECT_EQ(text.find("GUI"), std::string::npos);
  EXPECT_EQ(text.find("scale"), std::string::npos);
}

TEST(SettingsFile, ReadsKeysWithoutRegardToCaseAndRewritesTheMissingOnes) {
  test::TempFolder temp;
  WriteText(temp / "settings.ini",
            "[MIDI]\nINDEV=KR7 MIDI 1\nOutDev = off\n[Audio]\nDriver=1\nSR=48000\n[Backup]\nEnabled=0\n");
  SettingsFile file(temp.Path());
  AppSettings settings = file.LoadAndRewrite();
  EXPECT_EQ(settings.midi.inputPort, "KR7 MIDI 1");
  EXPECT_EQ(settings.midi.outputPort, "off");
  EXPECT_EQ(settings.audio.driver, 1u);
  EXPECT_EQ(settings.audio.sampleRate, 48000);
  EXPECT_EQ(settings.audio.bufferFrames, 512);
  EXPECT_EQ(settings.backup.enabled, 0u);

  const std::string text = ReadText(file.Path());
  EXPECT_NE(text.find("buffer = 512"), std::string::npos);
  EXPECT_NE(text.find("outchan = 0"), std::string::npos);
  EXPECT_EQ(SettingsFile(temp.Path()).LoadAndRewrite(), settings);
}

TEST(SettingsFile, LongStringsAreCutToTheBufferOfTheFormat) {
  test::TempFolder temp;
  WriteText(temp / "settings.ini", "[midi]\nindev=" + std::string(150, 'x') + "\n");
  AppSettings settings = SettingsFile(temp.Path()).LoadAndRewrite();
  EXPECT_EQ(settings.midi.inputPort, std::string(99, 'x'));
}

TEST(SettingsFile, ScaleIsWrittenToGuiAndReadBackFromAnyCase) {
  test::TempFolder temp;
  SettingsFile file(temp.Path());
  file.LoadAndRewrite();
  EXPECT_DOUBLE_EQ(file.ReadScale(), 0.5);
  ASSERT_TRUE(file.WriteScale(0.75));
  EXPECT_NE(ReadText(file.Path()).find("[GUI]\nscale = 0.750000"), std::string::npos);
  EXPECT_DOUBLE_EQ(file.ReadScale(), 0.75);
  // Writing the other sections keeps the scale.
  AppSettings settings;
  settings.midi.outputPort = "off";
  ASSERT_TRUE(file.Write(settings));
  EXPECT_DOUBLE_EQ(file.ReadScale(), 0.75);

  WriteText(file.Path(), "[gui]\nSCALE=1.25\n");
  EXPECT_DOUBLE_EQ(file.ReadScale(), 1.25);
  WriteText(file.Path(), "[gui]\nscale=banana\n");
  EXPECT_DOUBLE_EQ(file.ReadScale(), 0.5);
}

TEST(SettingsFile, UnreadableNumbersKeepTheirDefaults) {
  test::TempFolder temp;
  WriteText(temp / "settings.ini", "[audio]\nbuffer=lots\nsr=\ndriver=-\n");
  AppSettings settings = SettingsFile(temp.Path()).LoadAndRewrite();
  EXPECT_EQ(settings.audio.bufferFrames, 512);
  EXPECT_EQ(settings.audio.sampleRate, 44100);
  EXPECT_EQ(settings.audio.driver, 0u);
}

}  // namespace
}  // namespace kr7
