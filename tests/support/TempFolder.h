#pragma once
// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes away.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kr7::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kr7-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) mPath = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return mPath; }
  std::string operator/(const std::string& name) const { return mPath + "/" + name; }

 private:
  std::string mPath;
};

}  // namespace kr7::test
