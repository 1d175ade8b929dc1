#include "editor/EditorState.h"

#include <utility>

#include "device/Messages.h"
#include "model/PresetPayload.h"

namespace kr7 {

EditorState::EditorState() {
  mRowColours.fill(kPresetRowColour);
  // Slot 0 is the highlighted slot until a dump names another.
  mRowColours[0] = kPresetRowHighlightColour;
  for (int i = 0; i < kProgramMapSize; ++i) programMap[static_cast<std::size_t>(i)].store(i);
}

void EditorState::SetPresetName(std::string name) {
  std::lock_guard lock(mTextMutex);
  mPresetName = std::move(name);
}

std::string EditorState::PresetName() const {
  std::lock_guard lock(mTextMutex);
  return mPresetName;
}

void EditorState::SetUserIrNameA(std::string name) {
  std::lock_guard lock(mTextMutex);
  mUserIrNameA = std::move(name);
}

std::string EditorState::UserIrNameA() const {
  std::lock_guard lock(mTextMutex);
  return mUserIrNameA;
}

void EditorState::SetUserIrNameB(std::string name) {
  std::lock_guard lock(mTextMutex);
  mUserIrNameB = std::move(name);
}

std::string EditorState::UserIrNameB() const {
  std::lock_guard lock(mTextMutex);
  return mUserIrNameB;
}

void EditorState::SetPresetRowColour(int slot, igraphics::Colour colour) {
  if (!IsSlot(slot)) return;
  {
    std::lock_guard lock(mTextMutex);
    mRowColours[static_cast<std::size_t>(slot)] = colour;
  }
  MarkPresetRowDirty(slot);
}

igraphics::Colour EditorState::PresetRowColour(int slot) const {
  if (!IsSlot(slot)) return kPresetRowColour;
  std::lock_guard lock(mTextMutex);
  return mRowColours[static_cast<std::size_t>(slot)];
}

void EditorState::MarkPresetRowDirty(int slot) {
  if (IsSlot(slot)) mPresetRowDirty[static_cast<std::size_t>(slot)].store(true);
}

void EditorState::MarkAllRowsDirty() {
  for (auto& dirty : mPresetRowDirty) dirty.store(true);
  for (auto& dirty : mUserIrRowDirty) dirty.store(true);
}

bool EditorState::TakePresetRowDirty(int slot) {
  return IsSlot(slot) && mPresetRowDirty[static_cast<std::size_t>(slot)].exchange(false);
}

void EditorState::SetUserIrRow(int row, std::string text) {
  if (!IsRow(row)) return;
  {
    std::lock_guard lock(mTextMutex);
    mUserIrRows[static_cast<std::size_t>(row)] = std::move(text);
  }
  mUserIrRowDirty[static_cast<std::size_t>(row)].store(true);
}

std::string EditorState::UserIrRow(int row) const {
  if (!IsRow(row)) return {};
  std::lock_guard lock(mTextMutex);
  return mUserIrRows[static_cast<std::size_t>(row)];
}

bool EditorState::TakeUserIrRowDirty(int row) {
  return IsRow(row) && mUserIrRowDirty[static_cast<std::size_t>(row)].exchange(false);
}

Bytes BuildPresetStore(const EditorState& editor, int slot) {
  PresetValues values{};
  for (int i = 0; i < kNumPresetParams; ++i) {
    values[static_cast<std::size_t>(i)] = editor.editValues[static_cast<std::size_t>(i)].load();
  }
  const PresetPayload payload = EncodePresetPayload(values, editor.PresetName(),
                                                    editor.UserIrNameA(), editor.UserIrNameB());
  return build::PresetStore(static_cast<std::uint8_t>(slot), payload);
}

}  // namespace kr7
