#pragma once
// Single-preset files ("r3p"): one preset with the names of the user impulse
// responses it plays and, optionally, those impulse responses themselves.
//
// Layout (little-endian):
//   0..3        magic "RXAP"
//   4, 5        version major 1, minor 0 (files above 1.0 are refused)
//   6..37       preset name, 32 8-bit characters padded with spaces
//   38..102     values of preset parameters 0..64, one byte each
//   103..197    0x00
//   198..229    name of the user IR of cabinet position 7 ("IR Mode" 40 = 1),
//               32 spaces otherwise
//   230..261    the same for position 8 ("IR Mode" 41)
//   262..2697   optional IR image (a user IR cache file, 2436 bytes)
//   2698..5133  optional second IR image
// A file is 262, 2698 or 5134 bytes long; anything else is refused.
//
// Everything here is free of the window and of the pedal. What the caller
// (KR7Control) does around it:
//
// Export
//   1. ExportSuggestion(rememberedPath, preset name field text) for the save
//      dialog (extension "r3p"); stop on cancel or an empty path.
//   2. PresetFileState::Remember(path); when it returns false show
//      kPathTooLongText and stop.
//   3. ExportPresetFile(path, input, user IR folder). When written: the
//      preset name field shows result.presetName and the preset modified
//      flag is cleared. When not written nothing changes.
// Import
//   1. Open dialog (initial file: the remembered path, extension "r3p");
//      stop on cancel or an empty path; Remember(path) as for export.
//   2. ReadPresetFileImage(path); nullopt: stop silently. Clear the local
//      edit flag.
//   3. CheckPresetFile: kUnknownFormat -> pending message
//      kUnknownFileFormatText, set the local edit flag, stop;
//      kUnsupportedVersion -> message box kUnsupportedVersionText, stop.
//   4. Preset modified: ask kPresetNotSavedQuestion (OK/Cancel); Cancel stops.
//   5. AsksOverwriteUserIr(file, edit value 40, edit value 41): ask
//      kOverwriteUserIrQuestion; Cancel stops.
//   6. DecodePresetFile(file, current preset): for each i, with the applying
//      flag set, edit value i = values[i], set parameter i from it and queue
//      it (nothing is sent). Set the preset modified flag (display colour
//      alpha 100), show the name and the IR names present.
//   7. plan = state.BeginUploads(file, values, connected). If
//      plan.storePresetNow send PresetStore. For each entry of plan.uploads:
//      load the block into the IR display buffer (its gain becomes the user
//      IR scale) and store and upload it under its name to entry.target,
//      connected as given (disconnected only stores locally). Set the local
//      edit flag.
// IrStoredAck (receive handler): switch on state.OnIrStoredAck():
//   kContinueImport -> state.SecondStageUpload() and store and upload it;
//   kStorePreset    -> refresh the IR list, send PresetStore;
//   kRefreshOnly    -> refresh the IR list.
//
// Threading: export and import run on the window thread, OnIrStoredAck and
// the second stage on the audio thread. PresetFileState is not locked; the
// pedal's acknowledgements order the two sides (the import has finished
// before the first acknowledgement can arrive).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/PresetPayload.h"
#include "model/UserTexts.h"

