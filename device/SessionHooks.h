#pragma once
// What the device session needs from the application around it.
//
// The session decides when to send and what a reply means; applying values to
// parameters, decoding presets, storing impulse responses and running streams
// belong to other units that the application object wires in through these
// interfaces. Unless stated otherwise the receive-handler side of each method
// is called on the audio thread and the tick side on the UI thread.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kr7 {

class EditorView;

// What every unit that acts on the pedal's data needs: the link, the window
// seam, a message for the idle step and the parameters.
class PedalDataHost {
 public:
  virtual ~PedalDataHost() = default;

  // Sends one complete message to the pedal (either thread).
  virtual void Send(std::span<const std::uint8_t> message) = 0;
  // The window seam; calls from the audio thread are deferred by it.
  virtual EditorView& View() = 0;
  // Whether a window is open (some replies act only then).
  virtual bool HasWindow() const = 0;
  // A text for the idle step to show in a message box.
  virtual void SetPendingMessage(std::string text) = 0;

  // Integer value of a parameter.
  virtual int ParamInt(int index) const = 0;
  // Sets parameter index from a raw 7-bit value, runs the parameter-change
  // handler and queues the new value for the controls.
  virtual void SetParamFromRaw(int index, int raw) = 0;
  // Same from a normalised position.
  virtual void SetParamFromPosition(int index, double position) = 0;
};

class SessionHost : public PedalDataHost {
 public:

  // Applies the preset active on the pedal (a PresetDump outside fetch
  // mode): slot, list highlight, and when the checksum holds the payload.
  // Returns whether the checksum held.
  virtual bool ApplyActivePreset(std::span<const std::uint8_t> dump) = 0;
  // Applies a settings block (GlobalBlock type 0) received while connected.
  virtual void ApplySettingsBlock(std::span<const std::uint8_t> block) = 0;
  // GlobalBlock type 1 and 2 from the pedal.
  virtual void ApplyControllerMap(std::span<const std::uint8_t> block) = 0;
  virtual void ApplyProgramMap(std::span<const std::uint8_t> block) = 0;

  // The preset-list entry of slot changed in the cache; show it.
  virtual void ShowPresetListEntry(int slot) = 0;
  // Row (0..31) of the user impulse-response browser shows text.
  virtual void SetUserIrListEntry(int row, std::string text) = 0;

  // The main page's save procedure: a dump arrived while it was pending.
  virtual void StoreSavedPreset(std::span<const std::uint8_t> dump) = 0;
  // A received impulse-response image (already unpacked) for slot.
  virtual void StoreReceivedIr(int slot, std::span<const std::uint8_t> image) = 0;
  // Reloads the names of the impulse-response lists from the store.
  virtual void RefreshIrList() = 0;
  // Continues a preset-file import after its impulse responses were stored.
  virtual void ContinuePresetFileImport() = 0;
  // Stores the editor's current preset into the pedal (PresetStore).
  virtual void SendPresetStore() = 0;
};

// Size of one impulse-response image (kind, gain, 32-byte name, 1200
// samples); a dump or file of any other size is not one.
inline constexpr std::size_t kIrImageSize = 2436;

// Whether the local store holds a user impulse response.
class IrStoreQuery {
 public:
  virtual ~IrStoreQuery() = default;
  virtual bool HasUserIr(int slot) const = 0;
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

  // Receive side: the firmware transfer runs (changes how messages are
  // recognised) and the export mode takes preset and IR dumps.
  virtual bool FirmwareRunning() const { return false; }
  virtual bool ExportActive() const { return false; }
  // A message the session does not handle itself (stream replies, loader
  // replies, dumps in export mode). Returns whether it was used.
  virtual bool OnStreamMessage(std::span<const std::uint8_t> /*message*/) { return false; }
};

}  // namespace kr7
