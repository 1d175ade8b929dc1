#pragma once
// The editor's own record of the preset it shows and of the lists the window
// draws. The window is write-only, so everything the logic reads back lives
// here: edit and device values, the preset name and user impulse-response
// names the encoder writes, the preset-list colours and the user
// impulse-response browser rows.
//
// Threading: written by the receive handler (audio thread) and by control
// actions (UI thread). Values are atomics; texts sit behind one short lock.
// Rows changed since the window last drew them carry a dirty mark that the
// 20 ms timer takes.

#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "editor/LiveEdit.h"

#include "model/Parameters.h"
#include "model/PresetCache.h"
#include "device/Packing.h"
#include "model/Colour.h"
#include "model/ControlTags.h"

namespace kr7 {

inline constexpr int kNumPresetSlots = PresetCache::kNumSlots;
inline constexpr int kProgramMapSize = 128;

class EditorState {
 public:
  EditorState();
  EditorState(const EditorState&) = delete;
  EditorState& operator=(const EditorState&) = delete;

  // Integer value of each parameter as last set by the editor (entries
  // 0..64 are what PresetStore writes) and as last received in a dump.
  std::array<std::atomic<int>, kNumParams> editValues{};
  std::array<std::atomic<int>, kNumParams> deviceValues{};
  // At least one of the edit values 0..64 differs from the device value.
  std::atomic<bool> presetModified{false};
  // The three above as live editing sees them.
  PresetRecord Record() { return {editValues, deviceValues, presetModified}; }
  // "RXA3 Program" number for each "Controller Program" number.
  std::array<std::atomic<int>, kProgramMapSize> programMap{};

  // Texts of the preset name field (tag 138) and of the user impulse-response
  // names shown for cabinet positions 7 and 8.
  void SetPresetName(std::string name);
  std::string PresetName() const;
  void SetUserIrNameA(std::string name);
  std::string UserIrNameA() const;
  void SetUserIrNameB(std::string name);
  std::string UserIrNameB() const;

  // Preset-list row colours; a change marks the row dirty.
  void SetPresetRowColour(int slot, igraphics::Colour colour);
  igraphics::Colour PresetRowColour(int slot) const;
  // Marks a row whose text changed (the texts live in the preset cache).
  void MarkPresetRowDirty(int slot);
  void MarkAllRowsDirty();
  // True once per change: the row must be drawn again.
  bool TakePresetRowDirty(int slot);

  // Rows of the user impulse-response browser.
  void SetUserIrRow(int row, std::string text);
  std::string UserIrRow(int row) const;
  bool TakeUserIrRowDirty(int row);

 private:
  static bool IsSlot(int slot) { return slot >= 0 && slot < kNumPresetSlots; }
  static bool IsRow(int row) { return row >= 0 && row < kNumUserIrBrowserRows; }

  mutable std::mutex mTextMutex;
  std::string mPresetName;  // guarded by mTextMutex, as are the texts below
  std::string mUserIrNameA;
  std::string mUserIrNameB;
  std::array<igraphics::Colour, kNumPresetSlots> mRowColours;
  std::array<std::string, kNumUserIrBrowserRows> mUserIrRows;

  std::array<std::atomic<bool>, kNumPresetSlots> mPresetRowDirty{};
  std::array<std::atomic<bool>, kNumUserIrBrowserRows> mUserIrRowDirty{};
};

// PresetStore for slot: edit values 0..64, the preset name and the user
// impulse-response names (either thread).
Bytes BuildPresetStore(const EditorState& editor, int slot);

}  // namespace kr7
