#pragma once
// The MIDI ports the user chooses from: the library's ports (MidiPorts)
// followed by the built-in virtual pedal, "KR7 Virtual Pedal (built in)", in
// both lists. Choosing it closes the library's port of that side and links
// the editor to the in-process pedal (pedal/BuiltInPedal.h), which is made
// the first time it is chosen and keeps its state in the data folder's
// "VirtualPedal" folder. Nothing of JACK, ALSA or any other back end here:
// the built-in pedal works wherever the editor runs.
//
// The pedal the editor talks to is the one on the output side; the kind hook
// hears whenever it changes between the built-in one and any other port
// ("off" changes nothing), so the shell can keep the two apart (window
// title, backup names, caches).
//
// Threads: everything on the UI thread, except SendSysEx (any thread).

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/SysExSender.h"
#include "device/ports/MidiPorts.h"
#include "model/DataFolder.h"
#include "pedal/BuiltInPedal.h"

namespace kr7 {

inline constexpr std::string_view kBuiltInPedalFolderName = "VirtualPedal";
// Backups made from the built-in pedal: VIRTUAL-KR7-YYYYMMDD-HHMMSS.r3b.
inline constexpr std::string_view kBuiltInBackupStem = "VIRTUAL-KR7";

// The preset and impulse-response caches hold one pedal's data at a time; a
// file beside them ("Cached Pedal") names whose. Records builtIn as the
// owner and returns true when the caches belonged to the other kind (a
// missing file stands for a real pedal, whose caches came first).
bool ClaimCaches(const DataFolder& folder, bool builtIn);

class PedalPorts final : public SysExSender {
 public:
  using KindHook = std::function<void(bool builtIn)>;

  // factoryBank: what a new built-in pedal starts from (may be empty).
  PedalPorts(MessagePump& pump, std::span<const MidiBackend> order, const DataFolder& folder,
             std::span<const std::uint8_t> factoryBank);
  ~PedalPorts() override;
  PedalPorts(const PedalPorts&) = delete;
  PedalPorts& operator=(const PedalPorts&) = delete;

  void SetPortNameHook(MidiPorts::PortNameHook hook) { mPorts.SetPortNameHook(std::move(hook)); }
  // Called by the first output selection of a port, then on every change
  // of kind.
  void SetKindHook(KindHook hook) { mKindHook = std::move(hook); }

  // The library's back end (the pedal search's probe uses it).
  std::optional<MidiBackend> Backend() const { return mPorts.Backend(); }
  // "off", the library's ports, then the built-in pedal.
  const std::vector<std::string>& InputNames() const { return mInputNames; }
  const std::vector<std::string>& OutputNames() const { return mOutputNames; }
  // As MidiPorts::SelectInput/SelectOutput, plus the built-in pedal.
  bool SelectInput(const std::string& name);
  bool SelectOutput(const std::string& name);
  bool BuiltInChosen() const { return mBuiltInOutput.load() != nullptr; }

  bool SendSysEx(std::span<const std::uint8_t> message) override;

  // Incoming MIDI ignored, the library's ports closed, the built-in pedal
  // stopped (its state is saved already). Also done by the destructor.
  void Shutdown();

 private:
  pedal::BuiltInPedal& BuiltIn();

  MessagePump& mPump;
  MidiPorts mPorts;
  std::string mFolder;
  std::vector<std::uint8_t> mFactoryBank;
  std::vector<std::string> mInputNames;
  std::vector<std::string> mOutputNames;
  std::unique_ptr<pedal::BuiltInPedal> mBuiltIn;
  std::atomic<pedal::BuiltInPedal*> mBuiltInOutput{nullptr};
  KindHook mKindHook;
  std::optional<bool> mKind;  // nothing before the first output selection
};

}  // namespace kr7
