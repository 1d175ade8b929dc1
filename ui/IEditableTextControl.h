#pragma once
// Text that the user edits in place with the shared text editor.

#include "ui/ITextControl.h"

namespace igraphics {

class IEditableTextControl : public ITextControl {
 public:
  IEditableTextControl(const Rect& bounds, std::string_view text, const TextStyle& style = {});

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  // The edited text replaces the old one and the action function runs.
  void OnTextEntryCompletion(std::string_view text, bool accepted) override;
};

}  // namespace igraphics
