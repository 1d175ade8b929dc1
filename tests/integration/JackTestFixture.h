#pragma once
// Base fixture for the tests that need JACK: one private server per test
// suite (see JackServer), a loopback client standing in for the pedal, and a
// receive handler that records what the audio pump delivers. Every wait is
// bounded, so a broken setup fails instead of hanging.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "device/MessagePump.h"
#include "device/SysExSender.h"
#include "tests/integration/JackLoopbackClient.h"
#include "tests/support/JackServer.h"
#include "tests/support/MessageInbox.h"

namespace kr7::jacktest {

inline constexpr auto kServerStartTimeout = std::chrono::seconds(5);
inline constexpr auto kMessageTimeout = std::chrono::seconds(3);
// Long enough for dozens of periods of 256 frames: a message that has not
// arrived by then is not coming.
inline constexpr auto kSilenceWindow = std::chrono::milliseconds(300);
inline constexpr const char* kLoopbackName = "kr7-loopback";

// Records each SysEx the pump hands over on the audio thread and, when given
// a sender and a reply, answers at once as the protocol side does.
class RecordingReceiver : public SysExReceiver {
 public:
  void ReplyWith(SysExSender* sender, Bytes reply) {
    std::lock_guard lock(mMutex);
    mSender = sender;
    mReply = std::move(reply);
  }

  void OnSysExReceived(int /*offset*/, std::span<const std::uint8_t> message) override {
    {
      std::lock_guard lock(mMutex);
      if (mSender != nullptr) {
        mReplySent = mSender->SendSysEx(mReply);
      }
    }
    // After the reply: whoever waits for the message may check ReplySent.
    mReceived.Push(message);
  }

  std::optional<Bytes> WaitForMessage(std::chrono::milliseconds timeout) {
    return mReceived.Pop(timeout);
  }

  bool ReplySent() {
    std::lock_guard lock(mMutex);
    return mReplySent;
  }

 private:
  test::MessageInbox mReceived;
  std::mutex mMutex;
  SysExSender* mSender = nullptr;
  Bytes mReply;
  bool mReplySent = false;
};

class JackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sServer = std::make_unique<JackServer>();
    sServerUp = sServer->Start(kServerStartTimeout);
  }
  static void TearDownTestSuite() { sServer.reset(); }

  void SetUp() override {
    ASSERT_TRUE(sServerUp) << "no JACK server could be started (is jackd installed?)";
    ASSERT_TRUE(loopback.Open(kLoopbackName));
    pump.SetSysExReceiver(&receiver);
  }

  void TearDown() override { pump.SetSysExReceiver(nullptr); }

  inline static std::unique_ptr<JackServer> sServer;
  inline static bool sServerUp = false;

  // Declared first so it outlives the ports and streams the tests build.
  MessagePump pump;
  RecordingReceiver receiver;
  JackLoopbackClient loopback;
};

}  // namespace kr7::jacktest
