#pragma once
// What the editor's window drives, handed to it as one struct of references:
// the window is built above the application object's floor, so it sees the
// units themselves and never the object that owns and connects them.
//
// UI thread only, like the window.

#include "device/Session.h"
#include "device/SessionState.h"
#include "device/StreamController.h"
#include "editor/IrFlows.h"
#include "editor/MainPageOperations.h"
#include "editor/MidiMapping.h"
#include "editor/ParameterChanges.h"
#include "editor/PresetFileFlows.h"
#include "model/EditorView.h"
#include "model/ListView.h"
#include "model/Parameters.h"

namespace kr7 {

// The steps that belong to the application object as a whole rather than to
// one unit: the window's arrival and departure, the 20 ms step, and closing
// the global settings page (the session resumes polling and the preset list
// is read again from the cache).
class WindowAttachment {
 public:
  virtual ~WindowAttachment() = default;
  // lists may be nullptr when the window has no list rows to offer.
  virtual void OnWindowOpen(EditorView* view, ListView* lists) = 0;
  // Sends EditorClosed when connected, then forgets the window.
  virtual void OnWindowClose() = 0;
  virtual void OnFrameworkTimer() = 0;
  virtual void CloseGlobalSettings() = 0;
};

struct WindowUnits {
  WindowAttachment& attachment;
  ParameterTable& params;
  // Parameter changes and their handler; selector events go through here.
  ParameterChanges& parameters;
  MainPageOperations& mainPage;
  // The EXPORT and IMPORT buttons.
  PresetFileFlows& presetFiles;
  IrFlows& irs;
  // Firmware page, factory resets, the input shield of long transfers.
  StreamController& streams;
  // Reconnect and the global settings page.
  Session& session;
  SessionState& sessionState;
  // The MIDI mapping pages.
  MidiMapping& midi;
};

}  // namespace kr7
