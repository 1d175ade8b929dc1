#include "model/PresetCache.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/DataFolder.h"
#include "model/Parameters.h"
#include "tests/model/FileBytes.h"

namespace {

using kr7::kPayloadNameOffset;
using kr7::kPayloadTextSize;
using kr7::kPresetPayloadSize;
using kr7::PresetCache;
using kr7::PresetChecksum;
using kr7::test::Exists;
using kr7::test::ReadBytes;
using kr7::test::TempFolder;
using kr7::test::WriteBytes;

using Bytes = std::vector<std::uint8_t>;

constexpr int kPatchOffsetZero = 0;  // "PATCH OFFSET" 0-127
constexpr int kPatchOffsetOne = 1;   // "PATCH OFFSET" 1-128
constexpr std::size_t kParamBytes = 34;  // payload byte of parameter 0

// A payload as the pedal sends it: 01 00, the name padded with spaces, the
// parameter bytes, zeros after.
Bytes MakePayload(const std::string& name, std::uint8_t level = 0) {
  Bytes payload(kPresetPayloadSize, 0);
  payload[0] = 0x01;
  payload[1] = 0x00;
  std::memset(&payload[kPayloadNameOffset], ' ', kPayloadTextSize);
  std::memcpy(&payload[kPayloadNameOffset], name.data(),
              std::min(name.size(), kPayloadTextSize));
  payload[kParamBytes + kr7::kParamLevel] = level;
  return payload;
}

std::string Padded(const std::string& name) {
  return name + std::string(kPayloadTextSize - name.size(), ' ');
}

class PresetCacheTest : public ::testing::Test {
 protected:
  PresetCacheTest() : mFolder(mTemp / "KR7Control"), mCache(mFolder) {}

  void CreateFolders() { ASSERT_TRUE(mFolder.CreateAll()); }
  void PutSlot(int slot, const Bytes& bytes) { WriteBytes(mCache.SlotPath(slot), bytes); }
  // What the editor does with a fetched or saved payload: the tables, then
  // the file; true when both took it.
  bool StoreFetched(int slot, const Bytes& payload, PresetChecksum checksum, int patchOffset) {
    return mCache.RecordFetched(slot, payload, checksum, patchOffset) && mCache.WriteSlotFile(slot, payload);
  }
  bool StoreSaved(int slot, const Bytes& payload, PresetChecksum checksum) {
    return mCache.RecordSaved(slot, payload, checksum) && mCache.WriteSlotFile(slot, payload);
  }

