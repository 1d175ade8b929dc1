// The port layer and the audio pump on a real (dummy-driver) JACK server, with
// a loopback client in the pedal's place.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <iostream>

#include "device/ports/AudioStream.h"
#include "device/ports/MidiPorts.h"
#include "tests/integration/JackTestFixture.h"

namespace kr7::jacktest {
namespace {

using ::testing::Contains;
using ::testing::Not;

constexpr std::array kJackOnly = {MidiBackend::Jack};

const Bytes kIdentityRequest = {
    0xF0, 0x7E,  // start, universal non-real-time
    0x7F,        // all devices
    0x06, 0x01,  // general information: identity request
    0xF7,        // end
};
const Bytes kIdentityReply = {
    0xF0, 0x7E,              // start, universal non-real-time
    0x00,                    // device 0
    0x06, 0x02,              // general information: identity reply
    0x00, 0x20, 0x1F,        // manufacturer (three-byte id)
    0x01, 0x00, 0x02, 0x00,  // family, model
    0x01, 0x02, 0x00, 0x00,  // version
    0xF7,                    // end
};

AudioSettings JackAudio() {
  AudioSettings settings;
  settings.driver = kAudioDriverJack;
  settings.outputDevice = "system";
  settings.inputDevice = "system";
  return settings;
}

class MidiPortsJackTest : public JackTest {
 protected:
  void OpenBothPorts(MidiPorts& ports) {
    ASSERT_TRUE(ports.SelectInput(loopback.OutputPortName()));
    ASSERT_TRUE(ports.SelectOutput(loopback.InputPortName()));
    ASSERT_EQ(ports.SelectedInput(), loopback.OutputPortName());
    ASSERT_EQ(ports.SelectedOutput(), loopback.InputPortName());
  }
};

TEST_F(MidiPortsJackTest, NameListsStartWithOffAndOfferTheLoopbackPorts) {
  MidiPorts ports(pump, kJackOnly);
  ASSERT_TRUE(ports.HasInputObject());
  ASSERT_TRUE(ports.HasOutputObject());
  ASSERT_FALSE(ports.InputNames().empty());
  ASSERT_FALSE(ports.OutputNames().empty());
  EXPECT_EQ(ports.InputNames().front(), "off");
  EXPECT_EQ(ports.OutputNames().front(), "off");
  EXPECT_THAT(ports.InputNames(), Contains(loopback.OutputPortName()));
  EXPECT_THAT(ports.OutputNames(), Contains(loopback.InputPortName()));
  // Each list offers only the direction it can be opened in.
  EXPECT_THAT(ports.InputNames(), Not(Contains(loopback.InputPortName())));
}

TEST_F(MidiPortsJackTest, SysExTravelsBothWaysThroughTheAudioPump) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  AudioStream audio(pump);
  ASSERT_TRUE(audio.Start(JackAudio()));
  EXPECT_EQ(audio.BufferFrames(), static_cast<unsigned>(kJackTestPeriod));

  // Pedal → editor: handed to the receive handler on the audio thread.
  loopback.Send(kIdentityRequest);
  const auto received = receiver.WaitForMessage(kMessageTimeout);
  ASSERT_TRUE(received.has_value());
  EXPECT_EQ(*received, kIdentityRequest);

  // Editor → pedal, from the test (UI) thread.
  ASSERT_TRUE(ports.SendSysEx(kIdentityReply));
  const auto sent = loopback.WaitForMessage(kMessageTimeout);
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(*sent, kIdentityReply);
}

TEST_F(MidiPortsJackTest, ReplyFromTheReceiveHandlerCompletesARoundTrip) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  receiver.ReplyWith(&ports, kIdentityReply);
  AudioStream audio(pump);
  ASSERT_TRUE(audio.Start(JackAudio()));

