#pragma once
// The host object of the standalone program: owns the settings, the
// application object, the MIDI ports and the audio stream, in the order they
// are made at start and undone at shutdown. Also the preferences dialog's
// view of the shell.

#include <functional>
#include <memory>
#include <string>

#include "app/core/KR7Control.h"
#include "app/shell/PedalDetection.h"
#include "app/shell/PedalPorts.h"
#include "app/shell/Preferences.h"
#include "app/shell/Settings.h"
#include "device/ports/AudioStream.h"
#include "device/ports/MidiPortProbe.h"
#include "device/PumpTimer.h"

namespace kr7::shell {

class Host final : public PreferencesHost {
 public:
  // Start step 3 and the settings: the application object and what it
  // needs before the window opens. No device is touched yet.
  explicit Host(DataFolder folder);
  // Shows a message of the audio stream (informative, never waits).
  using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;
  // The window says which pedal it talks to: builtIn while the built-in
  // virtual pedal is the one (its title: kBuiltInPedalTitle).
  using PedalKindHook = std::function<void(bool builtIn)>;
  // Set before OpenDevices, which already tells it.
  void SetPedalKindHook(PedalKindHook hook) { mPedalKindHook = std::move(hook); }

  // The rest of start steps 4 and 5, run once the window showed its first
  // frame: the MIDI ports opened by their stored names, the pump timer (MIDI
  // works without sound) and the pedal greeted, then the audio driver and its
  // devices and the audio stream. Their messages go to showMessage. Does
  // nothing the second time.
  void OpenDevices(MessageHook showMessage);
  // Shutdown: incoming MIDI ignored from now on, the timer and the stream
  // stopped, the ports closed, then the objects deleted in reverse order.
  ~Host() override;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  KR7Control& Control() { return *mControl; }
  SettingsFile& Settings() { return mSettingsFile; }
  AppSettings& CurrentSettings() { return mSettings; }
  // The pedal search ("Find Pedal" and the start-up watch); nullptr when no
  // MIDI back end could be created.
  PedalDetection* Detection() { return mDetection.get(); }

  // PreferencesHost
  const std::vector<std::string>& MidiInputNames() const override { return mPorts->InputNames(); }
  const std::vector<std::string>& MidiOutputNames() const override {
    return mPorts->OutputNames();
  }
  void SelectMidiInput(const std::string& name) override { mPorts->SelectInput(name); }
  void SelectMidiOutput(const std::string& name) override { mPorts->SelectOutput(name); }
  const AppSettings& LastAudioStart() const override { return mLastAudioStart; }
  void RestartAudio() override;
  void RecreateAudioDriver() override;
  void WriteSettings() override { mSettingsFile.Write(mSettings); }

 private:
  AudioSettings StreamSettings() const;
  // The built-in virtual pedal became the one talked to, or stopped being it.
  void OnPedalKind(bool builtIn);

  MessageHook mShowMessage;
  PedalKindHook mPedalKindHook;
  SettingsFile mSettingsFile;
  AppSettings mSettings;
  AppSettings mLastAudioStart;
  std::unique_ptr<KR7Control> mControl;
  std::unique_ptr<AudioStream> mAudio;
  std::unique_ptr<PedalPorts> mPorts;
  std::unique_ptr<PumpTimer> mPumpTimer;
  std::unique_ptr<MidiPortProbe> mProbe;
  std::unique_ptr<PedalDetection> mDetection;
};

}  // namespace kr7::shell
