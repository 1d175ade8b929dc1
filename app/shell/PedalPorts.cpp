#include "app/shell/PedalPorts.h"

#include "model/FileIO.h"
#include "model/UserTexts.h"

namespace kr7 {
namespace {

constexpr std::string_view kCachedPedalFileName = "Cached Pedal";
constexpr std::string_view kBuiltInOwner = "built in\n";
constexpr std::string_view kPedalOwner = "pedal\n";

std::vector<std::string> WithBuiltIn(std::vector<std::string> names) {
  names.emplace_back(kBuiltInPedalPortName);
  return names;
}

}  // namespace

bool ClaimCaches(const DataFolder& folder, bool builtIn) {
  const std::string path = folder.File(kCachedPedalFileName);
  FileReader reader(path);
  const Bytes held = reader.IsOpen() ? reader.ReadAll(kBuiltInOwner.size() + 1) : Bytes{};
  const bool heldBuiltIn = std::string_view(reinterpret_cast<const char*>(held.data()),
                                            held.size()) == kBuiltInOwner;
  if (heldBuiltIn == builtIn && reader.IsOpen()) return false;
  const std::string_view owner = builtIn ? kBuiltInOwner : kPedalOwner;
  WriteFileAtomically(path, owner.data(), owner.size());
  return heldBuiltIn != builtIn;
}

PedalPorts::PedalPorts(MessagePump& pump, std::span<const MidiBackend> order,
                       const DataFolder& folder, std::span<const std::uint8_t> factoryBank)
    : mPump(pump),
      mPorts(pump, order),
      mFolder(JoinPath(folder.Base(), kBuiltInPedalFolderName)),
      mFactoryBank(factoryBank.begin(), factoryBank.end()),
      mInputNames(WithBuiltIn(mPorts.InputNames())),
      mOutputNames(WithBuiltIn(mPorts.OutputNames())) {}

PedalPorts::~PedalPorts() { Shutdown(); }

pedal::BuiltInPedal& PedalPorts::BuiltIn() {
  if (!mBuiltIn) {
    mBuiltIn = std::make_unique<pedal::BuiltInPedal>(
        mFolder, mFactoryBank, [this](ByteSpan reply) { mPump.OnMidiInput(reply); });
  }
  return *mBuiltIn;
}

bool PedalPorts::SelectInput(const std::string& name) {
  const bool builtIn = name == kBuiltInPedalPortName;
  if (builtIn) BuiltIn().SetListening(true);
  else if (mBuiltIn) mBuiltIn->SetListening(false);
  return mPorts.SelectInput(builtIn ? std::string(kMidiPortOff) : name);
}

bool PedalPorts::SelectOutput(const std::string& name) {
  const bool builtIn = name == kBuiltInPedalPortName;
  mBuiltInOutput.store(builtIn ? &BuiltIn() : nullptr);
  const bool opened = mPorts.SelectOutput(builtIn ? std::string(kMidiPortOff) : name);
  // "off" (a pedal search closes the ports while it runs) talks to no pedal
  // and leaves the kind as it was.
  if (name == kMidiPortOff || mKind == builtIn) return opened;
  mKind = builtIn;
  if (mKindHook) mKindHook(builtIn);
  return opened;
}

bool PedalPorts::SendSysEx(std::span<const std::uint8_t> message) {
  if (pedal::BuiltInPedal* builtIn = mBuiltInOutput.load()) return builtIn->SendSysEx(message);
  return mPorts.SendSysEx(message);
}

void PedalPorts::Shutdown() {
  mBuiltInOutput.store(nullptr);
  mPorts.Shutdown();
  mBuiltIn.reset();
}

}  // namespace kr7
