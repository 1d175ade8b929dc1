#pragma once
// What the preferences dialog does, apart from drawing it: which entries are
// selected when it opens, the ports chosen as the user picks them, and what
// OK, Apply and Cancel do to the settings and the audio stream.
//
// A port picked in the dialog is opened at once and stays open even when the
// dialog is cancelled; Cancel only puts the stored names back (and restarts
// the audio when anything differed).

#include <string>
#include <vector>

#include "app/shell/Settings.h"

namespace kr7 {

// The shell's services the dialog works through.
class PreferencesHost {
 public:
  virtual ~PreferencesHost() = default;
  virtual const std::vector<std::string>& MidiInputNames() const = 0;
  virtual const std::vector<std::string>& MidiOutputNames() const = 0;
  virtual void SelectMidiInput(const std::string& name) = 0;
  virtual void SelectMidiOutput(const std::string& name) = 0;
  // Settings with which the audio stream was last started.
  virtual const AppSettings& LastAudioStart() const = 0;
  // Restarts the stream with the current settings (and records them).
  virtual void RestartAudio() = 0;
  // Builds the driver object again and probes the devices.
  virtual void RecreateAudioDriver() = 0;
  virtual void WriteSettings() = 0;
};

class PreferencesSession {
 public:
  struct Selection {
    int input = 0;
    int output = 0;
  };

  PreferencesSession(AppSettings& settings, PreferencesHost& host);

  // Selects the stored names; a name not in its list becomes "off" (entry 0)
  // and the settings file is written. Keeps a copy for Cancel.
  Selection Open();
  // The user picked an entry: it becomes the stored name and the port is
  // selected at once.
  void ChooseInput(int index);
  void ChooseOutput(int index);
  // A pedal search opened and stored a pair meanwhile: Cancel keeps it. The
  // entries to show for the stored names.
  Selection KeepFoundPorts();
  // Restarts the audio when the settings differ from the last start.
  void Ok();
  void Apply();
  // Puts the copy back when anything differs, then rebuilds and restarts the
  // audio. The ports opened meanwhile stay as they are.
  void Cancel();

 private:
  static int IndexOf(const std::vector<std::string>& names, const std::string& name);

  AppSettings& mSettings;
  PreferencesHost& mHost;
  AppSettings mCopy;
};

}  // namespace kr7
