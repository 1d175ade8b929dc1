#pragma once
// The application object: owns every piece of editor state for the whole run
// and connects the units that act on it. It has no window of its own; the
// shell attaches one with OnWindowOpen and the same logic runs without it.
//
// Hooks and their threads:
//   OnSysEx           audio thread (through the message pump), the receive
//                     handler; the pump delivers straight to the session
//   OnDeviceTick      UI thread, every 100 ms
//   OnFrameworkTimer  UI thread, every 20 ms (OnIdle is the same step)
//   OnWindowOpen/Close, OnCommand: UI thread
// Parameter changes run in Parameters() on the thread that made them.
// The object must be constructed on the UI thread.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <utility>

#include "app/core/ViewDispatcher.h"
#include "device/MessagePump.h"
#include "device/MidiMonitor.h"
#include "device/Session.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "device/StreamController.h"
#include "device/SysExOutbox.h"
#include "editor/DeviceSettings.h"
#include "editor/EditorState.h"
#include "editor/FileIrStore.h"
#include "editor/BlockSelection.h"
#include "editor/IdleStep.h"
#include "editor/IrFlows.h"
#include "editor/MidiMapping.h"
#include "editor/LiveEdit.h"
#include "editor/LiveEditLink.h"
#include "editor/MainPageOperations.h"
#include "editor/ParameterChangeHandler.h"
#include "editor/ParameterChanges.h"
#include "editor/PresetDecoder.h"
#include "editor/PresetFileFlows.h"
#include "editor/WindowUnits.h"
#include "model/ControlTags.h"
#include "model/DataFolder.h"
#include "model/Parameters.h"
#include "model/PresetCache.h"

namespace kr7 {

class KR7Control final : public WindowAttachment {
 public:
  // Reads the preset cache below folder before the pedal is asked.
  explicit KR7Control(DataFolder folder);
  ~KR7Control() override;
  KR7Control(const KR7Control&) = delete;
  KR7Control& operator=(const KR7Control&) = delete;

  // --- Wiring (UI thread, before the audio stream starts) --------------------
  // Where outgoing messages go; nullptr sends nothing.
  void SetSysExSender(SysExSender* sender) { mOutbox.SetTarget(sender); }
  // What every unit sends through.
  SysExSender& Outbox() { return mOutbox; }
  // The pump the port layer and the audio stream drive; its receiver is the
  // session.
  MessagePump& Pump() { return mPump; }
  // The stream branches of the tick and the receive handler.
  void SetStreamHooks(StreamHooks* hooks) { mSessionLogic.SetStreamHooks(hooks); }
  // How an imported impulse response reaches the pedal (the IR upload).
  void SetIrUploader(IrFlows::Uploader uploader) { mIrs.SetUploader(std::move(uploader)); }

  // --- Hooks ---------------------------------------------------------------------
  // The receive handler: one complete incoming SysEx message.
  void OnSysEx(std::span<const std::uint8_t> message) { mSessionLogic.OnMessage(message); }
  void OnDeviceTick();
  // Replays the view calls handed over from the audio thread, draws changed
  // list rows, shows the pending message and runs the idle step of live
  // editing.
  void OnFrameworkTimer() override;
  void OnIdle() { OnFrameworkTimer(); }
  void OnWindowOpen(EditorView* view, ListView* lists = nullptr) override;
  void OnWindowClose() override;
  // Menu command dispatch; returns whether the command was handled. The
  // firmware page needs a window: without one code 1 is not handled, so the
  // link is neither held connected nor kept from polling.
  bool OnCommand(int command);
  // "About": shows the about page and reports true with a window open;
  // false without one (the shell then shows its plain box).
  bool ShowAbout();
  // A line about the MIDI connection on the device line (the pedal search's
  // progress and outcome); the next identity block replaces it.
  void ShowConnectionStatus(std::string_view text) { mWindow.SetControlText(kTagDeviceLine, text); }
  // Closing the global settings page: polling resumes, the page goes and
  // the preset list is read again from the cache.
  void CloseGlobalSettings() override;

  // What the window drives.
  WindowUnits ForWindow() {
    return {*this, mParams, mParameters, mMainPage, mPresetFiles, mIrs, mStreams, mSessionLogic, mSession, mMidi};
  }

  // --- Units and state -------------------------------------------------------------
  ParameterTable& Params() { return mParams; }
  const ParameterTable& Params() const { return mParams; }
  // Parameter changes and their handler.
  ParameterChanges& Parameters() { return mParameters; }
  SessionState& Session() { return mSession; }
  const SessionState& Session() const { return mSession; }
  // Reconnect, global settings page, window closing.
  kr7::Session& SessionLogic() { return mSessionLogic; }
  EditorState& Editor() { return mEditor; }
  const EditorState& Editor() const { return mEditor; }
  PresetCache& Cache() { return mCache; }
  // Deletes the cached presets and impulse responses (another pedal's).
  CacheReset& Caches() { return mDecoder; }
  const DataFolder& Folder() const { return mFolder; }
  // Whether a user impulse response is cached, and where.
  FileIrStore& IrStore() { return mIrStore; }
  // The impulse-response store, WAV import and IR display.
  IrFlows& Irs() { return mIrs; }
  // The preset files of the EXPORT and IMPORT buttons.
  PresetFileFlows& PresetFiles() { return mPresetFiles; }
  // Firmware, factory bank, bank export/import, IR upload, factory resets.
  StreamController& Streams() { return mStreams; }
  // Global settings, controller and program maps, jacks; the MIDI pages.
  MidiMapping& Midi() { return mMidi; }
  // Every SysEx in and out, while the monitor window is open.
  MidiMonitor& Monitor() { return mMonitor; }
  // Live editing: its state, the block selection and the operations of the
  // main page's pedal controls (UI thread). Selector events go through
  // Parameters().OnSelectorChange.
  LiveEditState& LiveEdit() { return mLive; }
  const LiveEditState& LiveEdit() const { return mLive; }
  BlockSelection& Blocks() { return mBlocks; }
  MainPageOperations& MainPage() { return mMainPage; }
  // Where the handler sends parameters 80..138.
  void SetMappingDispatch(std::function<void(int index)> dispatch) {
    mHandler.SetMappingDispatch(std::move(dispatch));
  }
  // Whether a message waits for the idle step.
  bool HasPendingMessage() const { return mWindow.HasPendingMessage(); }

 private:
  void DrawChangedRows();

  DataFolder mFolder;
  ParameterTable mParams;
  EditorState mEditor;
  SessionState mSession;
  PresetCache mCache;
  ViewDispatcher mWindow;
  MidiMonitor mMonitor;
  ListView* mLists = nullptr;  // UI thread only
  SysExOutbox mOutbox;
  ParameterChanges mParameters;
  IrFlows mIrs;
  // The session's view of the store; after mIrs, which it reads.
  FileIrStore mIrStore;
  LiveEditState mLive;
  LiveEditLink mLiveLink;
  BlockSelection mBlocks;
  ParameterChangeHandler mHandler;
  IdleStep mIdle;
  MainPageOperations mMainPage;
  PresetDecoder mDecoder;
  DeviceSettings mSettings;
  MidiMapping mMidi;
  PresetFileFlows mPresetFiles;
  kr7::Session mSessionLogic;
  StreamController mStreams;
  // Last: the pump calls back into everything above.
  MessagePump mPump;
};

}  // namespace kr7
