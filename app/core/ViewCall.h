#pragma once
// One call of the window seam, as a value that fits a lock-free ring: the
// audio thread records it without allocating, the UI thread replays it.
// Texts are copied into a fixed field; the editor's display texts are
// formatted into 256-byte buffers, so nothing it writes is cut.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "model/Colour.h"
#include "model/EditorView.h"

namespace kr7 {

class FixedText {
 public:
  static constexpr std::size_t kCapacity = 255;

  FixedText() = default;
  explicit FixedText(std::string_view text) : mLength(std::min(text.size(), kCapacity)) {
    std::copy_n(text.begin(), mLength, mChars.begin());
  }
  std::string_view View() const { return {mChars.data(), mLength}; }

 private:
  std::array<char, kCapacity> mChars{};
  std::size_t mLength = 0;
};

namespace viewcall {
struct ControlText {
  int tag;
  FixedText text;
};
struct ControlTextColour {
  int tag;
  igraphics::Colour colour;
};
struct ControlValue {
  int tag;
  double normalised;
};
struct ControlHidden {
  int tag;
  bool hidden;
};
struct ControlDisabled {
  int tag;
  bool disabled;
};
struct GroupHidden {
  FixedText group;
  bool hidden;
};
struct GroupDisabled {
  FixedText group;
  bool disabled;
};
struct ParameterValue {
  int index;
  double value;
};
struct DynamicsInputValue {
  DynamicsInput input;
  double value;
};
struct DynamicsGraphHidden {
  bool hidden;
};
// The response itself is too large for a slot; it waits beside the ring.
struct IrGraphResponse {};
struct ParameterControlsDisabled {
  int index;
  bool disabled;
};
struct PresetRowPlacement {
  int slot;
  double top;
  bool hidden;
};
struct UserIrRowColour {
  int row;
  igraphics::Colour colour;
};
// Work handed to the UI thread (the dispatcher holds it beside the ring);
// not a window call.
struct UiWork {};
}  // namespace viewcall

using ViewCall =
    std::variant<viewcall::ControlText, viewcall::ControlTextColour, viewcall::ControlValue,
                 viewcall::ControlHidden, viewcall::ControlDisabled, viewcall::GroupHidden,
                 viewcall::GroupDisabled, viewcall::ParameterValue, viewcall::DynamicsInputValue,
                 viewcall::DynamicsGraphHidden, viewcall::IrGraphResponse,
                 viewcall::ParameterControlsDisabled, viewcall::PresetRowPlacement,
                 viewcall::UserIrRowColour, viewcall::UiWork>;

// Makes the call on view (UI thread); irResponse is what an IrGraphResponse
// call shows. UiWork is the dispatcher's and does nothing here.
void Apply(const ViewCall& call, EditorView& view, std::span<const double> irResponse);

}  // namespace kr7
