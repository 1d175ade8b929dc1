#pragma once
// The application object: owns every piece of editor state for the whole run
// and wires the units that act on it. It has no window of its own; the shell
// attaches one with OnWindowOpen and the same logic runs without it.
//
// Hooks and their threads:
//   OnParamChange     the thread that set the parameter
//   OnSysEx           audio thread (through the message pump), the receive
//                     handler
//   OnDeviceTick      UI thread, every 100 ms
//   OnFrameworkTimer  UI thread, every 20 ms (OnIdle is the same step)
//   OnWindowOpen/Close, OnCommand, Reconnect: UI thread
// The object must be constructed on the UI thread.

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "app/core/EditorState.h"
#include "app/core/FileIrStore.h"
#include "app/core/IrFlows.h"
#include "app/core/ListView.h"
#include "app/core/PresetDecoder.h"
#include "app/core/PresetFileFlows.h"
#include "app/core/ViewDispatcher.h"
#include "device/MessagePump.h"
#include "device/MidiMonitor.h"
#include "device/Packing.h"
#include "device/Session.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "device/StreamController.h"
#include "device/StreamsHost.h"
#include "device/SysExSender.h"
#include "editor/MidiMapping.h"
#include "model/DataFolder.h"
#include "model/Parameters.h"
#include "model/PresetCache.h"