  constexpr int kRoundTrips = 20;
  std::chrono::microseconds total{0};
  std::chrono::microseconds longest{0};
  for (int trip = 0; trip < kRoundTrips; ++trip) {
    const auto start = std::chrono::steady_clock::now();
    loopback.Send(kIdentityRequest);
    const auto reply = loopback.WaitForMessage(kMessageTimeout);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    ASSERT_TRUE(reply.has_value()) << "round trip " << trip;
    EXPECT_EQ(*reply, kIdentityReply);
    ASSERT_TRUE(receiver.WaitForMessage(kMessageTimeout).has_value());
    total += took;
    longest = std::max(longest, took);
  }
  EXPECT_TRUE(receiver.ReplySent());
  const auto mean = total / kRoundTrips;
  RecordProperty("round_trip_mean_us", static_cast<int>(mean.count()));
  RecordProperty("round_trip_max_us", static_cast<int>(longest.count()));
  std::cout << "SysEx round trip at period " << kJackTestPeriod << ": mean " << mean.count()
            << " us, max " << longest.count() << " us over " << kRoundTrips << " trips\n";
}

TEST_F(MidiPortsJackTest, WithoutAudioStreamIncomingSysExWaitsUnhandled) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  loopback.Send(kIdentityRequest);
  EXPECT_FALSE(receiver.WaitForMessage(kSilenceWindow).has_value());

  // It was queued all along and is handled once a stream pumps.
  AudioStream audio(pump);
  ASSERT_TRUE(audio.Start(JackAudio()));
  const auto received = receiver.WaitForMessage(kMessageTimeout);
  ASSERT_TRUE(received.has_value());
  EXPECT_EQ(*received, kIdentityRequest);
}

TEST_F(MidiPortsJackTest, OutputOffSucceedsButSendsNothing) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  ASSERT_TRUE(ports.SelectOutput("off"));
  EXPECT_EQ(ports.SelectedOutput(), "off");
  EXPECT_TRUE(ports.SendSysEx(kIdentityReply));
  EXPECT_FALSE(loopback.WaitForMessage(kSilenceWindow).has_value());
}

TEST_F(MidiPortsJackTest, InputOffStopsIncomingMessages) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  AudioStream audio(pump);
  ASSERT_TRUE(audio.Start(JackAudio()));
  ASSERT_TRUE(ports.SelectInput("off"));
  loopback.Send(kIdentityRequest);
  EXPECT_FALSE(receiver.WaitForMessage(kSilenceWindow).has_value());
}

TEST_F(MidiPortsJackTest, NameInOtherCaseIsNotAPortAndBecomesOff) {
  MidiPorts ports(pump, kJackOnly);
  std::vector<std::pair<MidiDirection, std::string>> told;
  ports.SetPortNameHook([&told](MidiDirection direction, const std::string& name) {
    told.emplace_back(direction, name);
  });
  std::string shouted = loopback.InputPortName();
  for (char& c : shouted) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  ASSERT_NE(shouted, loopback.InputPortName());
  EXPECT_TRUE(ports.SelectOutput(shouted));
  EXPECT_EQ(ports.SelectedOutput(), "off");
  ASSERT_EQ(told.size(), 1U);
  EXPECT_EQ(told[0].first, MidiDirection::Output);
  EXPECT_EQ(told[0].second, "off");
  EXPECT_TRUE(ports.SendSysEx(kIdentityReply));
  EXPECT_FALSE(loopback.WaitForMessage(kSilenceWindow).has_value());
}

TEST_F(MidiPortsJackTest, ShutdownIgnoresInputAndLeavesNoOutput) {
  MidiPorts ports(pump, kJackOnly);
  OpenBothPorts(ports);
  AudioStream audio(pump);
  ASSERT_TRUE(audio.Start(JackAudio()));
  ports.Shutdown();
  EXPECT_TRUE(pump.IsShuttingDown());
  EXPECT_FALSE(ports.SendSysEx(kIdentityReply));
  loopback.Send(kIdentityRequest);
  EXPECT_FALSE(receiver.WaitForMessage(kSilenceWindow).has_value());
  ports.Shutdown();  // a second call is harmless
}

}  // namespace
}  // namespace kr7::jacktest
