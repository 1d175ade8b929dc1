#pragma once
// What the long transfers (factory bank, bank import and export, impulse-
// response upload, firmware) need from the units around them: the output,
// the window, the caches and the remembered dialog path.
//
// Send and View may be called from the UI thread (device tick, menu and
// button actions) and from the audio thread (reactions to the pedal's
// replies); the window link hands audio-thread calls to the UI thread. The
// modal operations of the view (ShowMessage, AskForFile) are called on the UI
// thread only: the audio thread leaves a pending message instead.

#include <string>
#include <string_view>
#include <utility>

#include "device/Packing.h"
#include "device/SessionHooks.h"

namespace kr7 {

struct StreamHost {
  SysExSender& sender;
  WindowLink& window;
  CacheReset& caches;
  PathMemory& paths;

  void Send(ByteSpan message) const { sender.SendSysEx(message); }
  EditorView& View() const { return window.View(); }
  void SetPendingMessage(std::string text) const { window.SetPendingMessage(std::move(text)); }
  void ClearCachesAndRebuild() const { caches.ClearCachesAndRebuild(); }
  const std::string& RememberedPath() const { return paths.RememberedPath(); }
  void RememberPath(std::string_view path) const { paths.RememberPath(path); }
};

}  // namespace kr7
