#include "model/PresetFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "model/DataFolder.h"
#include "model/FileIO.h"
#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

using FileBytes = std::vector<std::uint8_t>;

constexpr int kCurrentPreset = 17;
constexpr bool kConnected = true;
constexpr bool kDisconnected = false;

std::string Text(const FileBytes& f, std::size_t offset) {
  return std::string(f.begin() + offset, f.begin() + offset + kPresetFileTextSize);
}

std::string Padded(std::string_view text) {
  std::string s(text);
  s.resize(kPresetFileTextSize, ' ');
  return s;
}

FileBytes ReadAll(const std::string& path) { return FileReader(path).ReadAll(1 << 16); }

// A user IR cache file; the preset file carries it byte for byte, so a
// filler that tells the two blocks apart is all it needs.
using IrImage = std::array<std::uint8_t, kPresetFileIrBlockSize>;

IrImage UserImage(std::uint8_t filler) {
  IrImage image;
  image.fill(filler);
  return image;
}

class PresetFileTest : public ::testing::Test {
 protected:
  PresetFileTest() : mData(mFolder.Path()) {
    EXPECT_TRUE(mData.CreateAll());
    for (int i = 0; i < kNumPresetParams; ++i) mInput.parameterValues[i] = 64.0;
    mInput.irNameA = "Left Cab";
    mInput.irNameB = "Right Cab";
  }

  void StoreUserIr(int number, const IrImage& image) {
    const std::string path = JoinPath(mData.UserIrs(), IrFileName(number));
    ASSERT_TRUE(WriteFileAtomically(path, image.data(), image.size()));
  }
  static std::string IrFileName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", number + 1);
    return name;
  }
  PresetExportResult Export(const std::string& name) {
    return ExportPresetFile(mFolder / name, mInput, mData.UserIrs());
  }
  // Both sources play user IRs 5 and 128 + 9.
  void SelectUserIrs() {
    mInput.editValues[kParamIrModeA] = 1;
    mInput.editValues[kParamUserIrAMsb] = 0;
    mInput.editValues[kParamUserIrA] = 5;
    mInput.editValues[kParamIrModeB] = 1;
    mInput.editValues[kParamUserIrBMsb] = 1;
    mInput.editValues[kParamUserIrB] = 9;
  }

  test::TempFolder mFolder;
  DataFolder mData;
  PresetExportInput mInput;
  PresetFileState mState;
};

// ---- export -------------------------------------------------------------------

TEST_F(PresetFileTest, SevenCharacterFileNameFillsTheNameField) {
  const PresetExportResult r = Export("Crunchy.r3p");
  ASSERT_TRUE(r.written);
  EXPECT_EQ(r.presetName, "Crunchy");
  const FileBytes f = ReadAll(mFolder / "Crunchy.r3p");
  ASSERT_EQ(f.size(), kPresetFileHeaderSize);
  EXPECT_EQ(Text(f, kPresetFileNameOffset), "Crunchy" + std::string(25, ' '));
}

TEST_F(PresetFileTest, FortyCharacterFileNameIsCutInTheFileOnly) {
  const std::string stem = "A very long preset name of forty chars!!";
  ASSERT_EQ(stem.size(), 40u);
  const PresetExportResult r = Export(stem + ".r3p");
  ASSERT_TRUE(r.written);
  EXPECT_EQ(r.presetName, stem);  // the name field shows it whole
  const FileBytes f = ReadAll(mFolder / (stem + ".r3p"));
  EXPECT_EQ(Text(f, kPresetFileNameOffset), stem.substr(0, 32));
}

