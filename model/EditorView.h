#pragma once
// The one seam between the editor's logic and its window.
//
// Every step of the device, model and editor code that would touch a control
// goes through an EditorView. Without a window there is no view and such steps
// are skipped; tests install a recording view to observe what the window would
// be told. The interface is write-only on purpose: whatever the logic needs to
// read back (preset name, IR names, list texts) is kept in the logic's own
// state, so no thread ever reads a control.
//
// Threading: KR7Control hands calls made on the MIDI/audio thread to the UI
// thread (they are replayed by the 20 ms timer in the order made). The modal
// operations (ShowMessage, AskForFile, OpenLink) are called on the UI thread
// only. No timer ever waits for the user: a message that only informs is
// shown without blocking, and questions are asked only from user actions.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/Colour.h"

namespace kr7 {

// The four inputs of the dynamics graph.
enum class DynamicsInput { kGateThreshold, kThreshold, kGateRatio, kRatio };

struct FileRequest {
  bool save = false;          // save dialog instead of open
  std::string extension;      // without the dot, e.g. "r3p"
  std::string initialName;    // suggested file name (save) or empty
  std::string initialFolder;  // folder to start in, or empty
};

class EditorView {
 public:
  virtual ~EditorView() = default;

  // Controls, addressed by the tags of the page layout (model/ControlTags.h).
  // A tag with no control is ignored.
  virtual void SetControlText(int tag, std::string_view text) = 0;
  virtual void SetControlTextColour(int tag, igraphics::Colour colour) = 0;
  // Moves a control to a normalised value without running its action.
  virtual void SetControlValue(int tag, double normalised) = 0;
  virtual void SetControlHidden(int tag, bool hidden) = 0;
  virtual void SetControlDisabled(int tag, bool disabled) = 0;

  // Groups of controls, by their names (model/ControlTags.h).
  virtual void SetGroupHidden(std::string_view group, bool hidden) = 0;
  virtual void SetGroupDisabled(std::string_view group, bool disabled) = 0;

  // Controls without tags that live editing drives. A view without them
  // ignores the calls. The dynamics graph and the IR graph:
  virtual void SetDynamicsInput(DynamicsInput /*input*/, double /*value*/) {}
  virtual void SetDynamicsGraphHidden(bool /*hidden*/) {}
  virtual void SetIrGraphResponse(std::span<const double> /*response*/) {}
  // Every control bound to a parameter.
  virtual void SetParameterControlsDisabled(int /*paramIndex*/, bool /*disabled*/) {}
  // Preset-list row slot (0..127) moved to design height top, or hidden.
  virtual void SetPresetRowPlacement(int /*slot*/, double /*top*/, bool /*hidden*/) {}
  // Row 0..31 of the user impulse-response browser.
  virtual void SetUserIrRowColour(int /*row*/, igraphics::Colour /*colour*/) {}

  // Moves every control bound to a parameter to its new value, without action
  // (the parameter-change queue drained by the 20 ms timer ends here).
  virtual void SendParameterValueFromDelegate(int paramIndex, double value) = 0;

  // A message box under caption (empty for the pedal's own texts). With OK
  // only it informs: the call returns true at once, and the window shows one
  // box at a time in the order given while its timers go on. With OK and
  // Cancel it asks and waits for the answer (true for OK); only user actions
  // (menu, buttons) ask.
  virtual bool ShowMessage(std::string_view text, std::string_view caption, bool okCancel) = 0;
  // The same with an empty caption.
  bool ShowMessage(std::string_view text, bool okCancel) { return ShowMessage(text, {}, okCancel); }
  // File chooser; nullopt when the user cancels.
  virtual std::optional<std::string> AskForFile(const FileRequest& request) = 0;
  virtual void OpenLink(std::string_view url) = 0;
};

}  // namespace kr7
