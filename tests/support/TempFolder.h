#pragma once
// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes away.

#include <chrono>
#include <filesystem>
#include <string>

namespace kr7::test {

class TempFolder {
 public:
  TempFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    // A name no other test process holds: create_directory is false for one
    // that exists already.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; !error && attempt < 100; ++attempt) {
      const std::filesystem::path folder =
          base / ("kr7-test-" + std::to_string(stamp) + "-" + std::to_string(attempt));
      if (std::filesystem::create_directory(folder, error)) {
        mFolder = folder;
        // UTF-8, as every path of the program, whatever the system's code page.
        const std::u8string utf8 = folder.u8string();
        mPath.assign(utf8.begin(), utf8.end());
        return;
      }
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!mFolder.empty()) std::filesystem::remove_all(mFolder, ignored);
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
