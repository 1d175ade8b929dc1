// Firmware update: loading the image, the loader's replies and the stream of
// FirmwareFirst / FirmwareData messages.

#include <gtest/gtest.h>

#include <fstream>

#include "device/Checksums.h"
#include "device/Firmware.h"
#include "device/SessionState.h"
#include "device/StreamsProgress.h"
#include "tests/device/StreamTestSupport.h"
#include "tests/support/TempFolder.h"

namespace kr7::test {
namespace {

constexpr std::size_t kImageSize = 480;
constexpr std::size_t kPackedSize = 549;  // floor((8 * 480 + 7) / 7)

Bytes Image(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 5);
  return image;
}

std::string WriteImage(const TempFolder& folder, const Bytes& image) {
  const std::string path = folder / "kr7.bin";
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return path;
}

class FirmwareUnit : public ::testing::Test {
 protected:
  FirmwareUnit() : firmware(session, host) {}

  // Loads and announces image; the loader answers ready.
  void Announce(const Bytes& image) {
    ASSERT_TRUE(firmware.LoadImage(WriteImage(folder, image)));
    ASSERT_EQ(host.sent.back(), build::FirmwareStart());
    firmware.OnLoaderReply(LoaderReplyCode::FirmwareReady);
    ASSERT_TRUE(firmware.Running());
  }

  TempFolder folder;
  SessionState session;
  RecordingStreamHost host;
  FirmwareUpdate firmware;
};

TEST_F(FirmwareUnit, PageOpensConnectedWithoutPolling) {
  firmware.OpenPage();
  EXPECT_TRUE(session.connected.load());
  EXPECT_FALSE(session.polling.load());
  EXPECT_TRUE(host.view.Shown(kGroupFirmwareBackground));
  EXPECT_TRUE(host.view.Shown(kGroupFirmwareUpdate));
  EXPECT_TRUE(host.view.disabledGroups[std::string(kGroupMain)]);

  firmware.ClosePage();
  EXPECT_TRUE(session.dropRequested.exchange(false));
  EXPECT_TRUE(session.polling.load());
  EXPECT_TRUE(host.view.Hidden(kGroupFirmwareBackground));
  EXPECT_FALSE(host.view.disabledGroups[std::string(kGroupMain)]);
}

TEST_F(FirmwareUnit, ButtonAsksForBinFile) {
  host.view.chosenFile = WriteImage(folder, Image(kImageSize));
  firmware.ChooseImage();
  ASSERT_EQ(host.view.fileRequests.size(), 1u);
  EXPECT_EQ(host.view.fileRequests[0].extension, "bin");
  EXPECT_FALSE(host.view.fileRequests[0].save);
  EXPECT_EQ(host.sent, std::vector<Bytes>{build::FirmwareStart()});
}

TEST_F(FirmwareUnit, CancelledDialogSendsNothing) {
  firmware.ChooseImage();
  host.view.chosenFile = "";
  firmware.ChooseImage();
  EXPECT_TRUE(host.sent.empty());
}

TEST_F(FirmwareUnit, Image480GoesOutAs250And247And78Bytes) {
  const Bytes image = Image(kImageSize);
  const Bytes packed = Pack(image);
  ASSERT_EQ(packed.size(), kPackedSize);
  Announce(image);
  EXPECT_EQ(host.view.texts[kFirmwareProgress.textTag], "0 %");
  EXPECT_TRUE(host.view.Shown(kFirmwareProgress.group));
  EXPECT_TRUE(host.view.disabledGroups[std::string(kGroupFirmwareUpdate)]);

  for (int tick = 0; tick < 3; ++tick) EXPECT_TRUE(firmware.Step());
  EXPECT_FALSE(firmware.Running());
  EXPECT_FALSE(firmware.Step());

  ASSERT_EQ(host.sent.size(), 4u);
  const Bytes& first = host.sent[1];
  ASSERT_EQ(first.size(), kFirmwareFirstSize);
  // F0 00 51 21 02 13, N = 549 as 00 04 25, then packed bytes 0..239.
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 9),
            (Bytes{0xF0, 0x00, 0x51, 0x21, 0x02, 0x13, 0x00, 0x04, 0x25}));
  EXPECT_TRUE(std::equal(packed.begin(), packed.begin() + 240, first.begin() + 9));
  EXPECT_EQ(host.sent[2], build::FirmwareData(ByteSpan(packed).subspan(240, 240)));
  const Bytes& last = host.sent[3];
  ASSERT_EQ(last.size(), 78u);  // 69 packed bytes + 9
  EXPECT_EQ(last, build::FirmwareDataLast(ByteSpan(packed).subspan(480), StreamChecksumOf(packed)));

  EXPECT_EQ(host.view.TextsOf(kFirmwareProgress.textTag),
            (std::vector<std::string>{"0 %", "43 %", "87 %", "100 %"}));
  EXPECT_EQ(host.view.messages, std::vector<std::string>{std::string(kFirmwareFinishedText)});
  EXPECT_TRUE(host.view.Hidden(kFirmwareProgress.group));
  EXPECT_TRUE(host.view.Hidden(kGroupFirmwareUpdate));
  EXPECT_TRUE(host.view.disabledGroups[std::string(kGroupPedal)]);
}

