#pragma once
// The editor's logic reaching a real drawing context: every EditorView call
// lands on the controls of an IGraphics, found by tag or group, or on the
// controls the pages keep direct references to (graphs, list rows). Runs on
// the UI thread only (the application object's dispatcher replays calls
// from other threads).

#include "model/EditorView.h"
#include "ui/IGraphics.h"
#include "ui/pages/Pages.h"

namespace kr7::pages {

class GraphicsView final : public EditorView {
 public:
  GraphicsView(igraphics::IGraphics& ui, const PageRefs& refs) : mUi(ui), mRefs(refs) {}

  void SetControlText(int tag, std::string_view text) override;
  void SetControlTextColour(int tag, igraphics::Colour colour) override;
  void SetControlValue(int tag, double normalised) override;
  void SetControlHidden(int tag, bool hidden) override;
  void SetControlDisabled(int tag, bool disabled) override;
  void SetGroupHidden(std::string_view group, bool hidden) override;
  void SetGroupDisabled(std::string_view group, bool disabled) override;
  void SetDynamicsInput(DynamicsInput input, double value) override;
  void SetDynamicsGraphHidden(bool hidden) override;
  void SetIrGraphResponse(std::span<const double> response) override;
  void SetParameterControlsDisabled(int paramIndex, bool disabled) override;
  void SetPresetRowPlacement(int slot, double top, bool hidden) override;
  void SetUserIrRowColour(int row, igraphics::Colour colour) override;
  void SendParameterValueFromDelegate(int paramIndex, double value) override;
  bool ShowMessage(std::string_view text, std::string_view caption, bool okCancel) override;
  std::optional<std::string> AskForFile(const FileRequest& request) override;
  void OpenLink(std::string_view url) override;

 private:
  igraphics::IGraphics& mUi;
  const PageRefs& mRefs;
};

}  // namespace kr7::pages
