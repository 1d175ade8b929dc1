// The port layer's rules that hold without any MIDI back end: with an empty
// back-end order no library object exists, as on a machine where none works.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "device/MessagePump.h"
#include "device/ports/MidiPorts.h"

namespace kr7 {
namespace {

using ::testing::ElementsAre;

const std::vector<std::uint8_t> kSysEx = {
    0xF0, 0x7E,  // start, universal non-real-time
    0x7F,        // all devices
    0x06, 0x01,  // identity request
    0xF7,        // end
};

class MidiPortsWithoutBackendTest : public ::testing::Test {
 protected:
  MidiPortsWithoutBackendTest() {
    ports.SetPortNameHook([this](MidiDirection direction, const std::string& name) {
      told.emplace_back(direction, name);
    });
  }

  MessagePump pump;
  MidiPorts ports{pump, std::span<const MidiBackend>{}};
  std::vector<std::pair<MidiDirection, std::string>> told;
};

TEST_F(MidiPortsWithoutBackendTest, NoObjectMeansNoSendingAndOnlyOff) {
  EXPECT_FALSE(ports.HasInputObject());
  EXPECT_FALSE(ports.HasOutputObject());
  EXPECT_THAT(ports.InputNames(), ElementsAre("off"));
  EXPECT_THAT(ports.OutputNames(), ElementsAre("off"));
  EXPECT_FALSE(ports.SendSysEx(kSysEx));
  EXPECT_FALSE(ports.SendShortMessage(0x90, 0x3C, 0x64));  // note on, key 60, velocity 100
}

TEST_F(MidiPortsWithoutBackendTest, StoredNamesThatAreAbsentBecomeOffAndAreRewritten) {
  EXPECT_TRUE(ports.SelectInput("no input"));
  EXPECT_TRUE(ports.SelectOutput("no output"));
  EXPECT_EQ(ports.SelectedInput(), "off");
  EXPECT_EQ(ports.SelectedOutput(), "off");
  ASSERT_EQ(told.size(), 2U);
  EXPECT_EQ(told[0], std::make_pair(MidiDirection::Input, std::string("off")));
  EXPECT_EQ(told[1], std::make_pair(MidiDirection::Output, std::string("off")));
}

TEST_F(MidiPortsWithoutBackendTest, OffIsAcceptedWithoutRewriting) {
  EXPECT_TRUE(ports.SelectInput("off"));
  EXPECT_TRUE(ports.SelectOutput("off"));
  EXPECT_TRUE(told.empty());
}

TEST_F(MidiPortsWithoutBackendTest, OffInAnotherCaseIsNotOff) {
  EXPECT_TRUE(ports.SelectOutput("Off"));
  EXPECT_EQ(ports.SelectedOutput(), "off");
  EXPECT_EQ(told.size(), 1U);
}

TEST_F(MidiPortsWithoutBackendTest, EmptyNameBecomesOff) {
  EXPECT_TRUE(ports.SelectInput(""));
  EXPECT_EQ(ports.SelectedInput(), "off");
  EXPECT_EQ(told.size(), 1U);
}

TEST_F(MidiPortsWithoutBackendTest, ShutdownMarksThePumpAsExiting) {
  ports.Shutdown();
  EXPECT_TRUE(pump.IsShuttingDown());
}

TEST(MidiBackendOrderTest, JackDriverPutsJackFirst) {
  const auto order = MidiBackendOrder(1);
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), MidiBackend::Jack);
}

TEST(MidiBackendOrderTest, OtherDriversKeepTheLibraryOrder) {
  // Debian's library is built with ALSA before JACK.
  EXPECT_THAT(MidiBackendOrder(0), ElementsAre(MidiBackend::Alsa, MidiBackend::Jack));
  EXPECT_THAT(MidiBackendOrder(2), ElementsAre(MidiBackend::Alsa, MidiBackend::Jack));
}

}  // namespace
}  // namespace kr7