namespace kr7 {

inline constexpr std::size_t kPresetFileHeaderSize = 262;
inline constexpr std::size_t kPresetFileIrBlockSize = 2436;
inline constexpr std::size_t kPresetFileOneIrSize = kPresetFileHeaderSize + kPresetFileIrBlockSize;
inline constexpr std::size_t kPresetFileTwoIrSize = kPresetFileOneIrSize + kPresetFileIrBlockSize;
// Files this large are not preset files; they are ignored without a word.
inline constexpr std::size_t kPresetFileReadLimit = 8192;

inline constexpr std::size_t kPresetFileMagicOffset = 0;
inline constexpr std::string_view kPresetFileMagic = "RXAP";
inline constexpr std::size_t kPresetFileMajorOffset = 4;
inline constexpr std::size_t kPresetFileMinorOffset = 5;
inline constexpr std::uint8_t kPresetFileMajor = 1;
inline constexpr std::uint8_t kPresetFileMinor = 0;
// 10 * major + minor above this is refused.
inline constexpr int kPresetFileNewestVersion = 10;
inline constexpr std::size_t kPresetFileNameOffset = 6;
inline constexpr std::size_t kPresetFileTextSize = 32;
inline constexpr std::size_t kPresetFileValuesOffset = 38;
inline constexpr std::size_t kPresetFileIrNameAOffset = 198;
inline constexpr std::size_t kPresetFileIrNameBOffset = 230;
inline constexpr std::size_t kPresetFileFirstBlockOffset = kPresetFileHeaderSize;
inline constexpr std::size_t kPresetFileSecondBlockOffset = kPresetFileOneIrSize;

// The remembered path lives in a 256-byte buffer with its terminator.
inline constexpr std::size_t kRememberedPathCapacity = 256;
// User IR numbers an upload can write.
inline constexpr int kPresetFileWritableIrCount = 256;
inline constexpr int kUserIrNumbersPerMsb = 128;


// ---- paths ------------------------------------------------------------------

// True when path fits the remembered-path buffer (at most 255 bytes).
bool FitsRememberedPath(std::string_view path);
// The file name without its folder (after the last "/" or "\") and without
// its extension (cut before the last "."); not shortened.
std::string PresetFileStem(std::string_view path);
// The save dialog's suggestion: the remembered path's folder (up to its last
// separator, which is kept) followed by the preset name; the preset name
// alone when nothing is remembered.
std::string ExportSuggestion(std::string_view rememberedPath, std::string_view presetName);

// ---- export -----------------------------------------------------------------

struct PresetExportInput {
  // Current values of parameters 0..64; each is stored as its integer part,
  // limited to 0..255.
  std::array<double, kNumPresetParams> parameterValues{};
  // Edit values 0..64: 40/41 choose whether the IR names and blocks go in,
  // 53..56 name the user IRs.
  PresetValues editValues{};
  std::string irNameA;  // text of the cabinet-7 name field
  std::string irNameB;  // text of the cabinet-8 name field
};

// The 262-byte header; the name field holds the first 32 characters of stem.
std::vector<std::uint8_t> BuildPresetFileHeader(std::string_view stem,
                                                const PresetExportInput& input);
// User IR number msb * 128 + lsb of the user IR folder as a block, when the
// msb is at most 1 and the cache file holds exactly 2436 bytes.
std::optional<std::vector<std::uint8_t>> ReadUserIrBlock(const std::string& userIrFolder, int msb,
                                                         int lsb);
// Header plus the blocks of source A and B that exist, in that order.
std::vector<std::uint8_t> BuildPresetFile(std::string_view stem, const PresetExportInput& input,
                                          const std::string& userIrFolder);

struct PresetExportResult {
  bool written = false;
  std::string presetName;  // the stem, shown whole in the preset name field
  std::size_t size = 0;    // 262, 2698 or 5134
};

// Builds the file for path and writes it to a temporary file that replaces
// path only once complete; an existing file is never left half-written.
PresetExportResult ExportPresetFile(const std::string& path, const PresetExportInput& input,
                                    const std::string& userIrFolder);

// ---- import -----------------------------------------------------------------

enum class PresetFileCheck { kOk, kUnknownFormat, kUnsupportedVersion };

// The whole file; nullopt when it cannot be opened or is 8192 bytes or more.
std::optional<std::vector<std::uint8_t>> ReadPresetFileImage(const std::string& path);
// Magic, size (exactly 262, 2698 or 5134) and version (10 * major + minor,
// both signed, at most 10).
PresetFileCheck CheckPresetFile(std::span<const std::uint8_t> file);
// Whether the import must ask before overwriting the selected user IR:
// with edit value 40 above 0 when the file's parameter 40 is above 0, else
// with edit value 41 above 0 when the file's parameter 41 is above 0.
bool AsksOverwriteUserIr(std::span<const std::uint8_t> file, int editValue40, int editValue41);

struct PresetFileContents {
  // Bytes 38..102 read as signed bytes, with the own-slot rule applied: a
  // "User IR7 Preset MSB" below 2 becomes 0 with "User IR7 Preset" = the
  // current preset p, an "User IR8 Preset MSB" below 2 becomes 1 with
  // "User IR8 Preset" = p, so the preset plays user IRs p and 128 + p.
  PresetValues values{};
  std::string name;                    // trailing spaces removed
  std::optional<std::string> irNameA;  // present when the file's parameter 40 > 0
  std::optional<std::string> irNameB;  // likewise 41
};

// A checked file (CheckPresetFile kOk) decoded for the current preset slot.
PresetFileContents DecodePresetFile(std::span<const std::uint8_t> file, int currentPreset);

// One impulse response of an import: the block to load and the user IR
// number to store and upload it to.
struct PresetFileIrUpload {
  std::vector<std::uint8_t> block;  // 2436 bytes
  int target = 0;
  bool sourceB = false;
};

struct PresetImportPlan {
  // Send PresetStore now: connected and no upload started.
  bool storePresetNow = false;
  // Store (and, connected, upload) these in order: connected, only the first
  // (the second follows the acknowledgement); disconnected, all of them,
  // stored locally.
  std::vector<PresetFileIrUpload> uploads;
};

enum class IrStoredAction {
  kRefreshOnly,     // no import waits: refresh the IR list
  kContinueImport,  // upload SecondStageUpload()
  kStorePreset,     // the import's uploads are done: refresh, send PresetStore
};

// The import's state shared with the receive handler: the remembered path,
// the two waiting flags and what the second stage uploads.
class PresetFileState {
 public:
  // Takes path as the remembered path when it fits; otherwise keeps the old
  // one and returns false (the caller shows kPathTooLongText).
  bool Remember(std::string_view path);
  const std::string& RememberedPath() const { return mRememberedPath; }

  // Import steps after the values are applied: which blocks go where.
  // Blocks are taken by position: with "IR Mode" 40 on, the block at 262 is
  // source A's and source B (when 41 is on too) gets the block that follows,
  // or the same block in a 2698-byte file; with only 41 on, source B gets the
  // block at 262. Source A's target is 128 * value 53 + value 54, B's
  // 128 * value 55 + value 56; a target outside the user IRs an upload can
  // write is left out rather than written to another number.
  PresetImportPlan BeginUploads(std::span<const std::uint8_t> file, const PresetValues& values,
                                bool connected);

  // The pedal stored an uploaded impulse response.
  IrStoredAction OnIrStoredAck();
  // The second upload of a connected import (after kContinueImport); taken
  // from the file as it was read, so a later dialog cannot change it.
  std::optional<PresetFileIrUpload> SecondStageUpload();

  bool FirstWaiting() const { return mFirstWaiting; }
  bool SecondWaiting() const { return mSecondWaiting; }

 private:
  std::string mRememberedPath;
  bool mFirstWaiting = false;
  bool mSecondWaiting = false;
  std::optional<PresetFileIrUpload> mSecond;
};

}  // namespace kr7
