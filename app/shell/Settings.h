#pragma once
// settings.ini in the per-user data folder: the audio and MIDI choices, the
// automatic backup switch and the window scale. Sections and keys are compared without regard to case; every
// key is written back at start so the file always holds a complete set.

#include <optional>
#include <string>

namespace kr7 {

struct AudioSection {
  unsigned driver = 0;  // 0: the API the audio library picks, 1: JACK
  std::string inputDevice = "Built-in Input";
  std::string outputDevice = "Built-in Output";
  unsigned in1 = 1, in2 = 2, out1 = 1, out2 = 2;
  int bufferFrames = 512;
  int sampleRate = 44100;
  friend bool operator==(const AudioSection&, const AudioSection&) = default;
};

struct MidiSection {
  std::string inputPort = "no input";
  std::string outputPort = "no output";
  unsigned inputChannel = 0, outputChannel = 0;
  friend bool operator==(const MidiSection&, const MidiSection&) = default;
};

// Not a setting of the dialog: edited in the file by whoever wants it off.
struct BackupSection {
  unsigned enabled = 1;  // back up the pedal before its bank is overwritten
  friend bool operator==(const BackupSection&, const BackupSection&) = default;
};

struct AppSettings {
  AudioSection audio;
  MidiSection midi;
  BackupSection backup;
  friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

inline constexpr double kDefaultScale = 0.5;

class SettingsFile {
 public:
  explicit SettingsFile(std::string dataFolder);

  const std::string& Path() const { return mPath; }

  // Creates the folder when missing (keeping the defaults), reads every key of
  // an existing file, then writes all keys back.
  AppSettings LoadAndRewrite();
  // Writes the audio, midi and backup sections, keeping whatever else the
  // file holds.
  bool Write(const AppSettings& settings) const;

  // The window scale of section "GUI"; the default when absent or unreadable.
  double ReadScale() const;
  bool WriteScale(double scale) const;

 private:
  std::string mFolder;
  std::string mPath;
};

}  // namespace kr7
