#pragma once
// The on-disk cache of the pedal's 128 preset slots and the tables that go
// with it.
//
// File layout: <data>/Presets/NNN.dat, NNN = "%03d" of slot + 1 (slot 0 is
// "001.dat"), holding exactly the 256 payload bytes of the slot, nothing
// before or after. A file of any other size is treated as missing.
//
// In memory the cache keeps, per slot, the two checksum bytes (high 7 bits,
// low 7 bits of the 14-bit sum of the payload), the stale flag (the slot must
// be fetched from the pedal) and the preset-list text (" %02d " + name). The
// cache never touches a control: callers read the texts and push them to the
// view themselves.
//
// Threading: every method may be called from any thread. The tables are
// guarded by a short internal mutex (file I/O happens outside it), which
// covers the audio thread storing fetched payloads while the UI thread reads
// list texts. Operations are not atomic as a whole: a rebuild racing with a
// store may leave either one's result for the slot both touched.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "model/DataFolder.h"
#include "model/PresetChecksum.h"
#include "model/PresetPayload.h"

namespace kr7 {

class PresetCache {
 public:
  static constexpr int kNumSlots = 128;
  // Contents of the pedal's checksum block: slot s at 2s (high), 2s + 1 (low).
  static constexpr std::size_t kDeviceChecksumsSize = 2 * kNumSlots;

  explicit PresetCache(DataFolder folder);
  PresetCache(const PresetCache&) = delete;
  PresetCache& operator=(const PresetCache&) = delete;

  const DataFolder& Folder() const { return mFolder; }
  // Full path of the cache file of slot (0..127).
  std::string SlotPath(int slot) const;

  // Reads every slot file by slot number and refills the list texts and the
  // checksum table. A missing, unreadable or wrong-size file yields a
  // number-only text and checksum (0, 0). The number shown for slot s is
  // s + 1 when patchOffset (value of "PATCH OFFSET") is non-zero, else s.
  void RebuildBySlot(int patchOffset);

  struct DirectoryLoad {
    bool folderScanned = false;  // false: "001.dat" was absent; folder created
    int filesCounted = 0;        // ".dat" files found, including beyond 128
  };
  // Lists the preset folder and sets list entry n from the n-th ".dat" file
  // (extension exact, case-sensitive), n < 128, numbered n + patchOffset.
  // Names are taken in byte-wise sorted order so that the position matches
  // the slot number whenever the files are complete. The checksum table is
  // not touched. When "001.dat" cannot be opened the preset folder is
  // created and nothing else happens. Callers leave fetch mode when
  // filesCounted >= 128.
  DirectoryLoad LoadInDirectoryOrder(int patchOffset);

  // Compares the pedal's 256 checksum bytes with the table and sets each
  // slot's stale flag accordingly. Returns the number of stale slots; fewer
  // than 256 bytes marks nothing and returns 0.
  int CompareWithDevice(std::span<const std::uint8_t> deviceChecksums);

  // A payload fetched in fetch mode (its message checksum already checked by
  // the caller): records the checksum, clears the stale flag and sets the
  // list text to " %02d " from slot + patchOffset plus the name. The caller
  // writes the file with WriteSlotFile; the tables are updated even when that
  // fails, so the slot is not fetched again in this run. False without any
  // change for a bad slot or a payload of other than 256 bytes.
  bool RecordFetched(int slot, std::span<const std::uint8_t> payload, PresetChecksum checksum,
                     int patchOffset);
  // The current preset after a confirmed save: checksum and stale flag (the
  // file as above). The list text is the decoder's business and is left alone.
  bool RecordSaved(int slot, std::span<const std::uint8_t> payload, PresetChecksum checksum);
  // Replaces the slot's file whole; false when it could not be written.
  bool WriteSlotFile(int slot, std::span<const std::uint8_t> payload) const;

  // Deletes every regular file whose extension is exactly ".dat" in the
  // preset, user-IR and factory-IR folders; other files and sub-folders stay.
  // Tables are untouched: callers rebuild afterwards. Returns the number of
  // files deleted.
  int Clear();

  // --- Tables ----------------------------------------------------------------
  PresetChecksum Checksum(int slot) const;   // (0, 0) outside 0..127
  bool IsStale(int slot) const;              // false outside 0..127
  void SetStale(int slot, bool stale);       // ignored outside 0..127
  int StaleCount() const;
  int LowestStaleSlot() const;               // -1 when none
  std::string ListText(int slot) const;      // empty outside 0..127
  std::array<std::string, kNumSlots> ListTexts() const;
  // For the payload decoder, which renames the entry of the slot it applies.
  void SetListText(int slot, std::string text);

  // --- Helpers shared with the payload code --------------------------------
  // The 14-bit sum of the payload bytes, split into its two 7-bit halves.
  static PresetChecksum ComputeChecksum(std::span<const std::uint8_t> payload);
  // Bytes 2..33 up to the first 0x00; empty for a short payload.
  static std::string PayloadName(std::span<const std::uint8_t> payload);
  // " %02d " from number, followed by name.
  static std::string FormatListText(int number, std::string_view name);
  // "%03d.dat" from slot + 1.
  static std::string SlotFileName(int slot);

 private:
  static bool IsSlot(int slot) { return slot >= 0 && slot < kNumSlots; }

  DataFolder mFolder;
  mutable std::mutex mMutex;
  std::array<PresetChecksum, kNumSlots> mChecksums{};
  std::array<bool, kNumSlots> mStale{};
  std::array<std::string, kNumSlots> mListTexts;
};

}  // namespace kr7
