#pragma once
// The pedal search's ports on RtMidi: one input object per listening port and
// one output object per port, all on clients of their own
// ("KR7Control Search"), so the editor's pair is never touched.
//
// Threads: everything on the UI thread; the listener runs on the library's
// input threads.

#include <memory>
#include <vector>

#include "device/PedalSearch.h"
#include "device/ports/MidiPorts.h"

class RtMidiIn;
class RtMidiOut;

namespace kr7 {

class MidiPortProbe final : public PortProbe {
 public:
  explicit MidiPortProbe(MidiBackend backend);
  ~MidiPortProbe() override;

  bool Open(std::span<const std::string> inputs, std::span<const std::string> outputs,
            Listener listener) override;
  bool SendTo(std::size_t output, ByteSpan message) override;
  void Close() override;

 private:
  struct Input;

  MidiBackend mBackend;
  Listener mListener;
  std::vector<std::unique_ptr<Input>> mInputs;
  std::vector<std::unique_ptr<RtMidiOut>> mOutputs;
};

}  // namespace kr7
