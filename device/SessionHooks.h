#pragma once
// The roles the device session and the long transfers need from the units
// around them. Each role is implemented by the unit that owns its state (the
// window hand-off, the parameter-change handling, the preset decoder, the
// settings application, the IR flows, the preset-file flows); the
// application object only connects them.
//
// Unless stated otherwise the receive-handler side of each method is called
// on the audio thread and the tick side on the UI thread.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "device/Messages.h"
#include "device/SysExSender.h"

namespace kr7 {

class EditorView;

// Size of one impulse-response image (kind, gain, 32-byte name, 1200
// samples); a dump or file of any other size is not one.
inline constexpr std::size_t kIrImageSize = 2436;

// File work the audio thread hands to the UI thread, made without
// allocating: a plain function and its owner, with a number, two flags and up
// to one IR image of bytes copied in by value.
struct UiTask {
  using Run = void (*)(void* owner, const UiTask& task);

  UiTask() = default;
  UiTask(Run run, void* owner, int number = 0, bool first = false, bool second = false)
      : run(run), owner(owner), number(number), first(first), second(second) {}

  // Copies the bytes in; more than an IR image is cut to it.
  UiTask& WithBytes(std::span<const std::uint8_t> data) {
    size = std::min(data.size(), bytes.size());
    std::copy_n(data.begin(), size, bytes.begin());
    return *this;
  }
  std::span<const std::uint8_t> Bytes() const { return {bytes.data(), size}; }
  void operator()() const {
    if (run != nullptr) run(owner, *this);
  }

  Run run = nullptr;
  void* owner = nullptr;
  int number = 0;
  bool first = false;
  bool second = false;
  std::size_t size = 0;
  std::array<std::uint8_t, kIrImageSize> bytes{};
};

// The optional window as the logic reaches it.
class WindowLink {
 public:
  virtual ~WindowLink() = default;
  // The window seam; calls from the audio thread are handed to the UI thread.
  virtual EditorView& View() = 0;
  // Whether a window is open (some replies act only then).
  virtual bool HasWindow() const = 0;
  // A text for the idle step to show in a message box.
  virtual void SetPendingMessage(std::string text) = 0;
  // File work the audio thread must not wait for (the pump's rings hold only
  // a few messages): runs on the UI thread after every window call made
  // before it and before every one made after it - at once when called
  // there, otherwise at the next 20 ms timer step, with or without a window.
  virtual void RunOnUiThread(const UiTask& task) = 0;
  // The receive step, before each message: hands over the work a full
  // hand-off held back, oldest first; false while some is still held.
  virtual bool HandOverHeldWork() { return true; }
};

// The parameter table with its change handling.
class ParameterAccess {
 public:
  virtual ~ParameterAccess() = default;
  // Integer value of a parameter; 0 for an index outside the table.
  virtual int ParamInt(int index) const = 0;
  // Sets parameter index from a raw 7-bit value, runs the parameter-change
  // handler and moves the controls bound to it.
  virtual void SetParamFromRaw(int index, int raw) = 0;
  // Same from a normalised position.
  virtual void SetParamFromPosition(int index, double position) = 0;
};

// Where the session's presets go: the preset decoder.
class PresetSink {
 public:
  virtual ~PresetSink() = default;
  // Applies the preset active on the pedal (a PresetDump outside fetch
  // mode): slot, list highlight, and when the checksum holds the payload.
  // Returns whether the checksum held.
  virtual bool ApplyActivePreset(const PresetDump& dump) = 0;
  // The main page's save procedure: the stored preset's dump arrived.
  virtual void StoreSavedPreset(const PresetDump& dump) = 0;
  // The preset-list entry of slot changed in the cache; show it.
  virtual void ShowPresetListEntry(int slot) = 0;
  // The fetch could not read slot: its row shows that its entry may be old.
  virtual void MarkUnreadPreset(int slot) = 0;
};

// Where the pedal's global blocks go (type 0 received while connected, 1
// and 2).
class SettingsSink {
 public:
  virtual ~SettingsSink() = default;
  virtual void ApplySettingsBlock(const GlobalBlock& block) = 0;
  virtual void ApplyControllerMap(const GlobalBlock& block) = 0;
  virtual void ApplyProgramMap(const GlobalBlock& block) = 0;
};

// Where the pedal's impulse responses and their names go: the IR flows.
class IrSink {
 public:
  virtual ~IrSink() = default;
  // A received impulse-response image (already unpacked) for slot.
  virtual void StoreReceivedIr(int slot, std::span<const std::uint8_t> image) = 0;
  // The pedal acknowledged the upload that waited (IrStoredAck): the local
  // store takes its image now.
  virtual void OnUploadStored() = 0;
  // Reloads the names of the impulse-response lists from the store.
  virtual void RefreshIrList() = 0;
  // Reads every stored name again (after the cache files went) and shows
  // them in the IR list and the browser rows of the current bank.
  virtual void ReloadIrNames() = 0;
  // Row (0..31) of the user impulse-response browser shows text.
  virtual void SetUserIrListEntry(int row, std::string text) = 0;
};

// Whether the local store holds a user impulse response.
class IrStoreQuery {
 public:
  virtual ~IrStoreQuery() = default;
  virtual bool HasUserIr(int slot) const = 0;
};

// The preset-file import's stages that follow the pedal's replies.
class PresetFileImport {
 public:
  virtual ~PresetFileImport() = default;
  // Continues an import after its first impulse response was stored.
  virtual void ContinueAfterAck() = 0;
  // After its last impulse response: stores the imported preset into the
  // slot the import started on (PresetStore).
  virtual void StoreImportedPreset() = 0;
};

// Clearing the local caches (menu command, factory resets, bank import).
class CacheReset {
 public:
  virtual ~CacheReset() = default;
  // Deletes the cached presets and impulse responses and rebuilds the preset
  // list by slot, so that the next checksum comparison fetches every slot the
  // pedal changed (UI thread).
  virtual void ClearCachesAndRebuild() = 0;
};

// The file name last chosen in a preset or bank dialog, offered as the next
// dialog's initial name (UI thread).
class PathMemory {
 public:
  virtual ~PathMemory() = default;
  // Empty when none was chosen yet.
  virtual const std::string& RememberedPath() const = 0;
  // False (and the old path kept) for a path that does not fit.
  virtual bool RememberPath(std::string_view path) = 0;
};

// Everything the session talks to besides its own state and the cache.
struct SessionRoles {
  SysExSender& sender;
  WindowLink& window;
  ParameterAccess& params;
  PresetSink& presets;
  SettingsSink& settings;
  IrSink& irs;
  const IrStoreQuery& irStore;
  PresetFileImport& presetFiles;
};

// The stream branches of the device tick and the receive handler (bulk
// streams, firmware, bank transfer). Each Step returns true when it took the
// tick, which then ends. The defaults run nothing, so a session without
// streams behaves as if none were ever started.
class StreamHooks {
 public:
  virtual ~StreamHooks() = default;

