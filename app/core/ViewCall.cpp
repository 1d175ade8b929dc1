#include "app/core/ViewCall.h"

#include <type_traits>

#include "model/EditorView.h"

namespace kr7 {

void Apply(const ViewCall& call, EditorView& view, std::span<const double> irResponse) {
  std::visit(
      [&view, irResponse](const auto& c) {
        using T = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<T, viewcall::ControlText>) {
          view.SetControlText(c.tag, c.text.View());
        } else if constexpr (std::is_same_v<T, viewcall::ControlTextColour>) {
          view.SetControlTextColour(c.tag, c.colour);
        } else if constexpr (std::is_same_v<T, viewcall::ControlValue>) {
          view.SetControlValue(c.tag, c.normalised);
        } else if constexpr (std::is_same_v<T, viewcall::ControlHidden>) {
          view.SetControlHidden(c.tag, c.hidden);
        } else if constexpr (std::is_same_v<T, viewcall::ControlDisabled>) {
          view.SetControlDisabled(c.tag, c.disabled);
        } else if constexpr (std::is_same_v<T, viewcall::GroupHidden>) {
          view.SetGroupHidden(c.group.View(), c.hidden);
        } else if constexpr (std::is_same_v<T, viewcall::GroupDisabled>) {
          view.SetGroupDisabled(c.group.View(), c.disabled);
        } else if constexpr (std::is_same_v<T, viewcall::ParameterValue>) {
          view.SendParameterValueFromDelegate(c.index, c.value);
        } else if constexpr (std::is_same_v<T, viewcall::DynamicsInputValue>) {
          view.SetDynamicsInput(c.input, c.value);
        } else if constexpr (std::is_same_v<T, viewcall::DynamicsGraphHidden>) {
          view.SetDynamicsGraphHidden(c.hidden);
        } else if constexpr (std::is_same_v<T, viewcall::IrGraphResponse>) {
          view.SetIrGraphResponse(irResponse);
        } else if constexpr (std::is_same_v<T, viewcall::ParameterControlsDisabled>) {
          view.SetParameterControlsDisabled(c.index, c.disabled);
        } else if constexpr (std::is_same_v<T, viewcall::PresetRowPlacement>) {
          view.SetPresetRowPlacement(c.slot, c.top, c.hidden);
        } else if constexpr (std::is_same_v<T, viewcall::UserIrRowColour>) {
          view.SetUserIrRowColour(c.row, c.colour);
        }
      },
      call);
}

}  // namespace kr7
