#pragma once
// The EXPORT and IMPORT buttons of the main page: a single preset with its
// user impulse responses written to and read from an "r3p" file, with the
// questions and messages of both, and the import's continuation when the
// pedal acknowledges an uploaded impulse response.
//
// An import that carries impulse responses runs in stages: the import
// uploads the first one; the pedal's IrStoredAck (receive handler) either
// asks for the second (ContinueAfterAck, done by the next device tick) or,
// after the last one, the session stores the preset (PresetStore).
//
// Threads: Export, Import and Tick on the UI thread; ContinueAfterAck on the
// audio thread. The upload transport and PresetFileState belong to the UI
// thread, which is why the second stage waits for the tick instead of
// running inside the receive handler; it starts no later than the upload
// would have (the transport only sends on ticks).

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "editor/EditorState.h"
#include "editor/IrFlows.h"
#include "editor/LiveEdit.h"
#include "model/Parameters.h"
#include "model/PresetFile.h"

namespace kr7 {

inline constexpr std::string_view kPresetFileExtension = "r3p";

enum class PresetImportResult {
  kNothing,            // dialog cancelled, empty path, unreadable or huge file
  kPathTooLong,        // refused with kPathTooLongText
  kUnknownFormat,      // pending message "Unknown file format."
  kUnsupportedVersion, // message box
  kCancelled,          // a question was answered with Cancel
  kApplied,            // the editor shows the file; uploads or store started
};

class PresetFileFlows final : public PresetFileImport, public PathMemory {
 public:
  // localEdit: the live-editing flag that an import clears at its start
  // and sets once the file's values are the editor's.
  PresetFileFlows(SessionState& session, EditorState& editor, const ParameterTable& params,
                  ParameterAccess& paramAccess, SysExSender& sender, WindowLink& window,
                  IrFlows& irs, std::atomic<bool>& localEdit);
  PresetFileFlows(const PresetFileFlows&) = delete;
  PresetFileFlows& operator=(const PresetFileFlows&) = delete;

  // EXPORT: save dialog, then the file. True when a file was written.
  bool Export();
  // IMPORT: open dialog, then the file.
  PresetImportResult Import();
  // The steps after the open dialog, for a path already chosen.
  PresetImportResult ImportPath(std::string_view path);

  // Audio thread (IrStoredAck with the second upload pending).
  void ContinueAfterAck() override { mSecondStageDue.store(true); }
  // PresetStore of the editor's current preset (UI thread).
  void StorePreset();
  // Audio thread: the PresetStore made when the import started.
  void StoreImportedPreset() override;
  // UI thread, at the start of every device tick: starts the second upload.
  void Tick();

  // Shared by the preset and bank dialogs; at most 255 bytes.
  const std::string& RememberedPath() const override { return mState.RememberedPath(); }
  // False (and the old path kept) for a path that does not fit.
  bool RememberPath(std::string_view path) override { return mState.Remember(path); }

 private:
  // Remembers path or tells the user it does not fit.
  bool TakePath(std::string_view path);
  bool Confirm(std::string_view question);
  void ApplyValues(const PresetFileContents& contents);
  void ShowNames(const PresetFileContents& contents);
  // False when the upload did not start.
  bool Upload(const PresetFileIrUpload& upload);
  void EndWaiting();

  SessionState& mSession;
  EditorState& mEditor;
  std::atomic<bool>& mLocalEdit;
  const ParameterTable& mParams;
  ParameterAccess& mParamAccess;
  SysExSender& mSender;
  WindowLink& mWindow;
  IrFlows& mIrs;
  PresetFileState mState;  // UI thread only
  std::atomic<bool> mSecondStageDue{false};
  // Built when an import with impulse responses starts, sent after the last
  // one: a step of the preset meanwhile changes neither its slot nor its
  // contents.
  std::mutex mImportStoreMutex;
  Bytes mImportStore;  // guarded by mImportStoreMutex
};

}  // namespace kr7
