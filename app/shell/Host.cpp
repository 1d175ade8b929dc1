#include "app/shell/Host.h"

#include "device/BankBackup.h"
#include "resources/Resources.h"

namespace kr7::shell {

Host::Host(DataFolder folder) : mSettingsFile(folder.Base()) {
  mControl = std::make_unique<KR7Control>(folder);
  // The embedded factory bank and cabinets reach the window-free core here.
  mControl->Streams().SetFactoryBankProvider(
      [] { return FindResource(kResourceIdFactoryBank); });
  mSettings = mSettingsFile.LoadAndRewrite();
  mControl->Streams().Backup().SetEnabled(mSettings.backup.enabled != 0);
}

void Host::OpenDevices(MessageHook showMessage) {
  if (mPorts) return;
  mShowMessage = std::move(showMessage);
  // The MIDI ports first, and the pedal greeted at once: probing the audio
  // driver's devices takes a quarter of a second, during which the pedal's
  // replies are handled as they arrive.
  const std::vector<MidiBackend> order = MidiBackendOrder(mSettings.audio.driver);
  mPorts = std::make_unique<PedalPorts>(
      mControl->Pump(), order, mControl->Folder(),
      FindResource(kResourceIdFactoryBank).value_or(std::span<const std::uint8_t>{}));
  mPorts->SetKindHook([this](bool builtIn) { OnPedalKind(builtIn); });
  mPorts->SetPortNameHook([this](MidiDirection direction, const std::string&) {
    (direction == MidiDirection::Input ? mSettings.midi.inputPort : mSettings.midi.outputPort) =
        std::string(kMidiPortOff);
    WriteSettings();
  });
  mPorts->SelectInput(mSettings.midi.inputPort);
  mPorts->SelectOutput(mSettings.midi.outputPort);
  mControl->SetSysExSender(mPorts.get());
  if (const std::optional<MidiBackend> backend = mPorts->Backend()) {
    mProbe = std::make_unique<MidiPortProbe>(*backend);
    mDetection = std::make_unique<PedalDetection>(
        *mProbe, *this, mSettings, mControl->Session(), [this](std::string_view text, bool reconnect) {
          // Reconnecting empties the device line, so the text comes after.
          if (reconnect) mControl->SessionLogic().Reconnect();
          mControl->ShowConnectionStatus(text);
        });
  }

  // Replies are handled as they arrive, and the timer keeps the link alive
  // while no audio stream runs.
  mControl->Pump().SetReceiveOnInput(true);
  mPumpTimer = std::make_unique<PumpTimer>(mControl->Pump());
  mControl->SessionLogic().ReconnectNow();

  mAudio = std::make_unique<AudioStream>(mControl->Pump());
  mAudio->SetMessageHook([this](const std::string& text, const std::string& caption) {
    if (mShowMessage) mShowMessage(text, caption);
  });
  mAudio->SetDeviceNameHook([this](AudioSide side, const std::string& name) {
    (side == AudioSide::Output ? mSettings.audio.outputDevice : mSettings.audio.inputDevice) =
        name;
    WriteSettings();
  });
  mAudio->CreateDriver(mSettings.audio.driver);
  RestartAudio();
}

void Host::OnPedalKind(bool builtIn) {
  mControl->Streams().Backup().SetNameStem(builtIn ? kBuiltInBackupStem : kBackupStem);
  if (ClaimCaches(mControl->Folder(), builtIn)) mControl->Caches().ClearCachesAndRebuild();
  if (mPedalKindHook) mPedalKindHook(builtIn);
  // Another pedal on the line: it is greeted afresh rather than taken for
  // the one that was connected.
  if (mControl->Session().connected.load()) mControl->SessionLogic().Reconnect();
}

Host::~Host() {
  mDetection.reset();
  mProbe.reset();
  mControl->Pump().SetShuttingDown();
  mPumpTimer.reset();
  if (mAudio) mAudio->Stop();
  if (mPorts) mPorts->Shutdown();
  mControl->SetSysExSender(nullptr);
  mPorts.reset();
  mAudio.reset();
  mControl.reset();
}

AudioSettings Host::StreamSettings() const {
  AudioSettings stream;
  stream.driver = mSettings.audio.driver;
  stream.inputDevice = mSettings.audio.inputDevice;
  stream.outputDevice = mSettings.audio.outputDevice;
  stream.sampleRate = mSettings.audio.sampleRate;
  stream.bufferFrames = mSettings.audio.bufferFrames;
  return stream;
}

void Host::RestartAudio() {
  mAudio->Start(StreamSettings());
  mLastAudioStart = mSettings;
}

void Host::RecreateAudioDriver() { mAudio->CreateDriver(mSettings.audio.driver); }

}  // namespace kr7::shell