TEST_F(PresetFileTest, HeaderLayout) {
  mInput.parameterValues[kParamLevel] = 300.7;   // limited to 255
  mInput.parameterValues[kParamGain] = -3.0;     // limited to 0
  mInput.parameterValues[kParamDrive] = 99.9;    // integer part
  const FileBytes f = BuildPresetFileHeader("Name", mInput);
  ASSERT_EQ(f.size(), kPresetFileHeaderSize);
  EXPECT_EQ(f[0], 'R');  // magic
  EXPECT_EQ(f[1], 'X');
  EXPECT_EQ(f[2], 'A');
  EXPECT_EQ(f[3], 'P');
  EXPECT_EQ(f[kPresetFileMajorOffset], 1);
  EXPECT_EQ(f[kPresetFileMinorOffset], 0);
  EXPECT_EQ(f[kPresetFileValuesOffset + kParamLevel], 255);
  EXPECT_EQ(f[kPresetFileValuesOffset + kParamGain], 0);
  EXPECT_EQ(f[kPresetFileValuesOffset + kParamDrive], 99);
  EXPECT_EQ(f[kPresetFileValuesOffset + kParamPresetLevel], 64);
  for (std::size_t i = kPresetFileValuesOffset + kNumPresetParams; i < kPresetFileIrNameAOffset; ++i) {
    ASSERT_EQ(f[i], 0) << i;  // the 95-byte gap
  }
  // "IR Mode" 40 and 41 at 0: the IR name fields are spaces.
  EXPECT_EQ(Text(f, kPresetFileIrNameAOffset), std::string(32, ' '));
  EXPECT_EQ(Text(f, kPresetFileIrNameBOffset), std::string(32, ' '));
}

TEST_F(PresetFileTest, ExportCarriesTheUserIrsThatExist) {
  SelectUserIrs();
  const IrImage a = UserImage(0x25);
  const IrImage b = UserImage(0xDB);
  StoreUserIr(5, a);
  EXPECT_EQ(Export("one.r3p").size, kPresetFileOneIrSize);  // B's file missing
  StoreUserIr(128 + 9, b);
  ASSERT_EQ(Export("two.r3p").size, kPresetFileTwoIrSize);
  const FileBytes f = ReadAll(mFolder / "two.r3p");
  EXPECT_EQ(Text(f, kPresetFileIrNameAOffset), Padded("Left Cab"));
  EXPECT_EQ(Text(f, kPresetFileIrNameBOffset), Padded("Right Cab"));
  EXPECT_TRUE(std::equal(a.begin(), a.end(), f.begin() + kPresetFileFirstBlockOffset));
  EXPECT_TRUE(std::equal(b.begin(), b.end(), f.begin() + kPresetFileSecondBlockOffset));
}

TEST_F(PresetFileTest, MsbAboveOneWritesTheNameButNoBlock) {
  SelectUserIrs();
  mInput.editValues[kParamIrModeB] = 0;
  mInput.editValues[kParamUserIrAMsb] = 2;
  StoreUserIr(2 * 128 + 5, UserImage(0x25));
  const PresetExportResult r = Export("msb.r3p");
  EXPECT_EQ(r.size, kPresetFileHeaderSize);
  EXPECT_EQ(Text(ReadAll(mFolder / "msb.r3p"), kPresetFileIrNameAOffset), Padded("Left Cab"));
}

TEST_F(PresetFileTest, WrongSizedUserIrFilesAreLeftOut) {
  SelectUserIrs();
  mInput.editValues[kParamIrModeB] = 0;
  const FileBytes shortFile(kPresetFileIrBlockSize - 1, 1);
  ASSERT_TRUE(WriteFileAtomically(JoinPath(mData.UserIrs(), IrFileName(5)), shortFile.data(),
                                  shortFile.size()));
  EXPECT_EQ(Export("short.r3p").size, kPresetFileHeaderSize);
}

TEST_F(PresetFileTest, ExportReplacesAFileOnlyWhenComplete) {
  const std::string path = mFolder / "keep.r3p";
  const FileBytes old = {1, 2, 3};
  ASSERT_TRUE(WriteFileAtomically(path, old.data(), old.size()));
  ASSERT_TRUE(Export("keep.r3p").written);
  EXPECT_EQ(ReadAll(path).size(), kPresetFileHeaderSize);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  // A folder that does not exist: nothing written, nothing else changes.
  const PresetExportResult failed = ExportPresetFile(mFolder / "no/such/x.r3p", mInput, mData.UserIrs());
  EXPECT_FALSE(failed.written);
}

// ---- paths --------------------------------------------------------------------

TEST(PresetFilePaths, StemAndSuggestion) {
  EXPECT_EQ(PresetFileStem("/home/me/presets/Clean.Tone.r3p"), "Clean.Tone");
  EXPECT_EQ(PresetFileStem("C:\\presets\\Lead.r3p"), "Lead");
  EXPECT_EQ(PresetFileStem("NoExtension"), "NoExtension");
  EXPECT_EQ(ExportSuggestion("/home/me/presets/old.r3p", "Clean"), "/home/me/presets/Clean");
  EXPECT_EQ(ExportSuggestion("", "Clean"), "Clean");
}

