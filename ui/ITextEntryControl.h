#pragma once
// The shared one-line text editor. It is drawn by the toolkit over the
// rectangle of the control that opened it and takes its keys from the host;
// Return commits, Escape cancels, a click elsewhere commits.

#include <string>

#include "ui/IControl.h"

namespace igraphics {

// Texts are written into 256-byte buffers elsewhere, so entries stop short.
inline constexpr std::size_t kMaxTextEntryLength = 255;

class ITextEntryControl : public IControl {
 public:
  ITextEntryControl();

  void Open(IControl& caller, const TextStyle& style, const Rect& bounds, std::string_view text);
  bool IsOpen() const { return mCaller != nullptr; }
  IControl* GetCaller() const { return mCaller; }
  void Commit();
  void Cancel();
  // Editing keys and typed characters; returns false when closed.
  bool OnKey(const IKeyPress& key);
  const std::string& GetText() const { return mText; }
  std::size_t GetCaret() const { return mCaret; }

  void Draw(cairo_t* cr) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;

 private:
  void Close(bool accepted);
  std::size_t PrevCharStart(std::size_t pos) const;
  std::size_t NextCharStart(std::size_t pos) const;

  IControl* mCaller = nullptr;
  TextStyle mStyle;
  std::string mText;
  std::size_t mCaret = 0;
};

}  // namespace igraphics
