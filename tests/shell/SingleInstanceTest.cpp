#include "app/shell/SingleInstance.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

TEST(SingleInstance, SecondStartAsksTheFirstToPresentItsWindowAndOpenItsFile) {
  test::TempFolder temp;
  SingleInstance first(temp.Path());
  ASSERT_EQ(first.Acquire(), SingleInstance::Outcome::kFirst);
  ASSERT_GE(first.ListenFd(), 0);

  // flock() locks belong to the open file description, so the second start
  // must be another process to see the lock as taken.
  const std::string path = "/tmp/a folder/Crunch\nlead.r3p";
  for (const std::string& open : {std::string(), path}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SingleInstance second(temp.Path());
      _exit(second.Acquire(open) == SingleInstance::Outcome::kPresented ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(first.TakeRequest(), open);
  }
  EXPECT_FALSE(first.TakeRequest());  // nothing further pending
}

TEST(SingleInstance, FoldersAreIndependentAndTheLockIsFreedOnExit) {
  test::TempFolder a, b;
  {
    SingleInstance one(a.Path());
    SingleInstance other(b.Path());
    EXPECT_EQ(one.Acquire(), SingleInstance::Outcome::kFirst);
    EXPECT_EQ(other.Acquire(), SingleInstance::Outcome::kFirst);
  }
  SingleInstance again(a.Path());
  EXPECT_EQ(again.Acquire(), SingleInstance::Outcome::kFirst);
}

}  // namespace
}  // namespace kr7