TEST(PresetFilePaths, TooLongPathsAreRefusedNotCut) {
  PresetFileState state;
  const std::string fits(kRememberedPathCapacity - 1, 'p');
  const std::string tooLong(kRememberedPathCapacity, 'q');
  EXPECT_TRUE(state.Remember(fits));
  EXPECT_FALSE(FitsRememberedPath(tooLong));
  EXPECT_FALSE(state.Remember(tooLong));
  EXPECT_EQ(state.RememberedPath(), fits);
}

// ---- import -------------------------------------------------------------------

FileBytes Header() {
  PresetExportInput input;
  for (int i = 0; i < kNumPresetParams; ++i) input.parameterValues[i] = i;
  // Factory cabinets at both positions, user IR numbers 0.
  for (int i : {kParamIrModeA, kParamIrModeB, kParamUserIrAMsb, kParamUserIrA, kParamUserIrBMsb,
                kParamUserIrB}) {
    input.parameterValues[i] = 0;
  }
  return BuildPresetFileHeader("Imported", input);
}

TEST(PresetFileImport, AcceptsOnlyTheThreeSizes) {
  for (std::size_t size : {kPresetFileHeaderSize, kPresetFileOneIrSize, kPresetFileTwoIrSize}) {
    FileBytes f = Header();
    f.resize(size);
    EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kOk) << size;
  }
  for (std::size_t size : {std::size_t{0}, std::size_t{261}, std::size_t{263}, std::size_t{2697},
                           std::size_t{2699}, std::size_t{5133}, std::size_t{5135}}) {
    FileBytes f = Header();
    f.resize(size);
    EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kUnknownFormat) << size;
  }
  FileBytes wrongMagic = Header();
  wrongMagic[3] = 'X';
  EXPECT_EQ(CheckPresetFile(wrongMagic), PresetFileCheck::kUnknownFormat);
}

TEST(PresetFileImport, VersionOnePointOneRefusedZeroPointNineAccepted) {
  FileBytes f = Header();
  f[kPresetFileMajorOffset] = 1;
  f[kPresetFileMinorOffset] = 1;
  EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kUnsupportedVersion);
  f[kPresetFileMajorOffset] = 0;
  f[kPresetFileMinorOffset] = 9;
  EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kOk);
  f[kPresetFileMajorOffset] = 2;
  f[kPresetFileMinorOffset] = 0;
  EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kUnsupportedVersion);
}

TEST(PresetFileImport, LargeFilesAreIgnored) {
  test::TempFolder folder;
  const FileBytes big(kPresetFileReadLimit, 0);
  const FileBytes small = Header();
  ASSERT_TRUE(WriteFileAtomically(folder / "big.r3p", big.data(), big.size()));
  ASSERT_TRUE(WriteFileAtomically(folder / "small.r3p", small.data(), small.size()));
  EXPECT_FALSE(ReadPresetFileImage(folder / "big.r3p"));
  EXPECT_FALSE(ReadPresetFileImage(folder / "missing.r3p"));
  EXPECT_EQ(ReadPresetFileImage(folder / "small.r3p"), small);
}

TEST(PresetFileImport, OwnSlotRuleIntoSlotSeventeen) {
  FileBytes f = Header();
  f[kPresetFileValuesOffset + kParamUserIrAMsb] = 0;  // byte 91
  f[kPresetFileValuesOffset + kParamUserIrA] = 99;    // byte 92
  f[kPresetFileValuesOffset + kParamUserIrBMsb] = 0;  // byte 93
  f[kPresetFileValuesOffset + kParamUserIrB] = 99;    // byte 94
  PresetFileContents c = DecodePresetFile(f, kCurrentPreset);
  EXPECT_EQ(c.values[kParamUserIrAMsb], 0);
  EXPECT_EQ(c.values[kParamUserIrA], kCurrentPreset);
  EXPECT_EQ(c.values[kParamUserIrBMsb], 1);
  EXPECT_EQ(c.values[kParamUserIrB], kCurrentPreset);

  f[kPresetFileValuesOffset + kParamUserIrAMsb] = 5;
  f[kPresetFileValuesOffset + kParamUserIrBMsb] = 0xFF;  // -1 as a signed byte
  c = DecodePresetFile(f, kCurrentPreset);
  EXPECT_EQ(c.values[kParamUserIrAMsb], 5);
  EXPECT_EQ(c.values[kParamUserIrA], 99);
  EXPECT_EQ(c.values[kParamUserIrBMsb], 1);
  EXPECT_EQ(c.values[kParamUserIrB], kCurrentPreset);
}

