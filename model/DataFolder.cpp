#include "model/DataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kr7 {

namespace {

constexpr mode_t kFolderMode = 0755;

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    return home;
  }
  // Services and some sandboxes run without HOME; the account still has one.
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir) {
    return account->pw_dir;
  }
  return {};
}

}  // namespace

std::string JoinPath(std::string_view a, std::string_view b) {
  std::string joined(a);
  if (!joined.empty() && joined.back() != '/') {
    joined += '/';
  }
  joined += b;
  return joined;
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  // Walk the path one component at a time; an existing component is fine.
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string parent = path.substr(0, slash);
    if (::mkdir(parent.c_str(), kFolderMode) != 0 && errno != EEXIST) {
      return false;
    }
  }
  if (::mkdir(path.c_str(), kFolderMode) != 0 && errno != EEXIST) {
    return false;
  }
  return IsFolder(path);
}

std::string DataFolder::ResolveDefaultBase() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // The XDG rules ignore a relative value.
  if (dataHome != nullptr && dataHome[0] == '/') {
    return JoinPath(StripTrailingSlashes(dataHome), kDataFolderName);
  }
  const std::string home = HomeFolder();
  if (home.empty()) {
    // No usable home: stay in the working folder rather than the file-system root.
    return std::string(kDataFolderName);
  }
  return JoinPath(JoinPath(StripTrailingSlashes(home), ".local/share"), kDataFolderName);
}

DataFolder::DataFolder() : mBase(ResolveDefaultBase()) {}

DataFolder::DataFolder(std::string base) : mBase(StripTrailingSlashes(std::move(base))) {}

std::string DataFolder::Presets() const { return JoinPath(mBase, kPresetsFolderName); }

std::string DataFolder::FactoryIrs() const { return JoinPath(mBase, kFactoryIrsFolderName); }

std::string DataFolder::UserIrs() const { return JoinPath(mBase, kUserIrsFolderName); }

std::string DataFolder::File(std::string_view name) const { return JoinPath(mBase, name); }

bool DataFolder::CreateAll() const {
  const bool presets = CreateFolder(Presets());
  const bool factory = CreateFolder(FactoryIrs());
  const bool user = CreateFolder(UserIrs());
  return presets && factory && user;
}

}  // namespace kr7
