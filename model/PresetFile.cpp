#include "model/PresetFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/DataFolder.h"
#include "model/FileIO.h"

namespace kr7 {

namespace {

constexpr char kSpace = ' ';
constexpr double kMaxStoredValue = 255.0;
// Below this a "User IR Preset MSB" names the preset's own user IRs.
constexpr int kOwnSlotMsbLimit = 2;
constexpr int kOwnSlotMsbA = 0;
constexpr int kOwnSlotMsbB = 1;

void WriteField(std::vector<std::uint8_t>& out, std::size_t offset, std::string_view text) {
  std::fill_n(out.begin() + offset, kPresetFileTextSize, kSpace);
  const std::size_t count = std::min(text.size(), kPresetFileTextSize);
  std::copy_n(text.begin(), count, out.begin() + offset);
}

int SignedByte(std::uint8_t b) { return static_cast<std::int8_t>(b); }

std::span<const std::uint8_t> Field(std::span<const std::uint8_t> file, std::size_t offset) {
  return file.subspan(offset, kPresetFileTextSize);
}

int Target(int msb, int lsb) { return msb * kUserIrNumbersPerMsb + lsb; }

std::vector<std::uint8_t> BlockAt(std::span<const std::uint8_t> file, std::size_t offset) {
  const auto block = file.subspan(offset, kPresetFileIrBlockSize);
  return {block.begin(), block.end()};
}

}  // namespace

// ---- paths ------------------------------------------------------------------

bool FitsRememberedPath(std::string_view path) { return path.size() < kRememberedPathCapacity; }

std::string PresetFileStem(std::string_view path) {
  std::string_view file = path.substr(FileNameStart(path));
  const std::size_t dot = file.rfind('.');
  if (dot != std::string_view::npos) file = file.substr(0, dot);
  return std::string(file);
}

std::string ExportSuggestion(std::string_view rememberedPath, std::string_view presetName) {
  const std::size_t name = FileNameStart(rememberedPath);
  if (name == 0) return std::string(presetName);
  return std::string(rememberedPath.substr(0, name)) + std::string(presetName);
}

// ---- export -----------------------------------------------------------------

std::vector<std::uint8_t> BuildPresetFileHeader(std::string_view stem,
                                                const PresetExportInput& input) {
  std::vector<std::uint8_t> header(kPresetFileHeaderSize, 0);
  std::copy(kPresetFileMagic.begin(), kPresetFileMagic.end(), header.begin() + kPresetFileMagicOffset);
  header[kPresetFileMajorOffset] = kPresetFileMajor;
  header[kPresetFileMinorOffset] = kPresetFileMinor;
  for (int i = 0; i < kNumPresetParams; ++i) {
    const double value = std::trunc(input.parameterValues[i]);
    header[kPresetFileValuesOffset + i] =
        static_cast<std::uint8_t>(std::isnan(value) ? 0.0 : std::clamp(value, 0.0, kMaxStoredValue));
  }
  WriteField(header, kPresetFileNameOffset, stem);
  WriteField(header, kPresetFileIrNameAOffset,
             input.editValues[kParamIrModeA] > 0 ? std::string_view(input.irNameA) : "");
  WriteField(header, kPresetFileIrNameBOffset,
             input.editValues[kParamIrModeB] > 0 ? std::string_view(input.irNameB) : "");
  return header;
}

std::optional<std::vector<std::uint8_t>> ReadUserIrBlock(const std::string& userIrFolder, int msb,
                                                         int lsb) {
  const int number = Target(msb, lsb);
  if (msb > 1 || number < 0) return std::nullopt;
  char name[32];
  std::snprintf(name, sizeof name, "%03d.dat", number + 1);
  FileReader reader(JoinPath(userIrFolder, name));
  if (!reader.IsOpen() || reader.Size() != kPresetFileIrBlockSize) return std::nullopt;
  std::vector<std::uint8_t> block = reader.ReadAll(kPresetFileIrBlockSize);
  if (block.size() != kPresetFileIrBlockSize) return std::nullopt;
  return block;
}

std::vector<std::uint8_t> BuildPresetFile(std::string_view stem, const PresetExportInput& input,
                                          const std::string& userIrFolder) {
  std::vector<std::uint8_t> file = BuildPresetFileHeader(stem, input);
  const PresetValues& ev = input.editValues;
  auto append = [&](int mode, int msb, int lsb) {
    if (ev[mode] <= 0) return;
    if (auto block = ReadUserIrBlock(userIrFolder, ev[msb], ev[lsb])) {
      file.insert(file.end(), block->begin(), block->end());
    }
  };
  append(kParamIrModeA, kParamUserIrAMsb, kParamUserIrA);
  append(kParamIrModeB, kParamUserIrBMsb, kParamUserIrB);
  return file;
}

PresetExportResult ExportPresetFile(const std::string& path, const PresetExportInput& input,
                                    const std::string& userIrFolder) {
  PresetExportResult result;
  result.presetName = PresetFileStem(path);
  const std::vector<std::uint8_t> file = BuildPresetFile(result.presetName, input, userIrFolder);
  result.written = WriteFileAtomically(path, file.data(), file.size());
  result.size = result.written ? file.size() : 0;
  return result;
}

// ---- import -----------------------------------------------------------------

std::optional<std::vector<std::uint8_t>> ReadPresetFileImage(const std::string& path) {
  FileReader reader(path);
  if (!reader.IsOpen() || reader.Size() >= kPresetFileReadLimit) return std::nullopt;
  std::vector<std::uint8_t> file = reader.ReadAll(kPresetFileReadLimit);
  // The size may have grown since opening; the limit still holds.
  if (file.size() >= kPresetFileReadLimit) return std::nullopt;
  return file;
}

PresetFileCheck CheckPresetFile(std::span<const std::uint8_t> file) {
  if (file.size() < kPresetFileHeaderSize ||
      !std::equal(kPresetFileMagic.begin(), kPresetFileMagic.end(), file.begin())) {
    return PresetFileCheck::kUnknownFormat;
  }
  if (file.size() != kPresetFileHeaderSize && file.size() != kPresetFileOneIrSize &&
      file.size() != kPresetFileTwoIrSize) {
    return PresetFileCheck::kUnknownFormat;
  }
  const int version = 10 * SignedByte(file[kPresetFileMajorOffset]) + SignedByte(file[kPresetFileMinorOffset]);
  return version > kPresetFileNewestVersion ? PresetFileCheck::kUnsupportedVersion
                                            : PresetFileCheck::kOk;
}

bool AsksOverwriteUserIr(std::span<const std::uint8_t> file, int editValue40, int editValue41) {
  if (file.size() < kPresetFileHeaderSize) return false;
  const auto fileValue = [&](int index) { return SignedByte(file[kPresetFileValuesOffset + index]); };
  if (editValue40 > 0) return fileValue(kParamIrModeA) > 0;
  if (editValue41 > 0) return fileValue(kParamIrModeB) > 0;
  return false;
}

PresetFileContents DecodePresetFile(std::span<const std::uint8_t> file, int currentPreset) {
  PresetFileContents contents;
  if (file.size() < kPresetFileHeaderSize) return contents;
  for (int i = 0; i < kNumPresetParams; ++i) {
    contents.values[i] = SignedByte(file[kPresetFileValuesOffset + i]);
  }
  PresetValues& v = contents.values;
  if (v[kParamUserIrAMsb] < kOwnSlotMsbLimit) {
    v[kParamUserIrAMsb] = kOwnSlotMsbA;
    v[kParamUserIrA] = currentPreset;
  }
  if (v[kParamUserIrBMsb] < kOwnSlotMsbLimit) {
    v[kParamUserIrBMsb] = kOwnSlotMsbB;
    v[kParamUserIrB] = currentPreset;
  }
  contents.name = ReadTrimmedTextField(Field(file, kPresetFileNameOffset));
  if (v[kParamIrModeA] > 0) contents.irNameA = ReadTrimmedTextField(Field(file, kPresetFileIrNameAOffset));
  if (v[kParamIrModeB] > 0) contents.irNameB = ReadTrimmedTextField(Field(file, kPresetFileIrNameBOffset));
  return contents;
}

bool PresetFileState::Remember(std::string_view path) {
  if (!FitsRememberedPath(path)) return false;
  mRememberedPath = std::string(path);
  return true;
}

PresetImportPlan PresetFileState::BeginUploads(std::span<const std::uint8_t> file,
                                               const PresetValues& values, bool connected) {
  mFirstWaiting = false;
  mSecondWaiting = false;
  mSecond.reset();
  PresetImportPlan plan;

  std::vector<PresetFileIrUpload> wanted;
  // Only whole blocks are read; a file of any other size carries none.
  if (file.size() == kPresetFileOneIrSize || file.size() == kPresetFileTwoIrSize) {
    const bool a = values[kParamIrModeA] > 0;
    const bool b = values[kParamIrModeB] > 0;
    const auto writable = [](int target) { return target >= 0 && target < kPresetFileWritableIrCount; };
    const int targetA = Target(values[kParamUserIrAMsb], values[kParamUserIrA]);
    const int targetB = Target(values[kParamUserIrBMsb], values[kParamUserIrB]);
    if (a && writable(targetA)) {
      wanted.push_back({BlockAt(file, kPresetFileFirstBlockOffset), targetA, false});
    }
    if (b && writable(targetB)) {
      // With both sources on, B's block follows A's; a 2698-byte file holds
      // only one block, which then serves both.
      const std::size_t offset = a && file.size() == kPresetFileTwoIrSize
                                     ? kPresetFileSecondBlockOffset
                                     : kPresetFileFirstBlockOffset;
      wanted.push_back({BlockAt(file, offset), targetB, true});
    }
  }

  if (!connected) {
    plan.uploads = std::move(wanted);
    return plan;
  }
  if (wanted.empty()) {
    plan.storePresetNow = true;
    return plan;
  }
  mFirstWaiting = true;
  plan.uploads.push_back(std::move(wanted.front()));
  if (wanted.size() > 1) {
    mSecondWaiting = true;
    mSecond = std::move(wanted[1]);
  }
  return plan;
}

IrStoredAction PresetFileState::OnIrStoredAck() {
  if (mFirstWaiting) {
    mFirstWaiting = false;
    return mSecondWaiting ? IrStoredAction::kContinueImport : IrStoredAction::kStorePreset;
  }
  if (mSecondWaiting) {
    mSecondWaiting = false;
    mSecond.reset();
    return IrStoredAction::kStorePreset;
  }
  return IrStoredAction::kRefreshOnly;
}

std::optional<PresetFileIrUpload> PresetFileState::SecondStageUpload() {
  std::optional<PresetFileIrUpload> second = std::move(mSecond);
  mSecond.reset();
  return second;
}

}  // namespace kr7