TEST(PresetFileImport, ValuesAreSignedBytesAndNamesTrimmed) {
  FileBytes f = Header();
  f[kPresetFileValuesOffset + kParamLevel] = 0xFE;
  f[kPresetFileValuesOffset + kParamIrModeA] = 1;
  std::copy_n("Left", 4, f.begin() + kPresetFileIrNameAOffset);
  const PresetFileContents c = DecodePresetFile(f, kCurrentPreset);
  EXPECT_EQ(c.values[kParamLevel], -2);
  EXPECT_EQ(c.values[kParamGain], kParamGain);
  EXPECT_EQ(c.name, "Imported");
  ASSERT_TRUE(c.irNameA);
  EXPECT_EQ(*c.irNameA, "Left");
  EXPECT_FALSE(c.irNameB);
}

TEST(PresetFileImport, OverwriteQuestion) {
  FileBytes f = Header();
  f[kPresetFileValuesOffset + kParamIrModeA] = 0;
  f[kPresetFileValuesOffset + kParamIrModeB] = 1;
  EXPECT_FALSE(AsksOverwriteUserIr(f, 1, 1));  // 40 decides alone when it is on
  EXPECT_TRUE(AsksOverwriteUserIr(f, 0, 1));
  EXPECT_FALSE(AsksOverwriteUserIr(f, 0, 0));
  f[kPresetFileValuesOffset + kParamIrModeA] = 1;
  EXPECT_TRUE(AsksOverwriteUserIr(f, 1, 0));
}

TEST_F(PresetFileTest, RoundTripThroughAFile) {
  SelectUserIrs();
  for (int i = 0; i < kNumPresetParams; ++i) mInput.parameterValues[i] = (i * 7) % 128;
  mInput.parameterValues[kParamIrModeA] = 1;
  mInput.parameterValues[kParamIrModeB] = 1;
  mInput.parameterValues[kParamUserIrAMsb] = 0;
  mInput.parameterValues[kParamUserIrBMsb] = 1;
  StoreUserIr(5, UserImage(0x25));
  StoreUserIr(128 + 9, UserImage(0xDB));
  ASSERT_TRUE(Export("round.r3p").written);
  const std::optional<FileBytes> f = ReadPresetFileImage(mFolder / "round.r3p");
  ASSERT_TRUE(f);
  ASSERT_EQ(CheckPresetFile(*f), PresetFileCheck::kOk);
  const PresetFileContents c = DecodePresetFile(*f, kCurrentPreset);
  EXPECT_EQ(c.name, "round");
  EXPECT_EQ(*c.irNameA, "Left Cab");
  EXPECT_EQ(*c.irNameB, "Right Cab");
  for (int i = 0; i < kNumPresetParams; ++i) {
    if (i >= kParamUserIrAMsb && i <= kParamUserIrB) continue;  // the own-slot rule
    EXPECT_EQ(c.values[i], static_cast<int>(mInput.parameterValues[i])) << i;
  }
}

// ---- uploads and acknowledgements ----------------------------------------------------

FileBytes TwoIrFile(int modeA, int modeB, std::size_t size = kPresetFileTwoIrSize) {
  FileBytes f = Header();
  f[kPresetFileValuesOffset + kParamIrModeA] = static_cast<std::uint8_t>(modeA);
  f[kPresetFileValuesOffset + kParamIrModeB] = static_cast<std::uint8_t>(modeB);
  f.resize(size, 0xAA);
  if (size == kPresetFileTwoIrSize) {
    std::fill(f.begin() + kPresetFileSecondBlockOffset, f.end(), 0xBB);
  }
  return f;
}

// The import's plan for file as decoded into the current preset.
PresetImportPlan Plan(PresetFileState& state, const FileBytes& f, bool connected) {
  return state.BeginUploads(f, DecodePresetFile(f, kCurrentPreset).values, connected);
}

