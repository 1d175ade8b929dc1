#pragma once
// The editor's logic reaching a real drawing context: every EditorView call
// lands on the controls of an IGraphics, found by tag or group. Runs on the
// UI thread only (KR7Control's dispatcher replays calls from other threads).

#include "model/EditorView.h"
#include "ui/IGraphics.h"

namespace kr7::pages {

class GraphicsView final : public EditorView {
 public:
  explicit GraphicsView(igraphics::IGraphics& ui) : mUi(ui) {}

  void SetControlText(int tag, std::string_view text) override;
  void SetControlTextColour(int tag, igraphics::Colour colour) override;
  void SetControlValue(int tag, double normalised) override;
  void SetControlHidden(int tag, bool hidden) override;
  void SetControlDisabled(int tag, bool disabled) override;
  void SetGroupHidden(std::string_view group, bool hidden) override;
  void SetGroupDisabled(std::string_view group, bool disabled) override;
  void SendParameterValueFromDelegate(int paramIndex, double value) override;
  void SetParameterControlsDisabled(int paramIndex, bool disabled) override;
  bool ShowMessage(std::string_view text, bool okCancel) override;
  std::optional<std::string> AskForFile(const FileRequest& request) override;
  void OpenLink(std::string_view url) override;

 private:
  igraphics::IGraphics& mUi;
};

}  // namespace kr7::pages
