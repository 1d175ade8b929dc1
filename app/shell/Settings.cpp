#include "app/shell/Settings.h"

#include <SimpleIni.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "model/DataFolder.h"
#include "model/FileIO.h"
#include "model/SystemFiles.h"

namespace kr7 {
namespace {

constexpr const char* kAudio = "audio";
constexpr const char* kMidi = "midi";
constexpr const char* kGui = "GUI";
constexpr const char* kBackup = "backup";
// The file format stores strings in 100-character buffers: longer values are
// cut to 99 characters when read.
constexpr std::size_t kMaxStringLength = 99;
// A settings file holds a few hundred bytes; reading stops far beyond.
constexpr std::size_t kMaxSettingsFile = 1 << 20;

std::string ReadString(const CSimpleIniA& ini, const char* section, const char* key,
                       const std::string& fallback) {
  std::string value = ini.GetValue(section, key, fallback.c_str());
  if (value.size() > kMaxStringLength) value.resize(kMaxStringLength);
  return value;
}

unsigned ReadUnsigned(const CSimpleIniA& ini, const char* section, const char* key,
                      unsigned fallback) {
  const char* text = ini.GetValue(section, key, nullptr);
  if (!text) return fallback;
  char* end = nullptr;
  errno = 0;
  unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || errno != 0) return fallback;
  return static_cast<unsigned>(value);
}

int ReadInt(const CSimpleIniA& ini, const char* section, const char* key, int fallback) {
  const char* text = ini.GetValue(section, key, nullptr);
  if (!text) return fallback;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 10);
  if (end == text || errno != 0) return fallback;
  return static_cast<int>(value);
}

void Put(CSimpleIniA& ini, const char* section, const char* key, const std::string& value) {
  ini.SetValue(section, key, value.c_str());
}

void PutUnsigned(CSimpleIniA& ini, const char* section, const char* key, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", value);
  ini.SetValue(section, key, text);
}

void PutInt(CSimpleIniA& ini, const char* section, const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  ini.SetValue(section, key, text);
}

// Read and written through our own file layer, so that a path in any
// language reaches the system intact.
bool LoadIni(const std::string& path, CSimpleIniA& ini) {
  FileReader file(path);
  if (!file.IsOpen()) return false;
  const std::vector<std::uint8_t> text = file.ReadAll(kMaxSettingsFile);
  return ini.LoadData(reinterpret_cast<const char*>(text.data()), text.size()) >= 0;
}

// Saves through a synced temporary file, so that neither a failed write nor
// a power cut leaves a half-written or empty settings file behind.
bool SaveIni(const std::string& path, const CSimpleIniA& ini) {
  std::string text;
  if (ini.Save(text) < 0) return false;
  return WriteFileAtomically(path, text.data(), text.size());
}

}  // namespace

SettingsFile::SettingsFile(std::string dataFolder)
    : mFolder(std::move(dataFolder)), mPath(mFolder + "/settings.ini") {}

AppSettings SettingsFile::LoadAndRewrite() {
  AppSettings settings;
  const bool folderExisted = sys::IsFolder(mFolder);
  if (!folderExisted) CreateFolder(mFolder);
  CSimpleIniA ini;
  if (folderExisted && LoadIni(mPath, ini)) {
    AudioSection& a = settings.audio;
    a.driver = ReadUnsigned(ini, kAudio, "driver", a.driver);
    a.inputDevice = ReadString(ini, kAudio, "indev", a.inputDevice);
    a.outputDevice = ReadString(ini, kAudio, "outdev", a.outputDevice);
    a.in1 = ReadUnsigned(ini, kAudio, "in1", a.in1);
    a.in2 = ReadUnsigned(ini, kAudio, "in2", a.in2);
    a.out1 = ReadUnsigned(ini, kAudio, "out1", a.out1);
    a.out2 = ReadUnsigned(ini, kAudio, "out2", a.out2);
    a.bufferFrames = ReadInt(ini, kAudio, "buffer", a.bufferFrames);
    a.sampleRate = ReadInt(ini, kAudio, "sr", a.sampleRate);
    MidiSection& m = settings.midi;
    m.inputPort = ReadString(ini, kMidi, "indev", m.inputPort);
    m.outputPort = ReadString(ini, kMidi, "outdev", m.outputPort);
    m.inputChannel = ReadUnsigned(ini, kMidi, "inchan", m.inputChannel);
    m.outputChannel = ReadUnsigned(ini, kMidi, "outchan", m.outputChannel);
    settings.backup.enabled = ReadUnsigned(ini, kBackup, "enabled", settings.backup.enabled);
  }
  Write(settings);
  return settings;
}

bool SettingsFile::Write(const AppSettings& settings) const {
  CSimpleIniA ini;
  LoadIni(mPath, ini);
  const AudioSection& a = settings.audio;
  PutUnsigned(ini, kAudio, "driver", a.driver);
  Put(ini, kAudio, "indev", a.inputDevice);
  Put(ini, kAudio, "outdev", a.outputDevice);
  PutUnsigned(ini, kAudio, "in1", a.in1);
  PutUnsigned(ini, kAudio, "in2", a.in2);
  PutUnsigned(ini, kAudio, "out1", a.out1);
  PutUnsigned(ini, kAudio, "out2", a.out2);
  PutInt(ini, kAudio, "buffer", a.bufferFrames);
  PutInt(ini, kAudio, "sr", a.sampleRate);
  const MidiSection& m = settings.midi;
  Put(ini, kMidi, "indev", m.inputPort);
  Put(ini, kMidi, "outdev", m.outputPort);
  PutUnsigned(ini, kMidi, "inchan", m.inputChannel);
  PutUnsigned(ini, kMidi, "outchan", m.outputChannel);
  PutUnsigned(ini, kBackup, "enabled", settings.backup.enabled);
  return SaveIni(mPath, ini);
}

double SettingsFile::ReadScale() const {
  CSimpleIniA ini;
  if (!LoadIni(mPath, ini)) return kDefaultScale;
  const char* text = ini.GetValue("gui", "scale", nullptr);
  if (!text) return kDefaultScale;
  char* end = nullptr;
  double scale = std::strtod(text, &end);
  if (end == text || !(scale > 0.0)) return kDefaultScale;
  return scale;
}

bool SettingsFile::WriteScale(double scale) const {
  CSimpleIniA ini;
  LoadIni(mPath, ini);
  char text[32];
  std::snprintf(text, sizeof text, "%f", scale);
  ini.SetValue(kGui, "scale", text);
  return SaveIni(mPath, ini);
}

}  // namespace kr7
