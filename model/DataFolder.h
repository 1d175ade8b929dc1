#pragma once
// The per-user data folder: settings, the preset cache and the impulse-
// response caches live below it.
//
//   <base>/                  $XDG_DATA_HOME/KR7Control, else
//                            ~/.local/share/KR7Control; on Windows
//                            <local application data>\KR7Control
//   <base>/Presets/          preset cache, "%03d.dat" per slot
//   <base>/Factory IRs/      extracted factory impulse responses
//   <base>/User IRs/         user impulse responses
//   <base>/VirtualPedal/     the built-in virtual pedal's state (the shell's)
//
// A DataFolder is a plain value; tests build one on a temporary base. Paths
// are UTF-8, joined with "/" (which Windows takes too), and never end in a
// separator.

#include <string>
#include <string_view>

namespace kr7 {

inline constexpr std::string_view kDataFolderName = "KR7Control";
inline constexpr std::string_view kPresetsFolderName = "Presets";
inline constexpr std::string_view kFactoryIrsFolderName = "Factory IRs";
inline constexpr std::string_view kUserIrsFolderName = "User IRs";

class DataFolder {
 public:
  // Resolves the user's folder (see above); on POSIX HOME falls back to the
  // password database. Creates nothing.
  DataFolder();
  // Uses base as it stands (a trailing separator is dropped).
  explicit DataFolder(std::string base);

  const std::string& Base() const { return mBase; }
  std::string Presets() const;
  std::string FactoryIrs() const;
  std::string UserIrs() const;
  // base + "/" + name, for files kept directly in the folder.
  std::string File(std::string_view name) const;

  // Creates the base and its three sub-folders; true when all exist after.
  bool CreateAll() const;

  // The default base, resolved from the environment now.
  static std::string ResolveDefaultBase();

 private:
  std::string mBase;
};

// a + "/" + b, without doubling a separator already ending a.
std::string JoinPath(std::string_view a, std::string_view b);

// Creates path and any missing parents (mode 0755 on POSIX). True when the
// folder exists afterwards, whether or not it was created now.
bool CreateFolder(const std::string& path);

// Where the file name of a path starts: after its last backslash or '/' on
// every system, since names typed on Windows travel in files and settings;
// 0 without either.
std::size_t FileNameStart(std::string_view path);

}  // namespace kr7
