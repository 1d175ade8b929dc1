#pragma once
// The impulse-response side of the application object: the local IR store,
// the WAV import of the impulse-response block, store and upload to the
// pedal through the IR upload transport, the names the IR lists show and
// the response the IR graph draws for the "IR" value.
//
// Threads:
//   ImportFromButton, ImportIntoRow, ImportWavFile, StoreAndUpload: UI thread
//     (the upload transport is filled on the UI thread only).
//   StoreReceivedIr, RefreshIrList, RefreshDisplay: either thread (the
//     receive handler calls them on the audio thread); their file work is
//     handed to the UI thread in the order of the window calls around it.
//   TakeDisplay: the UI thread that draws the graph.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/Packing.h"
#include "device/SessionHooks.h"
#include "device/SessionState.h"
#include "editor/EditorState.h"
#include "editor/IrImport.h"
#include "editor/IrStore.h"
#include "model/ControlTags.h"
#include "model/DataFolder.h"

namespace kr7 {

// The user IR number of source B is the preset number plus this.
inline constexpr int kSourceBIrOffset = 128;

enum class IrSource { kNone, kA, kB };

class IrFlows final : public IrSink {
 public:
  // Starts the upload of a packed image to a transfer slot; false when it
  // did not start. The shell wires the stream controller's IR upload.
  using Uploader = std::function<bool(int slot, ByteSpan packed)>;

  IrFlows(const DataFolder& folder, SessionState& session, EditorState& editor,
          ParameterAccess& params, WindowLink& window);
  IrFlows(const IrFlows&) = delete;
  IrFlows& operator=(const IrFlows&) = delete;

  // UI thread, before the first import.
  void SetUploader(Uploader uploader) { mUploader = std::move(uploader); }

  kr7::IrStore& Store() { return mStore; }
  const kr7::IrStore& Store() const { return mStore; }
  // A whole 2436-byte cache file of user IR n (a file of another size is
  // not one, so the pedal is asked for it again).
  bool HasWholeUserIr(int n) const;

  // Layout time: writes the factory WAV files that are missing (the shell
  // passes [](int id) { return kr7::FindResource(id); }), loads the names of
  // the factory cabinets and of every user IR, and shows them in the IR list
  // and in the browser rows of the current bank.
  void PrepareStore(const FactoryWavProvider& provider);
  // The 32 browser rows show the stored names of user IR bank 0..8.
  void ShowUserIrBank(int bank);

  // --- WAV import -------------------------------------------------------------
  // The import buttons (tags 62, 63): the source plays the user IR of the
  // current preset (A) or preset + 128 (B), selected by its "MSB" parameter
  // at once, then the file dialog and the import run.
  void ImportFromButton(bool sourceB);
  // The BROWSE buttons: opens the user-IR browser on the bank of the
  // source's user IR, that row lit; a press on a row then assigns it to the
  // source, until the browser closes.
  void OpenBrowser(bool sourceB);
  // A double-click on browser row number n (a user IR below 256, already the
  // browser selection): file dialog and import.
  void ImportIntoRow(int n);
  // After the dialog: imports path into the browser selection and shows the
  // name. An empty path or a slot above 255 does nothing; a file the reader
  // refuses is answered with "Unknown file format." and nothing is stored or
  // sent.
  WavImportResult ImportWavFile(std::string_view path);
  const std::string& LastWavPath() const { return mImporter.LastWavPath(); }
  bool Busy() const { return mBusy.load(); }
  int BrowserSelection() const { return mBrowserSelection.load(); }
  void SetBrowserSelection(int n) { mBrowserSelection.store(n); }

  // Builds, stores and (connected) uploads the first 1200 samples of buffer
  // under name to slot, then shows the name: for source A or B in the user
  // IR table (entry slot), the source's list row and the browser row; for a
  // factory slot (above 383) in that cabinet's list row.
  StoredIr StoreAndUpload(const IrDisplayBuffer& buffer, std::string_view name, int slot,
                          IrSource source);

  // Source A or B plays user IR slot under name: the name becomes the
  // source's name (and user IR slot's) and shows in the source's list row.
  void ShowSourceName(IrSource source, int slot, const std::string& name);

  // --- The pedal's impulse responses ----------------------------------------------
  void StoreReceivedIr(int slot, std::span<const std::uint8_t> image) override;
  void OnUploadStored() override;
  // Reloads the names of the factory cabinets and of the two sources' user
  // IRs from the store and shows them in the IR list rows.
  void RefreshIrList() override;
  void ReloadIrNames() override;
  // A name of the pedal's user-IR name pages, for a browser row.
  void SetUserIrListEntry(int row, std::string text) override;

  // --- Display ------------------------------------------------------------------------
  // Told every new response, on the UI thread (the application
  // hands the response to the graph and, when fromPedal is false, opens the
  // impulse-response block). fromPedal: the refresh followed an impulse
  // response the pedal sent, which must not change the block the user sees.
  using DisplayListener =
      std::function<void(const IrDisplayBuffer& response, bool fromPedal)>;
  // Before the first refresh.
  void SetDisplayListener(DisplayListener listener) { mDisplayListener = std::move(listener); }
  // The response for the current "IR" value and sources; published for the
  // graph once complete.
  void RefreshDisplay() { Refresh(false); }
  // UI thread: the latest response when it changed since the last call.
  std::optional<IrDisplayBuffer> TakeDisplay();

 private:
  IrSelection CurrentSelection() const;
  // Hand themselves to the UI thread, which runs the ...Now / ...Names part.
  void Refresh(bool fromPedal);
  void RefreshNow(bool fromPedal);
  void ShowIrListNames();
  void RunImportDialog();

  SessionState& mSession;
  EditorState& mEditor;
  ParameterAccess& mParams;
  WindowLink& mWindow;
  kr7::IrStore mStore;
  IrImporter mImporter;
  Uploader mUploader;  // UI thread only
  DisplayListener mDisplayListener;

  // The IR busy flag: an import is running, so the parameter-change handling
  // must not ask the pedal for the selected user IR meanwhile.
  std::atomic<bool> mBusy{false};
  std::atomic<int> mBrowserSelection{0};
  // The imported response, UI thread only.
  IrDisplayBuffer mImportBuffer{};

  std::mutex mDisplayMutex;
  IrDisplayBuffer mDisplay{};  // guarded by mDisplayMutex
  bool mDisplayChanged = false;  // guarded by mDisplayMutex
};

}  // namespace kr7
