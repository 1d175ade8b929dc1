#include "ui/pages/GraphicsView.h"

#include "ui/IDynamicsResponseGraph.h"
#include "ui/IFreqResponseGraph.h"
#include "ui/ITextControl.h"

namespace kr7::pages {

using igraphics::IControl;

void GraphicsView::SetControlText(int tag, std::string_view text) {
  if (auto* control = dynamic_cast<igraphics::ITextControl*>(mUi.ControlByTag(tag)))
    control->SetStr(text);
}

void GraphicsView::SetControlTextColour(int tag, igraphics::Colour colour) {
  if (auto* control = dynamic_cast<igraphics::ITextControl*>(mUi.ControlByTag(tag)))
    control->SetTextColour(colour);
}

void GraphicsView::SetControlValue(int tag, double normalised) {
  if (IControl* control = mUi.ControlByTag(tag)) {
    control->SetValue(normalised);
    control->SetDirty(false);
  }
}

void GraphicsView::SetControlHidden(int tag, bool hidden) {
  if (IControl* control = mUi.ControlByTag(tag)) control->Hide(hidden);
}

void GraphicsView::SetControlDisabled(int tag, bool disabled) {
  if (IControl* control = mUi.ControlByTag(tag)) control->SetDisabled(disabled);
}

void GraphicsView::SetGroupHidden(std::string_view group, bool hidden) {
  mUi.ForEachInGroup(group, [hidden](IControl& control) { control.Hide(hidden); });
}

void GraphicsView::SetGroupDisabled(std::string_view group, bool disabled) {
  mUi.ForEachInGroup(group, [disabled](IControl& control) { control.SetDisabled(disabled); });
}

void GraphicsView::SetDynamicsInput(DynamicsInput input, double value) {
  igraphics::IDynamicsResponseGraph* graph = mRefs.dynamicsGraph;
  if (!graph) return;
  switch (input) {
    case DynamicsInput::kGateThreshold: graph->SetGateThreshold(value); break;
    case DynamicsInput::kThreshold: graph->SetThreshold(value); break;
    case DynamicsInput::kGateRatio: graph->SetGateRatio(value); break;
    case DynamicsInput::kRatio: graph->SetRatio(value); break;
  }
}

void GraphicsView::SetDynamicsGraphHidden(bool hidden) {
  if (mRefs.dynamicsGraph) mRefs.dynamicsGraph->Hide(hidden);
}

void GraphicsView::SetIrGraphResponse(std::span<const double> response) {
  if (mRefs.irGraph) mRefs.irGraph->SetImpulseResponse(response);
}

void GraphicsView::SetParameterControlsDisabled(int paramIndex, bool disabled) {
  mUi.ForEachControl([paramIndex, disabled](IControl& control) {
    if (control.GetParamIdx() == paramIndex) control.SetDisabled(disabled);
  });
}

void GraphicsView::SetPresetRowPlacement(int slot, double top, bool hidden) {
  if (slot < 0 || slot >= kNumPresetRows) return;
  igraphics::ITextControl* row = mRefs.presetRows[static_cast<std::size_t>(slot)];
  if (!row) return;
  igraphics::Rect bounds = row->GetRECT();
  const auto dy = static_cast<float>(top) - bounds.T;
  if (dy != 0.f) row->SetRECT({bounds.L, bounds.T + dy, bounds.R, bounds.B + dy});
  // A row the window's edge would cut is not shown at all.
  row->Hide(hidden || bounds.B + dy > mUi.GetBounds().B);
}

void GraphicsView::SetUserIrRowColour(int row, igraphics::Colour colour) {
  if (row < 0 || row >= kNumUserIrBrowserRows) return;
  if (igraphics::ITextControl* text = mRefs.userIrRows[static_cast<std::size_t>(row)]) text->SetTextColour(colour);
}

void GraphicsView::SendParameterValueFromDelegate(int paramIndex, double value) {
  const iplug::IParam* param =
      mUi.GetDelegate() ? mUi.GetDelegate()->GetParam(paramIndex) : nullptr;
  if (param) mUi.SendParameterValueFromDelegate(paramIndex, param->ToNormalized(value));
}

bool GraphicsView::ShowMessage(std::string_view text, std::string_view caption, bool okCancel) {
  return mUi.ShowMessage(text, caption, okCancel ? igraphics::kMB_OKCANCEL : igraphics::kMB_OK) ==
         igraphics::kOK;
}

std::optional<std::string> GraphicsView::AskForFile(const FileRequest& request) {
  igraphics::FileDialogResult result = mUi.AskForFile(
      request.initialName, request.initialFolder,
      request.save ? igraphics::EFileAction::Save : igraphics::EFileAction::Open,
      request.extension);
  if (result.Path.empty()) return std::nullopt;
  return result.Path;
}

void GraphicsView::OpenLink(std::string_view url) { mUi.OpenLink(url); }

}  // namespace kr7::pages
