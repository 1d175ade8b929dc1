#include "model/DataFolder.h"

#include <cstdlib>
#include <optional>
#include <string>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "tests/model/FileBytes.h"

namespace {

using kr7::test::Exists;
using kr7::test::TempFolder;

TEST(DataFolder, SubFoldersAreJoinedWithSlash) {
  const kr7::DataFolder folder("/base/KR7Control/");
  EXPECT_EQ(folder.Base(), "/base/KR7Control");
  EXPECT_EQ(folder.Presets(), "/base/KR7Control/Presets");
  EXPECT_EQ(folder.FactoryIrs(), "/base/KR7Control/Factory IRs");
  EXPECT_EQ(folder.UserIrs(), "/base/KR7Control/User IRs");
  EXPECT_EQ(folder.File("settings.ini"), "/base/KR7Control/settings.ini");
}

#ifdef _WIN32
TEST(DataFolder, LivesInTheLocalApplicationData) {
  const std::string base = kr7::DataFolder().Base();
  EXPECT_TRUE(base.ends_with("\\AppData\\Local\\KR7Control")) << base;
}
#else
// Sets or unsets an environment variable for the scope and restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : mName(name) {
    if (const char* old = std::getenv(name)) {
      mOld = old;
    }
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (mOld) {
      ::setenv(mName, mOld->c_str(), 1);
    } else {
      ::unsetenv(mName);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* mName;
  std::optional<std::string> mOld;
};

TEST(DataFolder, XdgDataHomeWins) {
  const ScopedEnv xdg("XDG_DATA_HOME", "/data/home/");
  EXPECT_EQ(kr7::DataFolder().Base(), "/data/home/KR7Control");
}

TEST(DataFolder, RelativeXdgDataHomeIsIgnored) {
  const ScopedEnv xdg("XDG_DATA_HOME", "relative");
  const ScopedEnv home("HOME", "/home/player");
  EXPECT_EQ(kr7::DataFolder().Base(), "/home/player/.local/share/KR7Control");
}

TEST(DataFolder, FallsBackToHome) {
  const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  const ScopedEnv home("HOME", "/home/player");
  EXPECT_EQ(kr7::DataFolder::ResolveDefaultBase(), "/home/player/.local/share/KR7Control");
}

TEST(DataFolder, WithoutHomeUsesAccount) {
  const passwd* account = ::getpwuid(::getuid());
  if (account == nullptr || account->pw_dir == nullptr) {
    GTEST_SKIP() << "no account entry for this user";
  }
  const std::string expected =
      kr7::JoinPath(kr7::JoinPath(account->pw_dir, ".local/share"), "KR7Control");
  const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  const ScopedEnv home("HOME", nullptr);
  EXPECT_EQ(kr7::DataFolder::ResolveDefaultBase(), expected);
}
#endif

TEST(DataFolder, CreateAllMakesNestedFolders) {
  TempFolder temp;
  const kr7::DataFolder folder(temp / "a/b/KR7Control");
  EXPECT_TRUE(folder.CreateAll());
  EXPECT_TRUE(Exists(folder.Presets()));
  EXPECT_TRUE(Exists(folder.FactoryIrs()));
  EXPECT_TRUE(Exists(folder.UserIrs()));
  EXPECT_TRUE(folder.CreateAll());  // existing folders are fine
}

TEST(CreateFolder, FailsWhereAFileBlocksThePath) {
  TempFolder temp;
  kr7::test::WriteBytes(temp / "file", {0});
  EXPECT_FALSE(kr7::CreateFolder(temp / "file"));
  EXPECT_FALSE(kr7::CreateFolder(temp / "file/below"));
  EXPECT_FALSE(kr7::CreateFolder(""));
}

TEST(JoinPath, DoesNotDoubleSlashes) {
  EXPECT_EQ(kr7::JoinPath("a", "b"), "a/b");
  EXPECT_EQ(kr7::JoinPath("a/", "b"), "a/b");
  EXPECT_EQ(kr7::JoinPath("", "b"), "b");
}

}  // namespace
