#pragma once
// The pair of MIDI ports the pedal is reached through, on RtMidi.
//
// Both library objects are created once, with the client names
// "RtMidi Input Client" and "RtMidi Output Client"; each back end of the
// chosen order is tried in turn, because a machine without an ALSA sequencer
// makes the ALSA back end throw while JACK works fine. When no back end can be
// created the object is absent: nothing is received and SendSysEx returns
// false. The port name lists are read once, at construction.
//
// Threads: construction, selection and shutdown on the UI thread; SendSysEx
// from the UI and the audio thread; incoming messages go from the library's
// thread straight into MessagePump::OnMidiInput.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/SysExSender.h"

class RtMidiIn;
class RtMidiOut;

namespace kr7 {

class MessagePump;

enum class MidiBackend { Alsa, Jack };
enum class MidiDirection { Input, Output };

// The name offered for "no port"; entry 0 of both name lists.
inline constexpr std::string_view kMidiPortOff = "off";

// The order in which back ends are tried for a value of the `driver` setting:
// 1 puts JACK first, anything else keeps the library's own order.
std::vector<MidiBackend> MidiBackendOrder(unsigned driver);

// The port names a pedal search may try: the listed names without "off",
// without entries that could not be named, without the editor's own ports
// and without the built-in virtual pedal.
std::vector<std::string> SearchCandidates(const std::vector<std::string>& names);

class MidiPorts : public SysExSender {
 public:
  // Called when a stored port name no longer exists and became "off", so the
  // owner of the settings can store "off" and rewrite its file.
  using PortNameHook = std::function<void(MidiDirection, const std::string& storedName)>;

  // Tries the back ends in `order` (those not compiled into the library are
  // skipped). Of the ones that can be created, the first with at least one
  // port wins, else the first at all.
  MidiPorts(MessagePump& pump, std::span<const MidiBackend> order);
  ~MidiPorts() override;
  MidiPorts(const MidiPorts&) = delete;
  MidiPorts& operator=(const MidiPorts&) = delete;

  void SetPortNameHook(PortNameHook hook);

  bool HasInputObject() const;
  // The back end the objects were created on; nothing without either.
  std::optional<MidiBackend> Backend() const;
  bool HasOutputObject() const;

  // "off" followed by the library's port names, in its order.
  const std::vector<std::string>& InputNames() const { return mInputNames; }
  const std::vector<std::string>& OutputNames() const { return mOutputNames; }
  const std::string& SelectedInput() const { return mSelectedInput; }
  const std::string& SelectedOutput() const { return mSelectedOutput; }

  // "off" closes the port. Any other name must match a listed port exactly
  // (case counts); that port is then opened. A name that is not listed
  // becomes "off" (the hook is told) and the port is closed. Returns false
  // only when the library fails to open a listed port; the port is then
  // closed and the requested name kept, so the next start tries it again.
  bool SelectInput(const std::string& name);
  bool SelectOutput(const std::string& name);

  // Sends one whole message. False without an output object or when the
  // library reports an error; true without sending while the output is off.
  bool SendSysEx(std::span<const std::uint8_t> message) override;
  // The same road for a three-byte message; the editor itself never uses it.
  bool SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

  // Incoming MIDI is ignored from now on; the input callback is detached,
  // both ports closed and the library objects deleted (sending then returns
  // false). Also done by the destructor; calling it twice is harmless.
  void Shutdown();

 private:
  bool Select(MidiDirection direction, const std::string& name);
  bool Send(std::span<const std::uint8_t> message);

  MessagePump& mPump;
  std::unique_ptr<RtMidiIn> mInput;
  std::unique_ptr<RtMidiOut> mOutput;
  std::vector<std::string> mInputNames;
  std::vector<std::string> mOutputNames;
  std::string mSelectedInput{kMidiPortOff};
  std::string mSelectedOutput{kMidiPortOff};
  PortNameHook mPortNameHook;
  // Serialises the UI and audio threads on the output object, and a send
  // against the UI thread reopening the port.
  std::mutex mOutputMutex;
};

}  // namespace kr7