  TempFolder mTemp;
  kr7::DataFolder mFolder;
  PresetCache mCache;
};

TEST(PresetCacheFormat, SlotFileNames) {
  EXPECT_EQ(PresetCache::SlotFileName(0), "001.dat");
  EXPECT_EQ(PresetCache::SlotFileName(98), "099.dat");
  EXPECT_EQ(PresetCache::SlotFileName(127), "128.dat");
}

TEST(PresetCacheFormat, ChecksumIsFourteenBitSumSplitInSevenBitHalves) {
  Bytes payload = MakePayload("AB");
  // Sum: 0x01 (byte 0) + 0x00 (byte 1) + 'A' 65 + 'B' 66 + 30 spaces x 32 =
  // 1092 = 8 x 128 + 68; every other byte is zero.
  EXPECT_EQ(PresetCache::ComputeChecksum(payload), (PresetChecksum{8, 68}));
  // 256 bytes of 0xFF: 65280 = 0xFF00, 0x3F00 in 14 bits -> high 0x7E, low 0x00.
  const Bytes full(kPresetPayloadSize, 0xFF);
  EXPECT_EQ(PresetCache::ComputeChecksum(full), (PresetChecksum{0x7E, 0x00}));
  EXPECT_EQ(PresetCache::ComputeChecksum(Bytes(kPresetPayloadSize, 0)),
            (PresetChecksum{0, 0}));
}

TEST(PresetCacheFormat, NameEndsAtZeroAndIsAtMost32) {
  Bytes payload = MakePayload("Crunch");
  payload[kPayloadNameOffset + 3] = 0x00;
  EXPECT_EQ(PresetCache::PayloadName(payload), "Cru");
  const std::string full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";  // 32 characters
  Bytes whole = MakePayload(full);
  whole[kPayloadNameOffset + kPayloadTextSize] = 'X';  // parameter 0 byte
  EXPECT_EQ(PresetCache::PayloadName(whole), full);
  EXPECT_EQ(PresetCache::PayloadName(Bytes(10, 'A')), "");
}

TEST(PresetCacheFormat, ListTextHasLeadingAndTrailingSpace) {
  EXPECT_EQ(PresetCache::FormatListText(0, "Name"), " 00 Name");
  EXPECT_EQ(PresetCache::FormatListText(7, ""), " 07 ");
  EXPECT_EQ(PresetCache::FormatListText(128, "X"), " 128 X");
}

TEST_F(PresetCacheTest, StartsWithOnlySlotZeroStale) {
  EXPECT_TRUE(mCache.IsStale(0));
  EXPECT_EQ(mCache.StaleCount(), 1);
  EXPECT_EQ(mCache.LowestStaleSlot(), 0);
  EXPECT_EQ(mCache.Checksum(0), (PresetChecksum{0, 0}));
}

TEST_F(PresetCacheTest, RebuildWithMissingFolderShowsNumbersOnly) {
  mCache.RebuildBySlot(kPatchOffsetZero);
  EXPECT_EQ(mCache.ListText(0), " 00 ");
  EXPECT_EQ(mCache.ListText(9), " 09 ");
  EXPECT_EQ(mCache.ListText(127), " 127 ");
  mCache.RebuildBySlot(kPatchOffsetOne);
  EXPECT_EQ(mCache.ListText(0), " 01 ");
  EXPECT_EQ(mCache.ListText(127), " 128 ");
}

TEST_F(PresetCacheTest, RebuildReadsValidFilesAndSkipsWrongSizes) {
  CreateFolders();
  const Bytes crunchy = MakePayload("Crunchy", 100);
  PutSlot(1, crunchy);
  Bytes shortFile = MakePayload("Short");
  shortFile.resize(kPresetPayloadSize - 1);
  PutSlot(2, shortFile);
  Bytes longFile = MakePayload("Long");
  longFile.push_back(0);
  PutSlot(3, longFile);
  PutSlot(4, Bytes(kPresetPayloadSize, 0));

  mCache.RebuildBySlot(kPatchOffsetZero);
  EXPECT_EQ(mCache.ListText(0), " 00 ");
  EXPECT_EQ(mCache.ListText(1), " 01 " + Padded("Crunchy"));
  EXPECT_EQ(mCache.Checksum(1), PresetCache::ComputeChecksum(crunchy));
  EXPECT_EQ(mCache.ListText(2), " 02 ");
  EXPECT_EQ(mCache.Checksum(2), (PresetChecksum{0, 0}));
  EXPECT_EQ(mCache.ListText(3), " 03 ");
  EXPECT_EQ(mCache.Checksum(3), (PresetChecksum{0, 0}));
  // A payload of zeros has an empty name and the same checksum as no file.
  EXPECT_EQ(mCache.ListText(4), " 04 ");
  EXPECT_EQ(mCache.Checksum(4), mCache.Checksum(0));

  mCache.RebuildBySlot(kPatchOffsetOne);
  EXPECT_EQ(mCache.ListText(1), " 02 " + Padded("Crunchy"));
}

TEST_F(PresetCacheTest, CompareMarksExactlyTheDifferingSlots) {
  CreateFolders();
  PutSlot(0, MakePayload("Zero"));
  PutSlot(5, MakePayload("Five"));
  mCache.RebuildBySlot(kPatchOffsetZero);

  std::array<std::uint8_t, PresetCache::kDeviceChecksumsSize> device{};
  for (int s = 0; s < PresetCache::kNumSlots; ++s) {
    const PresetChecksum own = mCache.Checksum(s);
    device[2 * s] = own.high;
    device[2 * s + 1] = own.low;
  }
  EXPECT_EQ(mCache.CompareWithDevice(device), 0);
  EXPECT_FALSE(mCache.IsStale(0));  // the start-up mark is replaced
  EXPECT_EQ(mCache.LowestStaleSlot(), -1);

  device[2 * 5 + 1] ^= 0x01;  // slot 5: low byte differs
  device[2 * 100] = 0x33;     // slot 100: high byte differs
  EXPECT_EQ(mCache.CompareWithDevice(device), 2);
  for (int s = 0; s < PresetCache::kNumSlots; ++s) {
    EXPECT_EQ(mCache.IsStale(s), s == 5 || s == 100) << s;
  }
  EXPECT_EQ(mCache.LowestStaleSlot(), 5);
}

TEST_F(PresetCacheTest, CompareIgnoresShortBlock) {
  const std::array<std::uint8_t, 10> shortBlock{};
  EXPECT_EQ(mCache.CompareWithDevice(shortBlock), 0);
  EXPECT_TRUE(mCache.IsStale(0));
}

TEST_F(PresetCacheTest, StoreFetchedWritesFileAndClearsStale) {
  CreateFolders();
  const Bytes payload = MakePayload("Lead", 77);
  const PresetChecksum checksum = PresetCache::ComputeChecksum(payload);
  std::array<std::uint8_t, PresetCache::kDeviceChecksumsSize> device{};
  device[2 * 9] = checksum.high;
  device[2 * 9 + 1] = checksum.low;
  ASSERT_EQ(mCache.CompareWithDevice(device), 1);

  EXPECT_TRUE(StoreFetched(9, payload, checksum, kPatchOffsetZero));
  EXPECT_EQ(ReadBytes(mFolder.Presets() + "/010.dat"), payload);
  EXPECT_FALSE(mCache.IsStale(9));
  EXPECT_EQ(mCache.Checksum(9), checksum);
  EXPECT_EQ(mCache.ListText(9), " 09 " + Padded("Lead"));

  EXPECT_TRUE(StoreFetched(9, payload, checksum, kPatchOffsetOne));
  EXPECT_EQ(mCache.ListText(9), " 10 " + Padded("Lead"));
  // What was stored is what the next comparison agrees with.
  EXPECT_EQ(mCache.CompareWithDevice(device), 0);
}

TEST_F(PresetCacheTest, StoreFetchedCreatesAMissingPresetFolder) {
  const Bytes payload = MakePayload("New");
  EXPECT_TRUE(StoreFetched(0, payload, PresetCache::ComputeChecksum(payload),
                                  kPatchOffsetZero));
  EXPECT_EQ(ReadBytes(mCache.SlotPath(0)), payload);
}

TEST_F(PresetCacheTest, StoreFetchedUnwritableStillUpdatesTables) {
  WriteBytes(mTemp / "KR7Control", {0});  // a file where the folder should be
  const Bytes payload = MakePayload("Lost");
  const PresetChecksum checksum = PresetCache::ComputeChecksum(payload);
  EXPECT_FALSE(StoreFetched(0, payload, checksum, kPatchOffsetZero));
  EXPECT_FALSE(mCache.IsStale(0));
  EXPECT_EQ(mCache.Checksum(0), checksum);
  EXPECT_EQ(mCache.ListText(0), " 00 " + Padded("Lost"));
}

TEST_F(PresetCacheTest, StoreRejectsBadSlotAndSize) {
  CreateFolders();
  const Bytes payload = MakePayload("X");
  EXPECT_FALSE(StoreFetched(-1, payload, {}, kPatchOffsetZero));
  EXPECT_FALSE(StoreFetched(PresetCache::kNumSlots, payload, {}, kPatchOffsetZero));
  EXPECT_FALSE(StoreSaved(PresetCache::kNumSlots, payload, {}));
  Bytes shortPayload = payload;
  shortPayload.pop_back();
  EXPECT_FALSE(StoreFetched(0, shortPayload, {1, 1}, kPatchOffsetZero));
  EXPECT_TRUE(mCache.IsStale(0));
  EXPECT_EQ(mCache.Checksum(0), (PresetChecksum{0, 0}));
  EXPECT_FALSE(Exists(mCache.SlotPath(0)));
}

TEST_F(PresetCacheTest, StoreSavedLeavesListTextToTheDecoder) {
  CreateFolders();
  mCache.SetListText(3, " 03 Decoded");
  mCache.SetStale(3, true);
  const Bytes payload = MakePayload("Saved");
  const PresetChecksum checksum = PresetCache::ComputeChecksum(payload);
  EXPECT_TRUE(StoreSaved(3, payload, checksum));
  EXPECT_EQ(ReadBytes(mCache.SlotPath(3)), payload);
  EXPECT_EQ(mCache.Checksum(3), checksum);
  EXPECT_FALSE(mCache.IsStale(3));
  EXPECT_EQ(mCache.ListText(3), " 03 Decoded");
}

TEST_F(PresetCacheTest, ClearDeletesOnlyExactDatFiles) {
  CreateFolders();
  PutSlot(0, MakePayload("Gone"));
  const std::string presets = mFolder.Presets();
  WriteBytes(presets + "/x.dat.bak", {1});
  WriteBytes(presets + "/y.DAT", {2});
  WriteBytes(presets + "/notes.txt", {3});
  ASSERT_TRUE(kr7::CreateFolder(presets + "/sub.dat"));
  WriteBytes(presets + "/sub.dat/inner.dat", {4});
  WriteBytes(mFolder.UserIrs() + "/001.dat", {5});
  WriteBytes(mFolder.FactoryIrs() + "/384.dat", {6});
  WriteBytes(mFolder.FactoryIrs() + "/cab.wav", {7});
  WriteBytes(mFolder.File("002.dat"), {8});  // the base folder is not cleared

  EXPECT_EQ(mCache.Clear(), 3);
  EXPECT_FALSE(Exists(mCache.SlotPath(0)));
  EXPECT_FALSE(Exists(mFolder.UserIrs() + "/001.dat"));
  EXPECT_FALSE(Exists(mFolder.FactoryIrs() + "/384.dat"));
  EXPECT_TRUE(Exists(presets + "/x.dat.bak"));
  EXPECT_TRUE(Exists(presets + "/y.DAT"));
  EXPECT_TRUE(Exists(presets + "/notes.txt"));
  EXPECT_TRUE(Exists(presets + "/sub.dat/inner.dat"));
  EXPECT_TRUE(Exists(mFolder.FactoryIrs() + "/cab.wav"));
  EXPECT_TRUE(Exists(mFolder.File("002.dat")));
}

TEST_F(PresetCacheTest, ClearThenRebuildResetsListAndChecksums) {
  CreateFolders();
  PutSlot(2, MakePayload("Two"));
  mCache.RebuildBySlot(kPatchOffsetZero);
  ASSERT_NE(mCache.Checksum(2), (PresetChecksum{0, 0}));
  mCache.Clear();
  mCache.RebuildBySlot(kPatchOffsetZero);
  EXPECT_EQ(mCache.ListText(2), " 02 ");
  EXPECT_EQ(mCache.Checksum(2), (PresetChecksum{0, 0}));
}

TEST_F(PresetCacheTest, ClearWithoutFoldersDoesNothing) {
  EXPECT_EQ(mCache.Clear(), 0);
}

TEST_F(PresetCacheTest, DirectoryLoadWithoutFirstFileCreatesFolderAndStops) {
  EXPECT_FALSE(Exists(mFolder.Presets()));
  const PresetCache::DirectoryLoad load = mCache.LoadInDirectoryOrder(kPatchOffsetZero);
  EXPECT_FALSE(load.folderScanned);
  EXPECT_EQ(load.filesCounted, 0);
  EXPECT_TRUE(Exists(mFolder.Presets()));

  PutSlot(1, MakePayload("Only"));  // "002.dat" but no "001.dat"
  mCache.SetListText(0, "unchanged");
  EXPECT_FALSE(mCache.LoadInDirectoryOrder(kPatchOffsetZero).folderScanned);
  EXPECT_EQ(mCache.ListText(0), "unchanged");
}

TEST_F(PresetCacheTest, DirectoryLoadNumbersFilesInNameOrder) {
  CreateFolders();
  PutSlot(2, MakePayload("Third"));
  PutSlot(0, MakePayload("First"));
  PutSlot(1, MakePayload("Second"));
  WriteBytes(mFolder.Presets() + "/004.DAT", MakePayload("Capital"));
  WriteBytes(mFolder.Presets() + "/readme", {1});

  const PresetCache::DirectoryLoad load = mCache.LoadInDirectoryOrder(kPatchOffsetOne);
  EXPECT_TRUE(load.folderScanned);
  EXPECT_EQ(load.filesCounted, 3);
  EXPECT_EQ(mCache.ListText(0), " 01 " + Padded("First"));
  EXPECT_EQ(mCache.ListText(1), " 02 " + Padded("Second"));
  EXPECT_EQ(mCache.ListText(2), " 03 " + Padded("Third"));
  EXPECT_EQ(mCache.ListText(3), "");  // the capital-extension file is not loaded
  EXPECT_EQ(mCache.Checksum(0), (PresetChecksum{0, 0}));  // table left alone
}

TEST_F(PresetCacheTest, DirectoryLoadCountsBeyondTheSlots) {
  CreateFolders();
  const Bytes payload = MakePayload("P");
  for (int s = 0; s < PresetCache::kNumSlots + 2; ++s) {
    PutSlot(s, payload);
  }
  const PresetCache::DirectoryLoad load = mCache.LoadInDirectoryOrder(kPatchOffsetZero);
  EXPECT_EQ(load.filesCounted, PresetCache::kNumSlots + 2);
  EXPECT_EQ(mCache.ListText(PresetCache::kNumSlots - 1), " 127 " + Padded("P"));
}

TEST_F(PresetCacheTest, OutOfRangeAccessorsAreHarmless) {
  EXPECT_EQ(mCache.ListText(-1), "");
  EXPECT_EQ(mCache.ListText(PresetCache::kNumSlots), "");
  EXPECT_FALSE(mCache.IsStale(PresetCache::kNumSlots));
  EXPECT_EQ(mCache.Checksum(-1), (PresetChecksum{0, 0}));
  mCache.SetStale(-1, true);
  mCache.SetListText(PresetCache::kNumSlots, "x");
  EXPECT_EQ(mCache.StaleCount(), 1);
}

}  // namespace
