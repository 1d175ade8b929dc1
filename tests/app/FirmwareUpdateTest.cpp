// Conversations with the virtual pedal's loader: the firmware page, an image
// streamed one message per tick, and the loader's two verdicts.

#include <fstream>

#include "device/StreamsProgress.h"
#include "tests/app/StreamConversation.h"

namespace kr7::test {
namespace {

constexpr std::size_t kImageSize = 480;
constexpr std::size_t kSmallImageSize = 100;  // N = 115, within one chunk

Bytes Image(std::size_t size) {
  Bytes image(size);
  for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>(i * 31 + 7);
  return image;
}

class FirmwareUpdateTest : public StreamConversation {
 protected:
  // Opens the page and picks an image file holding `image`.
  void ChooseImage(const Bytes& image) {
    const std::string path = data / "kr7.bin";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.close();
    ASSERT_TRUE(streams.OnCommand(kCommandFirmwarePage));
    window.chosenFile = path;
    link.sent.clear();
    streams.Firmware().ChooseImage();
    Deliver();  // FirmwareReady
  }
};

TEST_F(FirmwareUpdateTest, Image480GoesOutIn250And247And78BytesAndThePedalTakesIt) {
  const Bytes image = Image(kImageSize);
  ChooseImage(image);
  ASSERT_TRUE(streams.FirmwareRunning());
  Tick(4);  // the last tick drops the connection FirmwareDone ended

  ASSERT_EQ(link.sent.size(), 4u);
  EXPECT_EQ(link.sent[0], build::FirmwareStart());
  EXPECT_EQ(link.sent[1].size(), 250u);
  EXPECT_EQ(link.sent[2].size(), 247u);
  EXPECT_EQ(link.sent[3].size(), 78u);
  // Length field of FirmwareFirst: N = 549 as three 7-bit bytes.
  EXPECT_EQ(Bytes(link.sent[1].begin() + kOffsetFirmwareTotalLength,
                  link.sent[1].begin() + kOffsetFirmwareTotalLength + 3),
            (Bytes{0x00, 0x04, 0x25}));

  EXPECT_EQ(pedal.Snapshot().firmware, image);  // FirmwareDone
  EXPECT_FALSE(editor->Session().connected.load());
  EXPECT_FALSE(editor->Session().polling.load());
  EXPECT_EQ(window.messages, std::vector<std::string>{std::string(kFirmwareFinishedText)});
  EXPECT_EQ(window.texts[kFirmwareProgress.textTag], "100 %");
  EXPECT_TRUE(window.GroupHidden(std::string(kGroupFirmwareBackground)));
  Tick(kPollTicks + 1);  // polling stays off until Reconnect
  EXPECT_EQ(link.sent.size(), 4u);
}

TEST_F(FirmwareUpdateTest, CorruptedTransferGetsFirmwareFailedAndErrorMessage) {
  const Bytes image = Image(kImageSize);
  ChooseImage(image);
  Tick();  // FirmwareFirst
  // A data message the editor never sent reaches the loader: the image it
  // assembles no longer matches the stream checksum.
  pedal.Receive(build::FirmwareData(Bytes(kFirmwareChunkSize, 0x55)));
  Tick(2);  // the rest of the transfer; the loader answers FirmwareFailed
  Tick();   // the failure is reported

  EXPECT_TRUE(pedal.Snapshot().firmware.empty());
  EXPECT_FALSE(streams.FirmwareRunning());
  EXPECT_FALSE(editor->Session().connected.load());
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages.back(), kFirmwareErrorText);
  EXPECT_TRUE(window.GroupHidden(std::string(kGroupFirmwareUpdate)));
  EXPECT_FALSE(window.disabledGroups[std::string(kGroupMain)]);
}

TEST_F(FirmwareUpdateTest, ImageWithinOneChunkIsTakenWhole) {
  const Bytes image = Image(kSmallImageSize);
  ChooseImage(image);
  Tick(2);
  ASSERT_EQ(link.sent.size(), 3u);
  EXPECT_EQ(link.sent[2].size(), kFirmwareLastOverhead);  // checksum only
  EXPECT_EQ(pedal.Snapshot().firmware, image);
}

TEST_F(FirmwareUpdateTest, ClosingThePageResumesPollingAndDropsAnAnnouncedImage) {
  ASSERT_TRUE(streams.OnCommand(kCommandFirmwarePage));
  EXPECT_TRUE(editor->Session().connected.load());
  std::ofstream(data / "kr7.bin") << "image";
  ASSERT_TRUE(streams.Firmware().LoadImage(data / "kr7.bin"));
  EXPECT_TRUE(streams.Firmware().ClosePage());
  Deliver();  // the loader's FirmwareReady comes too late
  EXPECT_FALSE(streams.FirmwareRunning());
  link.sent.clear();
  Tick(kPollTicks);
  EXPECT_EQ(SentNames().front(), "GlobalRequest 15");
}

}  // namespace
}  // namespace kr7::test
