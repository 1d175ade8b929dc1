#include "device/MessagePump.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kr7 {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct ReceivedSysEx {
  int offset;
  std::vector<std::uint8_t> bytes;
};

class RecordingReceiver : public SysExReceiver {
 public:
  void OnSysExReceived(int offset, std::span<const std::uint8_t> message) override {
    received.push_back({offset, {message.begin(), message.end()}});
  }
  bool ReadyForMessage() override { return ready; }
  std::vector<ReceivedSysEx> received;
  bool ready = true;
};

// A SysEx of `size` bytes: F0, a running tag, filler, F7. The tag tells the
// messages apart once they come out of the pump.
std::vector<std::uint8_t> MakeSysEx(std::size_t size, std::uint8_t tag) {
  std::vector<std::uint8_t> message(size, 0x55);  // filler
  message.front() = 0xF0;                         // start of exclusive
  message[1] = tag;                               // which message this is
  message.back() = 0xF7;                          // end of exclusive
  return message;
}

class MessagePumpTest : public ::testing::Test {
 protected:
  MessagePumpTest() { pump.SetSysExReceiver(&receiver); }

  std::vector<ShortMessage> DrainShortMessages() {
    std::vector<ShortMessage> out;
    pump.DrainProcessorMessages([&out](const ShortMessage& m) { out.push_back(m); }, {});
    return out;
  }

  MessagePump pump;
  RecordingReceiver receiver;
};

TEST_F(MessagePumpTest, SysExReachesTheReceiverOnlyAtTheAudioStep) {
  const std::vector<std::uint8_t> identity = {
      0xF0, 0x7E,  // start, universal non-real-time
      0x7F,        // all devices
      0x06, 0x01,  // identity request
      0xF7,        // end
  };
  pump.OnMidiInput(identity);
  EXPECT_TRUE(receiver.received.empty());

  pump.RunAudioStep();
  ASSERT_EQ(receiver.received.size(), 1U);
  EXPECT_EQ(receiver.received[0].offset, 0);
  EXPECT_EQ(receiver.received[0].bytes, identity);
}

TEST_F(MessagePumpTest, AReceiverNotReadyLeavesTheMessageForTheNextStep) {
  pump.SetReceiveOnInput(true);
  receiver.ready = false;
  pump.OnMidiInput(MakeSysEx(kMinSysExSize, 1));  // the step gives up at once, no spinning
  EXPECT_TRUE(receiver.received.empty());
  receiver.ready = true;
  pump.RunAudioStep();
  EXPECT_EQ(receiver.received.size(), 1U);
}

TEST_F(MessagePumpTest, SmallestAndLargestSysExArriveWhole) {
  const auto smallest = MakeSysEx(kMinSysExSize, 1);
  const auto largest = MakeSysEx(kMaxSysExSize, 2);
  pump.OnMidiInput(smallest);
  pump.OnMidiInput(largest);
  pump.RunAudioStep();
  ASSERT_EQ(receiver.received.size(), 2U);
  EXPECT_EQ(receiver.received[0].bytes, smallest);
  EXPECT_EQ(receiver.received[1].bytes, largest);
}

TEST_F(MessagePumpTest, OverlongSysExNeverReachesTheReceiver) {
  constexpr std::size_t kOverlong = 600;
  pump.OnMidiInput(MakeSysEx(kOverlong, 1));
  pump.OnMidiInput(MakeSysEx(kMaxSysExSize + 1, 2));
  pump.RunAudioStep();
  EXPECT_TRUE(receiver.received.empty());

  // The road stays open for the next message of a sound size.
  const auto next = MakeSysEx(kMaxSysExSize, 3);
  pump.OnMidiInput(next);
  pump.RunAudioStep();
  ASSERT_EQ(receiver.received.size(), 1U);
  EXPECT_EQ(receiver.received[0].bytes, next);
}

