#pragma once
// The window's two lists that have no tags: the 128 preset-list rows and the
// 32 rows of the user impulse-response browser. The window keeps direct
// references to those rows, so it offers them to the logic through this
// interface beside its EditorView. Called on the UI thread only, by the
// 20 ms timer, with the rows that changed since it last ran.

#include <string_view>

#include "model/Colour.h"

namespace kr7 {

class ListView {
 public:
  virtual ~ListView() = default;
  virtual void SetPresetRow(int slot, std::string_view text, igraphics::Colour colour) = 0;
  virtual void SetUserIrRow(int row, std::string_view text) = 0;
};

}  // namespace kr7