TEST_F(FirmwareUnit, SmallImageSendsFirstWithAllBytesThenChecksumOnly) {
  const Bytes image = Image(10);  // N = 12
  const Bytes packed = Pack(image);
  Announce(image);
  firmware.Step();
  firmware.Step();
  EXPECT_FALSE(firmware.Running());
  ASSERT_EQ(host.sent.size(), 3u);
  EXPECT_EQ(host.sent[1], build::FirmwareFirst(static_cast<std::uint32_t>(packed.size()), packed));
  // No data beyond the image's packed bytes: the last message is the checksum.
  EXPECT_EQ(host.sent[2].size(), kFirmwareLastOverhead);
  EXPECT_EQ(host.sent[2], build::FirmwareDataLast({}, StreamChecksumOf(packed)));
}

TEST_F(FirmwareUnit, ExactlyOneChunkEndsWithChecksumOnly) {
  const Bytes image = Image(210);  // N = 241 → 240 in the first, 1 in the last
  Announce(image);
  firmware.Step();
  firmware.Step();
  ASSERT_EQ(host.sent.size(), 3u);
  EXPECT_EQ(host.sent[2].size(), 1 + kFirmwareLastOverhead);
}

TEST_F(FirmwareUnit, OversizedOrEmptyImageIsIgnored) {
  EXPECT_FALSE(firmware.LoadImage(WriteImage(folder, Image(kFirmwareImageLimit))));
  EXPECT_FALSE(firmware.LoadImage(WriteImage(folder, {})));
  EXPECT_FALSE(firmware.LoadImage(folder / "missing.bin"));
  EXPECT_TRUE(host.sent.empty());
  // The largest image that is taken.
  EXPECT_TRUE(firmware.LoadImage(WriteImage(folder, Image(kFirmwareImageLimit - 1))));
}

TEST_F(FirmwareUnit, StrayLoaderRepliesChangeNothing) {
  session.connected.store(true);
  firmware.OnLoaderReply(LoaderReplyCode::FirmwareReady);
  EXPECT_FALSE(firmware.Running());
  firmware.OnLoaderReply(LoaderReplyCode::FirmwareDone);
  firmware.OnLoaderReply(LoaderReplyCode::FirmwareFailed);
  EXPECT_FALSE(session.dropRequested.load());
  EXPECT_FALSE(firmware.Step());
  EXPECT_TRUE(host.view.messages.empty());
}

TEST_F(FirmwareUnit, DoneDisconnectsWithoutMessage) {
  session.connected.store(true);
  Announce(Image(kImageSize));
  for (int tick = 0; tick < 3; ++tick) firmware.Step();
  host.view.messages.clear();
  firmware.OnLoaderReply(LoaderReplyCode::FirmwareDone);
  EXPECT_TRUE(session.dropRequested.load());
  EXPECT_FALSE(firmware.Step());
  EXPECT_TRUE(host.view.messages.empty());
}

TEST_F(FirmwareUnit, FailedMidTransferStopsAndReportsAtNextTick) {
  session.connected.store(true);
  Announce(Image(kImageSize));
  firmware.Step();  // FirmwareFirst
  firmware.OnLoaderReply(LoaderReplyCode::FirmwareFailed);
  EXPECT_FALSE(firmware.Running());
  EXPECT_TRUE(session.dropRequested.load());
  EXPECT_TRUE(firmware.Step());  // the report, no message to the pedal
  EXPECT_EQ(host.sent.size(), 2u);
  EXPECT_EQ(host.view.messages, std::vector<std::string>{std::string(kFirmwareErrorText)});
  EXPECT_TRUE(host.view.Hidden(kGroupFirmwareBackground));
  EXPECT_FALSE(host.view.disabledGroups[std::string(kGroupMain)]);
  EXPECT_FALSE(firmware.Step());
}

}  // namespace
}  // namespace kr7::test