TEST_F(MessagePumpTest, FifthSysExWithinOneStepIsLost) {
  constexpr int kArriving = 5;
  for (int tag = 0; tag < kArriving; ++tag) {
    pump.OnMidiInput(MakeSysEx(16, static_cast<std::uint8_t>(tag)));
  }
  pump.RunAudioStep();
  ASSERT_EQ(receiver.received.size(), kSysExQueueCapacity);
  for (std::size_t i = 0; i < kSysExQueueCapacity; ++i) {
    EXPECT_EQ(receiver.received[i].bytes[1], i) << "message " << i;
  }
  pump.RunAudioStep();
  EXPECT_EQ(receiver.received.size(), kSysExQueueCapacity);
}

TEST_F(MessagePumpTest, SysExIsForwardedToTheUiSideAfterTheReceiver) {
  const auto message = MakeSysEx(10, 7);
  pump.OnMidiInput(message);
  pump.RunAudioStep();
  std::vector<std::vector<std::uint8_t>> forwarded;
  pump.DrainProcessorMessages({}, [&forwarded](const SysExItem& item) {
    forwarded.emplace_back(item.Bytes().begin(), item.Bytes().end());
  });
  ASSERT_EQ(forwarded.size(), 1U);
  EXPECT_EQ(forwarded[0], message);
}

TEST_F(MessagePumpTest, ShortMessagesAreFilledWithZerosAndForwarded) {
  const std::uint8_t noteOn[] = {0x90, 0x3C, 0x64};    // note on, key 60, velocity 100
  const std::uint8_t programChange[] = {0xC0, 0x05};  // program change, program 5
  const std::uint8_t tuneRequest[] = {0xF6};          // tune request, no data
  pump.OnMidiInput(noteOn);
  pump.OnMidiInput(programChange);
  pump.OnMidiInput(tuneRequest);
  EXPECT_TRUE(DrainShortMessages().empty());

  pump.RunAudioStep();
  const auto forwarded = DrainShortMessages();
  ASSERT_EQ(forwarded.size(), 3U);
  EXPECT_THAT((std::vector<int>{forwarded[0].status, forwarded[0].data1, forwarded[0].data2}),
              ElementsAre(0x90, 0x3C, 0x64));
  EXPECT_THAT((std::vector<int>{forwarded[1].status, forwarded[1].data1, forwarded[1].data2}),
              ElementsAre(0xC0, 0x05, 0x00));
  EXPECT_THAT((std::vector<int>{forwarded[2].status, forwarded[2].data1, forwarded[2].data2}),
              ElementsAre(0xF6, 0x00, 0x00));
  EXPECT_TRUE(receiver.received.empty());
}

TEST_F(MessagePumpTest, ShortMessageQueueDropsTheNewestBeyondItsCapacity) {
  for (std::size_t i = 0; i <= kShortMessageQueueCapacity; ++i) {
    const std::uint8_t controlChange[] = {0xB0, static_cast<std::uint8_t>(i), 0x00};
    pump.OnMidiInput(controlChange);
  }
  pump.RunAudioStep();
  const auto forwarded = DrainShortMessages();
  ASSERT_EQ(forwarded.size(), kShortMessageQueueCapacity);
  EXPECT_EQ(forwarded.back().data1, kShortMessageQueueCapacity - 1);
}

TEST_F(MessagePumpTest, EmptyMessageIsIgnored) {
  pump.OnMidiInput({});
  pump.RunAudioStep();
  EXPECT_TRUE(DrainShortMessages().empty());
  EXPECT_TRUE(receiver.received.empty());
}

TEST_F(MessagePumpTest, NothingIsTakenInOnceShuttingDown) {
  EXPECT_FALSE(pump.IsShuttingDown());
  pump.SetShuttingDown();
  EXPECT_TRUE(pump.IsShuttingDown());
  const std::uint8_t noteOn[] = {0x90, 0x3C, 0x64};  // note on, key 60, velocity 100
  pump.OnMidiInput(noteOn);
  pump.OnMidiInput(MakeSysEx(8, 1));
  pump.RunAudioStep();
  EXPECT_TRUE(DrainShortMessages().empty());
  EXPECT_TRUE(receiver.received.empty());
}

