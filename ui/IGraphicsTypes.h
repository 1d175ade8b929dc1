#pragma once
// Small types of the toolkit's event and host interfaces.

#include <string>

namespace igraphics {

// Mouse buttons and modifier keys held during a pointer event.
struct IMouseMod {
  bool L = true;   // left button
  bool R = false;  // right button
  bool S = false;  // Shift
  bool C = false;  // Ctrl
  bool A = false;  // Alt
  // Fine adjustment is asked for with Shift or Ctrl.
  bool Fine() const { return S || C; }
};

// Keys the shared text editor and popup menu understand; every other key
// arrives as kNone with its text.
enum class EKey { kNone, kBackspace, kDelete, kLeft, kRight, kUp, kDown, kHome, kEnd, kReturn, kEscape, kTab };

struct IKeyPress {
  EKey Key = EKey::kNone;
  std::string Utf8;  // the character typed, for kNone
  IMouseMod Mod{false};
};

// Result codes of ShowMessage.
enum EMsgBoxResult { kNoResult = 0, kOK = 1, kCancel = 2 };
// Buttons of ShowMessage.
enum EMsgBoxType { kMB_OK = 0, kMB_OKCANCEL = 1 };
// Mode of AskForFile.
enum class EFileAction { Open = 0, Save = 1 };

}  // namespace igraphics
