#include "device/ports/AudioDeviceChoice.h"

#include <gtest/gtest.h>

namespace kr7 {
namespace {

const std::vector<std::string> kDevices = {"hw:Card", "system", "USB Audio"};

TEST(AudioDeviceChoiceTest, ConfiguredDeviceIsKeptWhenListed) {
  const auto choice = ChooseAudioDevice(kDevices, "system", "USB Audio");
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->name, "USB Audio");
  EXPECT_FALSE(choice->replacedByDefault);
}

TEST(AudioDeviceChoiceTest, MissingDeviceIsReplacedByTheDefault) {
  const auto choice = ChooseAudioDevice(kDevices, "system", "Built-in Output");
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->name, "system");
  EXPECT_TRUE(choice->replacedByDefault);
}

TEST(AudioDeviceChoiceTest, NamesMatchExactlyIncludingCase) {
  const auto choice = ChooseAudioDevice(kDevices, "system", "usb audio");
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->name, "system");
  EXPECT_TRUE(choice->replacedByDefault);
}

TEST(AudioDeviceChoiceTest, NeitherDeviceNorDefaultLeavesNothing) {
  EXPECT_FALSE(ChooseAudioDevice(kDevices, "", "Built-in Output").has_value());
  EXPECT_FALSE(ChooseAudioDevice({}, "", "").has_value());
}

TEST(AudioDeviceChoiceTest, DefaultThatIsNotListedDoesNotCount) {
  EXPECT_FALSE(ChooseAudioDevice(kDevices, "gone", "Built-in Output").has_value());
}

}  // namespace
}  // namespace kr7