TEST_F(MessagePumpTest, WithoutReceiverSysExIsStillConsumed) {
  pump.SetSysExReceiver(nullptr);
  for (std::size_t i = 0; i < kSysExQueueCapacity; ++i) {
    pump.OnMidiInput(MakeSysEx(8, 1));
  }
  pump.RunAudioStep();
  pump.SetSysExReceiver(&receiver);
  pump.RunAudioStep();
  EXPECT_TRUE(receiver.received.empty());
}

TEST_F(MessagePumpTest, UiStepEmptiesTheForwardedRings) {
  const std::uint8_t noteOn[] = {0x90, 0x3C, 0x64};  // note on, key 60, velocity 100
  for (std::size_t i = 0; i < kShortMessageQueueCapacity; ++i) {
    pump.OnMidiInput(noteOn);
  }
  pump.RunAudioStep();

  pump.DrainProcessorMessages();
  // The forwarded ring was emptied: a second full round fits again.
  for (std::size_t i = 0; i < kShortMessageQueueCapacity; ++i) {
    pump.OnMidiInput(noteOn);
  }
  pump.RunAudioStep();
  EXPECT_EQ(DrainShortMessages().size(), kShortMessageQueueCapacity);
}

TEST_F(MessagePumpTest, EditorShortMessagesAreConsumedEveryStep) {
  const ShortMessage allNotesOff{0, 0xB0, 0x7B, 0x00};  // control change 123, value 0
  for (std::size_t i = 0; i < kShortMessageQueueCapacity; ++i) {
    ASSERT_TRUE(pump.QueueEditorShortMessage(allNotesOff));
  }
  EXPECT_FALSE(pump.QueueEditorShortMessage(allNotesOff));
  pump.RunAudioStep();
  EXPECT_TRUE(pump.QueueEditorShortMessage(allNotesOff));
  // They are not forwarded to the UI side.
  EXPECT_TRUE(DrainShortMessages().empty());
}

// Looks at the output buffer when a SysEx arrives, to see whether the pump ran
// before or after the silence of its step.
class BufferWatcher : public SysExReceiver {
 public:
  explicit BufferWatcher(const std::vector<float>& buffer) : mBuffer(buffer) {}
  void OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> /*message*/) override {
    firstSampleAtDelivery = mBuffer.front();
  }
  float firstSampleAtDelivery = 0.0F;

 private:
  const std::vector<float>& mBuffer;
};

constexpr float kNoise = 0.5F;

TEST(MessagePumpAudioTest, BlockOf512FramesRunsEightStepsAndWritesSilence) {
  constexpr int kFrames = 512;
  constexpr int kChannels = 2;
  std::vector<float> left(kFrames, kNoise);
  std::vector<float> right(kFrames, kNoise);
  MessagePump pump;
  BufferWatcher watcher(left);
  pump.SetSysExReceiver(&watcher);
  pump.OnMidiInput(MakeSysEx(8, 1));

  float* outputs[kChannels] = {left.data(), right.data()};
  EXPECT_EQ(pump.ProcessAudio(outputs, kChannels, kFrames), kFrames / kAudioStepFrames);

  // The message was handled in the first step, before its silence.
  EXPECT_EQ(watcher.firstSampleAtDelivery, kNoise);
  EXPECT_THAT(left, ElementsAreArray(std::vector<float>(kFrames, 0.0F)));
  EXPECT_THAT(right, ElementsAreArray(std::vector<float>(kFrames, 0.0F)));
}

TEST(MessagePumpAudioTest, ShortLastStepStillRunsAndMissingChannelsAreSkipped) {
  constexpr int kFrames = 100;  // one full step and one of 36 frames
  constexpr int kChannels = 2;
  std::vector<float> left(kFrames, kNoise);
  float* outputs[kChannels] = {left.data(), nullptr};
  MessagePump pump;
  EXPECT_EQ(pump.ProcessAudio(outputs, kChannels, kFrames), 2);
  EXPECT_THAT(left, ElementsAreArray(std::vector<float>(kFrames, 0.0F)));
}

TEST(MessagePumpAudioTest, EmptyBlockRunsNoStep) {
  MessagePump pump;
  EXPECT_EQ(pump.ProcessAudio(nullptr, 0, 0), 0);
}

}  // namespace
}  // namespace kr7
