#pragma once
// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes away. Its path is UTF-8, as the program's file
// functions take it on every platform.

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace kr7::test {

class TempFolder {
 public:
  TempFolder() {
    // A random name made by hand: mkdtemp is POSIX only.
    std::mt19937_64 random(std::random_device{}());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && mPath.empty(); ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "kr7-test-%016llx", static_cast<unsigned long long>(random()));
      std::error_code error;
      if (!std::filesystem::create_directory(base / name, error)) continue;
      mFolder = base / name;
      const std::u8string utf8 = mFolder.u8string();
      mPath.assign(utf8.begin(), utf8.end());
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mFolder, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return mPath; }
  std::string operator/(const std::string& name) const { return mPath + "/" + name; }

 private:
  std::filesystem::path mFolder;
  std::string mPath;
};

}  // namespace kr7::test
