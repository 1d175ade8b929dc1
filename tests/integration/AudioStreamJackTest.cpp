// The pumping audio stream on a dummy-driver JACK server.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "device/ports/AudioStream.h"
#include "tests/integration/JackTestFixture.h"

namespace kr7::jacktest {
namespace {

class AudioStreamJackTest : public JackTest {
 protected:
  AudioStreamJackTest() {
    audio.SetMessageHook([this](const std::string& text, const std::string& caption) {
      messages.emplace_back(text, caption);
    });
    audio.SetDeviceNameHook([this](AudioSide side, const std::string& name) {
      renamed.emplace_back(side, name);
    });
  }

  AudioStream audio{pump};
  std::vector<std::pair<std::string, std::string>> messages;
  std::vector<std::pair<AudioSide, std::string>> renamed;
};

TEST_F(AudioStreamJackTest, ProbesTheServerAsOneDeviceWithDefaults) {
  audio.CreateDriver(kAudioDriverJack);
  const AudioDeviceList& devices = audio.Devices();
  ASSERT_FALSE(devices.outputs.empty());
  EXPECT_EQ(devices.outputs.front(), "system");
  EXPECT_EQ(devices.defaultOutput, "system");
  EXPECT_EQ(devices.defaultInput, "system");
}

TEST_F(AudioStreamJackTest, MissingDevicesFallBackToTheDefaultAndAreReported) {
  AudioSettings settings;
  settings.driver = kAudioDriverJack;
  settings.outputDevice = "Built-in Output";
  settings.inputDevice = "Built-in Input";
  ASSERT_TRUE(audio.Start(settings));
  EXPECT_TRUE(audio.IsRunning());
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(renamed.size(), 2U);
  EXPECT_EQ(renamed[0], std::make_pair(AudioSide::Output, std::string("system")));
  EXPECT_EQ(renamed[1], std::make_pair(AudioSide::Input, std::string("system")));
}

TEST_F(AudioStreamJackTest, StopReturnsAfterTheLastCallbackAndCanRestart) {
  AudioSettings settings;
  settings.driver = kAudioDriverJack;
  settings.outputDevice = "system";
  settings.inputDevice = "system";
  ASSERT_TRUE(audio.Start(settings));
  audio.Stop();
  EXPECT_FALSE(audio.IsRunning());
  // Restarting replaces the stream, as the preferences dialog does.
  ASSERT_TRUE(audio.Start(settings));
  ASSERT_TRUE(audio.Start(settings));
  EXPECT_TRUE(audio.IsRunning());
  EXPECT_TRUE(renamed.empty());
}

TEST_F(AudioStreamJackTest, SampleRateTheServerDoesNotRunLeavesNoStream) {
  AudioSettings settings;
  settings.driver = kAudioDriverJack;
  settings.outputDevice = "system";
  settings.inputDevice = "system";
  settings.sampleRate = kJackTestSampleRate * 2;
  EXPECT_FALSE(audio.Start(settings));
  EXPECT_FALSE(audio.IsRunning());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace kr7::jacktest