  // Tick step 2, when no DoneAck is waiting: completes a finished import.
  virtual void ImportCompletionStep() {}
  // Tick steps 4 to 7, in this order.
  virtual bool FirmwareStep() { return false; }
  virtual bool FactoryStep() { return false; }
  virtual bool ImportStep(bool /*connected*/) { return false; }
  virtual bool ExportStep(bool /*connected*/) { return false; }
  // Tick step 10.
  virtual void IrUploadStep() {}
  // RECONNECT: every running transfer ends, without a message.
  virtual void EndTransfers() {}
  // The 20 ms idle step: questions a transfer left for it.
  virtual void IdleStep() {}
  // The pedal stored an uploaded impulse response (IrStoredAck) or refused
  // something (ErrorAck, refused): an upload waiting for it is over.
  virtual void OnIrUploadEnded(bool /*refused*/) {}
  // IrStoredAck: true when an upload waited for it (and is now over); a late
  // or stray one is not taken.
  virtual bool OnIrStored() { return false; }

  // Receive side: the firmware transfer runs (changes how messages are
  // recognised) and the export mode takes preset and IR dumps.
  virtual bool FirmwareRunning() const { return false; }
  virtual bool ExportActive() const { return false; }
  // A message the session does not handle itself (stream replies, loader
  // replies, dumps in export mode), as the session recognised it. Returns
  // whether it was used.
  virtual bool OnStreamMessage(const PedalMessage& /*recognised*/,
                               std::span<const std::uint8_t> /*message*/) {
    return false;
  }
};

}  // namespace kr7
