#include "model/DataFolder.h"

#include <utility>

#include "model/SystemFiles.h"

namespace kr7 {

namespace {

bool IsSeparator(char c) { return sys::kFolderSeparators.find(c) != std::string_view::npos; }

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && IsSeparator(path.back())) {
    path.pop_back();
  }
  return path;
}

}  // namespace

std::string JoinPath(std::string_view a, std::string_view b) {
  std::string joined(a);
  if (!joined.empty() && !IsSeparator(joined.back())) {
    joined += '/';
  }
  joined += b;
  return joined;
}

bool CreateFolder(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  // Walk the path one component at a time. A parent that cannot be made
  // (a drive, a server's share, a folder of another user) may exist all the
  // same: only the last step decides.
  for (std::size_t cut = path.find_first_of(sys::kFolderSeparators, 1); cut != std::string::npos;
       cut = path.find_first_of(sys::kFolderSeparators, cut + 1)) {
    sys::MakeFolder(path.substr(0, cut));
  }
  return sys::MakeFolder(path);
}

std::string DataFolder::ResolveDefaultBase() { return sys::UserDataFolder(); }

std::size_t FileNameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? 0 : separator + 1;
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