namespace kr7 {

class KR7Control final : private SessionHost,
                         private StreamHost,
                         private MidiMappingHost,
                         public SysExReceiver {
 public:
  // Reads the preset cache below folder (directory order, then by slot) so
  // the checksum table describes the files before the pedal is asked.
  explicit KR7Control(DataFolder folder);
  ~KR7Control() override;
  KR7Control(const KR7Control&) = delete;
  KR7Control& operator=(const KR7Control&) = delete;

  // --- Wiring (UI thread, before the audio stream starts) --------------------
  // Where outgoing messages go; nullptr sends nothing.
  void SetSysExSender(SysExSender* sender) { mSender.store(sender); }
  // The pump the port layer and the audio stream drive; its receiver is this.
  MessagePump& Pump() { return mPump; }
  // The stream branches of the tick and the receive handler.
  void SetStreamHooks(StreamHooks* hooks) { mSessionLogic.SetStreamHooks(hooks); }
  // How an imported impulse response reaches the pedal (the IR upload).
  void SetIrUploader(IrFlows::Uploader uploader) { mIrs.SetUploader(std::move(uploader)); }

  // --- Hooks ---------------------------------------------------------------------
  // The parameter-change handler: runs after parameter index got a new value.
  void OnParamChange(int index);
  // The receive handler: one complete incoming SysEx message.
  void OnSysEx(std::span<const std::uint8_t> message);
  void OnSysExReceived(int offset, std::span<const std::uint8_t> message) override;
  void OnDeviceTick();
  // Moves the controls of queued parameter changes, replays the deferred
  // view calls, draws changed list rows and shows the pending message.
  void OnFrameworkTimer();
  void OnIdle() { OnFrameworkTimer(); }
  // lists may be nullptr when the window has no list rows to offer.
  void OnWindowOpen(EditorView* view, ListView* lists = nullptr);
  // Sends EditorClosed when connected, then forgets the window.
  void OnWindowClose();
  // Menu command dispatch; returns whether the command was handled. The
  // firmware page needs a window: without one code 1 is not handled, so the
  // link is neither held connected nor kept from polling.
  bool OnCommand(int command);
  // "About": shows the about page and reports true with a window open;
  // false without one (the shell then shows its plain box).
  bool ShowAbout();
  void Reconnect() { mSessionLogic.Reconnect(); }
  // A line about the MIDI connection on the device line (the pedal search's
  // progress and outcome); the next identity block replaces it.
  void ShowConnectionStatus(std::string_view text) { mView.SetControlText(kTagDeviceLine, text); }
  // The global settings page: opening pauses the identity polling and asks
  // for the settings; closing resumes polling, hides the page and reloads
  // the preset list from the cache.
  void OpenGlobalSettings() { mSessionLogic.OpenGlobalSettings(); }
  void CloseGlobalSettings();

  // --- Parameters ---------------------------------------------------------------
  ParameterTable& Params() { return mParams; }
  const ParameterTable& Params() const { return mParams; }
  // Stores the value converted from position, then runs OnParamChange.
  // Indices outside 0..138 are ignored.
  void SetParameterFromPosition(int index, double position);
  // The same from a raw 7-bit value of the pedal.
  void SetParameterFromRaw(int index, int raw);
  int ParamValue(int index) const { return ParamInt(index); }

  // --- Messages built from the editor's state ---------------------------------
  // PresetStore for the current preset: edit values 0..64, the preset name and
  // the user impulse-response names.
  Bytes BuildPresetStore() const;
  // GlobalBlock type 0 from the settings parameters.
  Bytes BuildSettingsBlock() const;
  bool SendSysEx(std::span<const std::uint8_t> message);

  // --- State ------------------------------------------------------------------------
  SessionState& Session() { return mSession; }
  const SessionState& Session() const { return mSession; }
  EditorState& Editor() { return mEditor; }
  const EditorState& Editor() const { return mEditor; }
  PresetCache& Cache() { return mCache; }
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
  // Whether a message waits for the idle step.
  bool HasPendingMessage() const { return mPending.IsSet(); }

 private:
  // SessionHost
  void Send(std::span<const std::uint8_t> message) override { SendSysEx(message); }
  EditorView& View() override { return mView; }
  bool HasWindow() const override { return mView.HasView(); }
  void SetPendingMessage(std::string text) override { mPending.Set(std::move(text)); }
  int ParamInt(int index) const override;
  void SetParamFromRaw(int index, int raw) override;
  void SetParamFromPosition(int index, double position) override;
  bool ApplyActivePreset(std::span<const std::uint8_t> dump) override;
  void ApplySettingsBlock(std::span<const std::uint8_t> block) override;
  void ApplyControllerMap(std::span<const std::uint8_t> block) override;
  void ApplyProgramMap(std::span<const std::uint8_t> block) override;
  void ShowPresetListEntry(int slot) override { mEditor.MarkPresetRowDirty(slot); }
  void SetUserIrListEntry(int row, std::string text) override;
  void StoreSavedPreset(std::span<const std::uint8_t> dump) override;
  void StoreReceivedIr(int slot, std::span<const std::uint8_t> image) override;
  void RefreshIrList() override;
  void ContinuePresetFileImport() override;
  void SendPresetStore() override { SendSysEx(BuildPresetStore()); }
  // StreamHost (Send, View and SetPendingMessage are shared with SessionHost)
  void ClearCachesAndRebuild() override;
  std::string RememberedPath() const override { return mPresetFiles.RememberedPath(); }
  void RememberPath(std::string_view path) override { mPresetFiles.RememberPath(path); }
  // MidiMappingHost (the rest is shared with SessionHost)
  bool LocalEdit() const override { return mEditor.localEdit.load(); }
  Bytes SettingsBlock() const override { return BuildSettingsBlock(); }
  void ReloadPresetList() override;

  // Moves the controls of parameter index to value: directly on the UI
  // thread, through the pump's parameter queue from the audio thread.
  void QueueForControls(int index, double value);
  // The common step of a preset parameter: edit value and live edit.
  void SendLiveEdit(int index);
  void DrawChangedRows();
  // Reads the list texts from the cache: directory order, then by slot.
  PresetCache::DirectoryLoad ReadPresetList();
  void LoadPresetCache();
  // "Clear Cache Data": the cached presets and impulse responses go, the
  // lists are read again and the user is told.
  void ClearCacheFromMenu();

  DataFolder mFolder;
  ParameterTable mParams;
  EditorState mEditor;
  SessionState mSession;
  PresetCache mCache;
  ViewDispatcher mView;
  PendingMessage mPending;
  MidiMonitor mMonitor;
  ListView* mLists = nullptr;  // UI thread only
  // "PATCH OFFSET" the preset list was last numbered with.
  std::atomic<int> mListedOffset{0};
  std::atomic<SysExSender*> mSender{nullptr};
  PresetDecoder mDecoder;
  IrFlows mIrs;
  // The session's view of the store; after mIrs, which it reads.
  FileIrStore mIrStore;
  PresetFileFlows mPresetFiles;
  kr7::Session mSessionLogic;
  StreamController mStreams;
  MidiMapping mMidi;
  // Last: the pump calls back into everything above.
  MessagePump mPump;
};

}  // namespace kr7
