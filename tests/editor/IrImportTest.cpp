#include "editor/IrImport.h"

#include <gtest/gtest.h>

#include "model/FileIO.h"
#include "tests/editor/WavBytes.h"
#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

constexpr bool kConnected = true;
constexpr bool kDisconnected = false;
constexpr int kSlot = 17;

class IrImportTest : public ::testing::Test {
 protected:
  IrImportTest()
      : mStore(mFolder / "Factory IRs", mFolder / "User IRs"),
        mImporter(mStore, [this](const IrUpload& u) { return mUploads.push_back(u), true; }) {}

  std::string WriteWav(const std::string& name, const test::Bytes& bytes) {
    const std::string path = mFolder / name;
    EXPECT_TRUE(WriteFileAtomically(path, bytes.data(), bytes.size()));
    return path;
  }

  std::vector<std::uint8_t> Cached(int n) { return FileReader(mStore.UserIrPath(n)).ReadAll(1 << 16); }

  test::TempFolder mFolder;
  IrStore mStore;
  std::vector<IrUpload> mUploads;
  IrImporter mImporter;
  IrDisplayBuffer mBuffer{};
};

TEST_F(IrImportTest, ImportUploadsWhenConnectedAndStoresOnceThePedalDid) {
  const std::string path = WriteWav("My Cab 4x12.wav", test::Mono16({16384, -16384}));
  const WavImportResult r = mImporter.ImportWav(path, kSlot, kConnected, mBuffer);
  ASSERT_EQ(r.status, WavImportStatus::kImported);
  EXPECT_EQ(mImporter.LastWavPath(), path);
  EXPECT_EQ(r.stored.name, "My Cab 4x12");
  EXPECT_FALSE(r.stored.stored);
  EXPECT_TRUE(r.stored.uploadStarted);
  EXPECT_FALSE(mStore.UserIrPresent(kSlot));  // until the pedal stored it
  EXPECT_EQ(mImporter.TakeStored().value().image, r.stored.image);
  ASSERT_EQ(mUploads.size(), 1u);
  EXPECT_EQ(mUploads[0].slot, kSlot);
  EXPECT_EQ(mUploads[0].packed.data.size(), kIrPackedSize);
  EXPECT_EQ(mBuffer[0], 0.5);
}

TEST_F(IrImportTest, DisconnectedImportOnlyStores) {
  const std::string path = WriteWav("a.wav", test::Mono16({100}));
  const WavImportResult r = mImporter.ImportWav(path, kSlot, kDisconnected, mBuffer);
  EXPECT_EQ(r.status, WavImportStatus::kImported);
  EXPECT_TRUE(r.stored.stored);
  EXPECT_FALSE(r.stored.uploadStarted);
  EXPECT_TRUE(mUploads.empty());
  EXPECT_EQ(Cached(kSlot).size(), kIrImageSize);
}

TEST_F(IrImportTest, UnusableFileStoresAndSendsNothing) {
  const std::string path = WriteWav("broken.wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
  mBuffer.fill(0.125);
  const WavImportResult r = mImporter.ImportWav(path, kSlot, kConnected, mBuffer);
  EXPECT_EQ(r.status, WavImportStatus::kUnusableFile);
  EXPECT_EQ(r.wavStatus, WavStatus::kNoFormat);
  EXPECT_EQ(mBuffer[0], 0.125);
  EXPECT_TRUE(mUploads.empty());
  EXPECT_FALSE(mStore.UserIrPresent(kSlot));
  EXPECT_EQ(mImporter.LastWavPath(), path);  // the next dialog still starts there
}

TEST_F(IrImportTest, EmptyPathAndUnwritableSlots) {
  EXPECT_EQ(mImporter.ImportWav("", kSlot, kConnected, mBuffer).status, WavImportStatus::kNoPath);
  EXPECT_EQ(mImporter.LastWavPath(), "");
  const std::string path = WriteWav("b.wav", test::Mono16({100}));
  EXPECT_EQ(mImporter.ImportWav(path, kWritableUserIrCount, kConnected, mBuffer).status,
            WavImportStatus::kSlotNotWritable);
  EXPECT_TRUE(mUploads.empty());
}

TEST_F(IrImportTest, FactorySlotsStoreIntoTheFactoryFolder) {
  mBuffer[0] = 0.5;
  const StoredIr r = mImporter.StoreAndUpload(mBuffer, PadIrName("New Tweed"), kFactoryIrSlotBase + 2,
                                              kDisconnected);
  EXPECT_TRUE(r.stored);
  EXPECT_TRUE(mStore.FactoryIrPresent(2));
  EXPECT_EQ(r.name, "New Tweed");
}

TEST_F(IrImportTest, BlockLoadsScaleNameAndSamples) {
  IrDisplayBuffer source{};
  source[0] = 1.0;
  source[5] = -0.5;
  const IrImage image = BuildIrImage(source, "Block");
  mBuffer.fill(0.75);
  const IrBlockContents c = LoadIrBlock(image, mBuffer);
  // energy 1.25: g = 1.2 / (sqrt 1.25 * sqrt 2) = 0.758946..., stored 24869
  EXPECT_EQ(c.scale, 24869 / 32768.0);
  EXPECT_EQ(c.name, "Block" + std::string(27, ' '));
  EXPECT_EQ(mBuffer[0], 32767 / 32768.0);  // 1.0 was limited on the way in
  EXPECT_EQ(mBuffer[5], -0.5);
  EXPECT_EQ(mBuffer[kIrSampleCount], 0.75);  // beyond the image: kept
  // Rebuilding from the loaded samples gives the same image back.
  EXPECT_EQ(BuildIrImage(mBuffer, c.name), image);
}

}  // namespace
}  // namespace kr7
