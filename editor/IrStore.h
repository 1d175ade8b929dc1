#pragma once
// The local store of impulse responses: the cache files the display draws
// from, the factory WAV files carried by the program, and the name tables.
//
// Folders (see model/DataFolder.h): "Factory IRs" holds the extracted factory
// WAV files and the cache files of the eight factory cabinets; "User IRs"
// holds the cache files of user impulse responses. A cache file is one IR
// image (editor/IrImage.h, exactly 2436 bytes) named "%03d.dat" after its file
// number: k + 1 for factory IR k (cabinet position k + 1), n + 1 for user IR n.
//
// Numbering: user IRs 0..287 in nine banks of 32 (banks 0..7 are the custom
// banks 0..255, bank 8 the pedal's factory bank 256..287). In transfers,
// slots 384 + k stand for factory IR k.
//
// Threading: the window thread extracts, loads names and refreshes; the audio
// thread stores received images and refreshes too. Every file is replaced
// atomically (temporary file renamed into place), so a reader sees the old
// image or the new one, never half of one. The name tables are guarded by a
// mutex and handed out as copies. RefreshDisplay writes only the buffer the
// caller passes.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/IrImage.h"
#include "editor/WavReader.h"
#include "model/DataFolder.h"
#include "model/Parameters.h"
#include "model/UserIrNumbers.h"

namespace kr7 {

inline constexpr int kFactoryIrCount = 8;
// Only these can receive an imported impulse response.
inline constexpr int kWritableUserIrCount = 256;
// A 14-bit slot field below this names a user IR file.
inline constexpr int kFactoryIrSlotBase = 384;
inline constexpr int kFirstFactoryWavResource = 201;
inline constexpr int kFlatPosition = 0;
inline constexpr int kLastCabinetPosition = 8;

// "Empty Slot <row>": what the browser shows for user IR n without a file.
std::string EmptySlotText(int n);

// The factory cabinets as shipped, extracted under these names.
inline constexpr std::array<std::string_view, kFactoryIrCount> kFactoryWavNames = {
    "01-Valvora.wav",   "02-Blond 2x12.wav", "03-Tweed 4x10.wav", "04-Cali 1x12.wav",
    "05-Cali 4x12.wav", "06-Blue 2x12.wav",  "07-Brit 2x12.wav",  "08-Boutique 4x12.wav"};

// Returns the bytes of an embedded resource by id (201..208 for the factory
// WAV files), or nullopt when there is none. The resources library supplies
// it; tests pass their own.
using FactoryWavProvider =
    std::function<std::optional<std::span<const std::uint8_t>>(int resourceId)>;

// What the display refresh needs to know about cabinet positions 7 and 8.
struct IrSelection {
  int irModeA = 0;    // value of "IR Mode" 40: 0 plays factory cabinet 7
  int irModeB = 0;    // value of "IR Mode" 41: 0 plays factory cabinet 8
  int userSlotA = 0;  // user IR played at position 7 when irModeA is not 0
  int userSlotB = 0;  // user IR played at position 8 when irModeB is not 0
};

class IrStore {
 public:
  explicit IrStore(const DataFolder& folder);
  IrStore(std::string factoryFolder, std::string userFolder);
  IrStore(const IrStore&) = delete;
  IrStore& operator=(const IrStore&) = delete;

  // "%03d.dat"
  static std::string CacheFileName(int fileNumber);
  const std::string& FactoryFolder() const { return mFactoryFolder; }
  const std::string& UserFolder() const { return mUserFolder; }
  std::string FactoryIrPath(int k) const;
  std::string UserIrPath(int n) const;
  std::string FactoryWavPath(int k) const;
  // The cache file a transfer slot writes: factory IR (slot mod 128) for
  // slots 384..391, user IR slot for 0..383; empty for any other slot.
  std::string SlotPath(int slot) const;

  // True when the cache file can be opened for reading.
  bool FactoryIrPresent(int k) const;
  bool UserIrPresent(int n) const;

  // Writes the 1200 samples of the cache file into entries 0..1199 of buffer
  // (the others are kept). A missing file or one that is not exactly 2436
  // bytes changes nothing; returns whether anything was loaded.
  bool LoadFactoryIr(int k, IrDisplayBuffer& buffer) const;
  bool LoadUserIr(int n, IrDisplayBuffer& buffer) const;

  // Reads the name of factory IR k into cabinet name k + 1; false (name kept)
  // when the file is missing or too short to hold a name.
  bool LoadFactoryIrName(int k);
  // Reads the name of user IR n, or "Empty Slot %d" with (n mod 32) + 1 when
  // the file is missing or too short to hold a name. Returns the new name.
  std::string LoadUserIrName(int n);
  // Start-up: the names of every present factory IR and of all user IRs.
  void LoadAllNames();

  // Position 0..8: the built-in text, or the name read from the cache.
  std::string CabinetName(int position) const;
  std::string UserIrName(int n) const;
  void SetUserIrName(int n, std::string_view name);
  // Names of the user IRs that positions 7 (A) and 8 (B) play.
  std::string SourceName(bool sourceB) const;
  void SetSourceName(bool sourceB, std::string_view name);

  // An image received from the pedal for a transfer slot: replaces the cache
  // file and, for a factory slot, reloads that cabinet's name. Anything but
  // a whole 2436-byte image, or a slot outside 0..391, is refused so that a
  // broken transfer cannot replace a good file.
  bool StoreReceivedIr(int slot, std::span<const std::uint8_t> image);
  // An image built by the editor (WAV import, preset-file import).
  bool StoreIrImage(int slot, const IrImage& image);

  // Writes each factory WAV file that is not already in the factory folder
  // from the provider's resource 200 + position. An existing file is never
  // replaced. Returns the number of files written.
  int ExtractFactoryWavs(const FactoryWavProvider& provider);

  // The display response for value v of parameter "IR" (limited to 0..127):
  // x = floor(v / 127 * 80) / 10 in single precision; 0 is a unit impulse,
  // otherwise the buffer starts as the impulse, takes position floor(x) and,
  // between positions, is blended (ceil(x) - x) : (x - floor(x)) with
  // position ceil(x) loaded over a copy of it. A position loads its cache
  // file (samples 0..1199 only), else for a factory cabinet its WAV file
  // (which clears the buffer first), else nothing. Afterwards the caller,
  // with a window, selects block 4 unless it is selected or the applying
  // flag is set, and hands the buffer to the IR graph. The buffer passes
  // through intermediate states: refresh into a buffer of your own and
  // publish it when another thread may read it.
  void RefreshDisplay(int v, const IrSelection& selection, IrDisplayBuffer& buffer) const;

 private:
  bool LoadImageFile(const std::string& path, IrDisplayBuffer& buffer) const;
  // Loads cabinet position 1..8 into buffer as the refresh defines it.
  void LoadPosition(int position, const IrSelection& selection, IrDisplayBuffer& buffer) const;
  bool WriteImage(int slot, std::span<const std::uint8_t> image);

  std::string mFactoryFolder;
  std::string mUserFolder;

  mutable std::mutex mNamesMutex;
  std::array<std::string, kNumCabinets> mCabinetNames;
  std::array<std::string, kUserIrCount> mUserIrNames;
  std::array<std::string, 2> mSourceNames;
};

}  // namespace kr7
