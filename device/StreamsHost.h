#pragma once
// What the long transfers (factory bank, bank import and export, impulse-
// response upload, firmware) need from the application around them.
//
// Send and View may be called from the UI thread (device tick, menu and
// button actions) and from the audio thread (reactions to the pedal's
// replies); the view defers audio-thread calls to the UI thread itself. The
// modal operations of the view (ShowMessage, AskForFile) are called on the UI
// thread only: the audio thread leaves a pending message instead.

#include <string>
#include <string_view>

#include "device/Packing.h"

namespace kr7 {

class EditorView;

class StreamHost {
 public:
  virtual ~StreamHost() = default;

  // Sends one complete message to the pedal (either thread).
  virtual void Send(ByteSpan message) = 0;
  // The window seam.
  virtual EditorView& View() = 0;
  // A text for the idle step to show in a message box (audio thread).
  virtual void SetPendingMessage(std::string text) = 0;
  // Deletes the cached presets and impulse responses and rebuilds the preset
  // list by slot, so that the next checksum comparison fetches every slot the
  // pedal changed (UI thread).
  virtual void ClearCachesAndRebuild() = 0;
  // The file name last chosen in a preset or bank dialog, offered as the next
  // dialog's initial name; empty when none was chosen yet (UI thread).
  virtual std::string RememberedPath() const = 0;
  virtual void RememberPath(std::string_view path) = 0;
};

}  // namespace kr7