TEST(PresetFileUploads, ConnectedTwoIrsUploadOneAfterTheOther) {
  PresetFileState state;
  const FileBytes f = TwoIrFile(1, 1);
  const PresetFileContents c = DecodePresetFile(f, kCurrentPreset);
  const PresetImportPlan plan = state.BeginUploads(f, c.values, kConnected);
  EXPECT_FALSE(plan.storePresetNow);
  ASSERT_EQ(plan.uploads.size(), 1u);
  EXPECT_EQ(plan.uploads[0].target, kCurrentPreset);
  EXPECT_EQ(plan.uploads[0].block.size(), kPresetFileIrBlockSize);
  EXPECT_EQ(plan.uploads[0].block.front(), 0xAA);
  EXPECT_TRUE(state.FirstWaiting());
  EXPECT_TRUE(state.SecondWaiting());

  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kContinueImport);
  const std::optional<PresetFileIrUpload> second = state.SecondStageUpload();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->target, 128 + kCurrentPreset);
  EXPECT_TRUE(second->sourceB);
  EXPECT_EQ(second->block.front(), 0xBB);
  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kStorePreset);
  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kRefreshOnly);
}

TEST(PresetFileUploads, OneIrStoresThePresetAfterItsAcknowledgement) {
  PresetFileState state;
  const FileBytes f = TwoIrFile(0, 1, kPresetFileOneIrSize);
  const PresetImportPlan plan = Plan(state, f, kConnected);
  ASSERT_EQ(plan.uploads.size(), 1u);
  EXPECT_TRUE(plan.uploads[0].sourceB);
  EXPECT_EQ(plan.uploads[0].target, 128 + kCurrentPreset);
  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kStorePreset);
}

TEST(PresetFileUploads, OneBlockWithBothSourcesServesBoth) {
  PresetFileState state;
  const FileBytes f = TwoIrFile(1, 1, kPresetFileOneIrSize);
  const PresetImportPlan plan = Plan(state, f, kConnected);
  ASSERT_EQ(plan.uploads.size(), 1u);
  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kContinueImport);
  const auto second = state.SecondStageUpload();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->block, plan.uploads[0].block);
}

TEST(PresetFileUploads, HeaderOnlyStoresThePresetAtOnceWhenConnected) {
  PresetFileState state;
  const FileBytes f = Header();
  const PresetFileContents c = DecodePresetFile(f, kCurrentPreset);
  EXPECT_TRUE(state.BeginUploads(f, c.values, kConnected).storePresetNow);
  // Disconnected: the editor changes, nothing goes anywhere.
  const PresetImportPlan offline = state.BeginUploads(f, c.values, kDisconnected);
  EXPECT_FALSE(offline.storePresetNow);
  EXPECT_TRUE(offline.uploads.empty());
  EXPECT_FALSE(state.FirstWaiting());
}

TEST(PresetFileUploads, DisconnectedStoresBothLocallyWithoutWaiting) {
  PresetFileState state;
  const FileBytes f = TwoIrFile(1, 1);
  const PresetImportPlan plan = Plan(state, f, kDisconnected);
  ASSERT_EQ(plan.uploads.size(), 2u);
  EXPECT_FALSE(plan.storePresetNow);
  EXPECT_FALSE(state.FirstWaiting());
  EXPECT_FALSE(state.SecondWaiting());
  EXPECT_EQ(state.OnIrStoredAck(), IrStoredAction::kRefreshOnly);
}

TEST(PresetFileUploads, TargetsOutsideTheWritableIrsAreLeftOut) {
  PresetFileState state;
  FileBytes f = TwoIrFile(1, 0, kPresetFileOneIrSize);
  f[kPresetFileValuesOffset + kParamUserIrAMsb] = 5;  // kept: user IR 5 * 128 + LSB
  const PresetImportPlan plan = Plan(state, f, kConnected);
  EXPECT_TRUE(plan.uploads.empty());
  EXPECT_TRUE(plan.storePresetNow);
}

TEST(PresetFileUploads, OddSizedFilesUploadNothing) {
  PresetFileState state;
  FileBytes f = TwoIrFile(1, 1, 3000);  // between the sizes: refused by the check too
  EXPECT_EQ(CheckPresetFile(f), PresetFileCheck::kUnknownFormat);
  EXPECT_TRUE(Plan(state, f, kConnected).uploads.empty());
  EXPECT_TRUE(Plan(state, f, kDisconnected).uploads.empty());
}

TEST(PresetFileUploads, BlocksWithoutAnIrModeStoreThePreset) {
  PresetFileState state;
  const FileBytes f = TwoIrFile(0, 0);
  const PresetImportPlan plan = Plan(state, f, kConnected);
  EXPECT_TRUE(plan.uploads.empty());
  EXPECT_TRUE(plan.storePresetNow);
}

}  // namespace
}  // namespace kr7
