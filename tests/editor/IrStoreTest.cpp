#include "editor/IrStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "model/FileIO.h"
#include "tests/editor/WavBytes.h"
#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {


// Cabinet k (position k + 1) is recognisable by its constant sample value.
double CabinetLevel(int position) { return position * 1000 / 32768.0; }

IrImage ConstantImage(double level, std::string_view name) {
  IrDisplayBuffer buffer{};
  for (int i = 0; i < kIrSampleCount; ++i) buffer[i] = level;
  return BuildIrImage(buffer, name);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  ASSERT_TRUE(CreateFolder(std::filesystem::path(path).parent_path().string()));
  ASSERT_TRUE(WriteFileAtomically(path, bytes.data(), bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  FileReader reader(path);
  return reader.ReadAll(1 << 20);
}

class IrStoreTest : public ::testing::Test {
 protected:
  IrStoreTest() : mStore(mFolder / "Factory IRs", mFolder / "User IRs") {}

  void CacheAllCabinets() {
    for (int k = 0; k < kFactoryIrCount; ++k) {
      const IrImage image = ConstantImage(CabinetLevel(k + 1), "cab");
      WriteBytes(mStore.FactoryIrPath(k), {image.begin(), image.end()});
    }
  }

  test::TempFolder mFolder;
  IrStore mStore;
  IrDisplayBuffer mBuffer{};
};

void ExpectImpulse(const IrDisplayBuffer& b) {
  EXPECT_EQ(b[0], 1.0);
  for (int i = 1; i < kIrDisplaySize; ++i) ASSERT_EQ(b[i], 0.0) << i;
}

TEST_F(IrStoreTest, CacheFilesAreNumberedFromOne) {
  EXPECT_EQ(IrStore::CacheFileName(1), "001.dat");
  EXPECT_EQ(IrStore::CacheFileName(288), "288.dat");
  EXPECT_EQ(mStore.FactoryIrPath(0), mFolder / "Factory IRs/001.dat");
  EXPECT_EQ(mStore.UserIrPath(17), mFolder / "User IRs/018.dat");
  EXPECT_EQ(mStore.SlotPath(385), mFolder / "Factory IRs/002.dat");
  EXPECT_EQ(mStore.SlotPath(383), mFolder / "User IRs/384.dat");
  EXPECT_EQ(mStore.SlotPath(392), "");
  EXPECT_EQ(mStore.SlotPath(-1), "");
  EXPECT_EQ(mStore.FactoryWavPath(7), mFolder / "Factory IRs/08-Boutique 4x12.wav");
}

TEST_F(IrStoreTest, ValuesZeroAndOneShowAUnitImpulse) {
  CacheAllCabinets();
  mBuffer.fill(3.0);
  mStore.RefreshDisplay(0, {}, mBuffer);
  ExpectImpulse(mBuffer);
  mBuffer.fill(3.0);
  mStore.RefreshDisplay(1, {}, mBuffer);  // floor(0.63) / 10 = 0.0
  ExpectImpulse(mBuffer);
}

TEST_F(IrStoreTest, ValueTwoBlendsNinetyPercentImpulseWithCabinetOne) {
  CacheAllCabinets();
  mStore.RefreshDisplay(2, {}, mBuffer);  // x = 0.1
  // A = impulse, B = impulse overwritten by cabinet 1 in 0..1199.
  EXPECT_NEAR(mBuffer[0], 0.9 * 1.0 + 0.1 * CabinetLevel(1), 1e-6);
  EXPECT_NEAR(mBuffer[1], 0.1 * CabinetLevel(1), 1e-6);
  EXPECT_NEAR(mBuffer[kIrSampleCount - 1], 0.1 * CabinetLevel(1), 1e-6);
  EXPECT_EQ(mBuffer[kIrSampleCount], 0.0);
}

TEST_F(IrStoreTest, ValueHundredBlendsCabinetsSixAndSeven) {
  CacheAllCabinets();
  mStore.RefreshDisplay(100, {}, mBuffer);  // x = floor(62.99) / 10 = 6.2
  const double expected = 0.8 * CabinetLevel(6) + 0.2 * CabinetLevel(7);
  EXPECT_NEAR(mBuffer[0], expected, 1e-6);
  EXPECT_NEAR(mBuffer[600], expected, 1e-6);
  EXPECT_EQ(mBuffer[kIrSampleCount], 0.0);
}

TEST_F(IrStoreTest, ValueMaxShowsCabinetEightAlone) {
  CacheAllCabinets();
  mStore.RefreshDisplay(127, {}, mBuffer);
  for (int i = 0; i < kIrSampleCount; ++i) ASSERT_EQ(mBuffer[i], CabinetLevel(8)) << i;
  EXPECT_EQ(mBuffer[kIrSampleCount], 0.0);
}

TEST_F(IrStoreTest, ValuesOutsideTheKnobAreLimited) {
  CacheAllCabinets();
  mStore.RefreshDisplay(1000, {}, mBuffer);
  EXPECT_EQ(mBuffer[0], CabinetLevel(8));
  mStore.RefreshDisplay(-5, {}, mBuffer);
  ExpectImpulse(mBuffer);
}

TEST_F(IrStoreTest, UserSourceWithoutCacheBlendsTheCabinetWithItself) {
  CacheAllCabinets();
  IrSelection selection;
  selection.irModeA = 1;
  selection.userSlotA = 40;  // no cache file
  mStore.RefreshDisplay(104, selection, mBuffer);  // x = 6.5
  EXPECT_NEAR(mBuffer[0], CabinetLevel(6), 1e-9);
  EXPECT_NEAR(mBuffer[kIrSampleCount - 1], CabinetLevel(6), 1e-9);
}

TEST_F(IrStoreTest, UserSourcePlaysItsCacheFile) {
  CacheAllCabinets();
  const IrImage user = ConstantImage(0.5, "mine");
  WriteBytes(mStore.UserIrPath(130), {user.begin(), user.end()});
  IrSelection selection;
  selection.irModeB = 1;
  selection.userSlotB = 130;
  mStore.RefreshDisplay(127, selection, mBuffer);
  EXPECT_EQ(mBuffer[0], 0.5);
  selection.irModeB = 0;
  mStore.RefreshDisplay(127, selection, mBuffer);
  EXPECT_EQ(mBuffer[0], CabinetLevel(8));
}

TEST_F(IrStoreTest, CacheFilesOfTheWrongSizeAreIgnored) {
  const IrImage image = ConstantImage(0.5, "x");
  std::vector<std::uint8_t> shorter(image.begin(), image.end() - 1);   // 2435 bytes
  std::vector<std::uint8_t> longer(image.begin(), image.end());
  longer.push_back(0);                                                  // 2437 bytes
  for (const auto& bytes : {shorter, longer}) {
    WriteBytes(mStore.FactoryIrPath(7), bytes);
    mBuffer.fill(3.0);
    EXPECT_FALSE(mStore.LoadFactoryIr(7, mBuffer));
    EXPECT_EQ(mBuffer[0], 3.0);
    mStore.RefreshDisplay(127, {}, mBuffer);  // no WAV either: stays flat
    ExpectImpulse(mBuffer);
  }
}

TEST_F(IrStoreTest, UncachedCabinetsAreReadFromTheirWavFile) {
  const test::Bytes wav = test::Mono16({16384, 8192, -8192});
  std::map<int, test::Bytes> resources;
  for (int id = kFirstFactoryWavResource; id < kFirstFactoryWavResource + kFactoryIrCount; ++id) {
    resources[id] = wav;
  }
  const auto provider = [&](int id) -> std::optional<std::span<const std::uint8_t>> {
    auto it = resources.find(id);
    if (it == resources.end()) return std::nullopt;
    return std::span<const std::uint8_t>(it->second);
  };
  EXPECT_EQ(mStore.ExtractFactoryWavs(provider), kFactoryIrCount);
  mBuffer.fill(3.0);
  mStore.RefreshDisplay(127, {}, mBuffer);
  EXPECT_EQ(mBuffer[0], 0.5);
  EXPECT_EQ(mBuffer[1], 0.25);
  EXPECT_EQ(mBuffer[2], -0.25);
  EXPECT_EQ(mBuffer[3], 0.0);  // the reader clears the whole buffer
}

TEST_F(IrStoreTest, ExtractionNeverReplacesAnExistingFile) {
  const test::Bytes mine = {'m', 'i', 'n', 'e'};
  WriteBytes(mStore.FactoryWavPath(2), mine);
  const test::Bytes wav = test::Mono16({1});
  int asked = 0;
  const auto provider = [&](int id) -> std::optional<std::span<const std::uint8_t>> {
    ++asked;
    if (id == kFirstFactoryWavResource + 5) return std::nullopt;  // a missing resource
    return std::span<const std::uint8_t>(wav);
  };
  EXPECT_EQ(mStore.ExtractFactoryWavs(provider), kFactoryIrCount - 2);
  EXPECT_EQ(asked, kFactoryIrCount - 1);
  EXPECT_EQ(ReadBytes(mStore.FactoryWavPath(2)), mine);
  EXPECT_EQ(ReadBytes(mStore.FactoryWavPath(0)), wav);
  EXPECT_FALSE(FileReader(mStore.FactoryWavPath(5)).IsOpen());
  // A second run finds everything it could write and writes nothing.
  EXPECT_EQ(mStore.ExtractFactoryWavs(provider), 0);
}

TEST_F(IrStoreTest, UserNamesFollowTheTrailingSpaceRule) {
  const IrImage spaces = ConstantImage(0.0, std::string(32, ' '));
  const IrImage padded = ConstantImage(0.0, "Fat Cab");
  WriteBytes(mStore.UserIrPath(3), {spaces.begin(), spaces.end()});
  WriteBytes(mStore.UserIrPath(4), {padded.begin(), padded.end()});
  WriteBytes(mStore.UserIrPath(5), {padded.begin(), padded.begin() + 20});  // too short for a name
  EXPECT_EQ(mStore.LoadUserIrName(3), std::string(32, ' '));
  EXPECT_EQ(mStore.LoadUserIrName(4), "Fat Cab");
  EXPECT_EQ(mStore.LoadUserIrName(5), "Empty Slot 6");
  EXPECT_EQ(mStore.LoadUserIrName(37), "Empty Slot 6");   // 37 mod 32 + 1
  EXPECT_EQ(mStore.LoadUserIrName(287), "Empty Slot 32");
  EXPECT_EQ(mStore.UserIrName(4), "Fat Cab");
  EXPECT_EQ(mStore.LoadUserIrName(288), "");  // outside the table
}

TEST_F(IrStoreTest, FactoryNamesReplaceTheBuiltInTexts) {
  EXPECT_EQ(mStore.CabinetName(8), "BOUTIQUE 4x12");
  EXPECT_FALSE(mStore.LoadFactoryIrName(7));
  EXPECT_EQ(mStore.CabinetName(8), "BOUTIQUE 4x12");
  const IrImage image = ConstantImage(0.0, "Newer Boutique");
  WriteBytes(mStore.FactoryIrPath(7), {image.begin(), image.end()});
  mStore.LoadAllNames();
  EXPECT_EQ(mStore.CabinetName(8), "Newer Boutique");
  EXPECT_EQ(mStore.CabinetName(1), "VALVORA");
  EXPECT_EQ(mStore.UserIrName(0), "Empty Slot 1");
  EXPECT_EQ(mStore.CabinetName(9), "");
}

TEST_F(IrStoreTest, StoresReceivedImagesByTransferSlot) {
  const IrImage user = ConstantImage(0.25, "From pedal");
  EXPECT_TRUE(mStore.StoreReceivedIr(17, user));
  EXPECT_EQ(ReadBytes(mStore.UserIrPath(17)), std::vector<std::uint8_t>(user.begin(), user.end()));

  const IrImage factory = ConstantImage(0.5, "Blonde v2");
  EXPECT_TRUE(mStore.StoreReceivedIr(kFactoryIrSlotBase + 1, factory));
  EXPECT_EQ(ReadBytes(mStore.FactoryIrPath(1)),
            std::vector<std::uint8_t>(factory.begin(), factory.end()));
  EXPECT_EQ(mStore.CabinetName(2), "Blonde v2");
  EXPECT_TRUE(mStore.FactoryIrPresent(1));
  EXPECT_FALSE(mStore.FactoryIrPresent(2));
}

TEST_F(IrStoreTest, BrokenReceivedImagesDoNotReplaceAGoodFile) {
  const IrImage good = ConstantImage(0.25, "Good");
  ASSERT_TRUE(mStore.StoreReceivedIr(9, good));
  const std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 2000);
  EXPECT_FALSE(mStore.StoreReceivedIr(9, truncated));
  EXPECT_EQ(ReadBytes(mStore.UserIrPath(9)), std::vector<std::uint8_t>(good.begin(), good.end()));
  // Slots past the eight factory cabinets name no file and no cabinet.
  EXPECT_FALSE(mStore.StoreReceivedIr(kFactoryIrSlotBase + 8, good));
  EXPECT_FALSE(mStore.StoreReceivedIr(-1, good));
}

}  // namespace
}  // namespace kr7
