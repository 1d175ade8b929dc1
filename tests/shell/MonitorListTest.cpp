#include "app/shell/MonitorList.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

std::vector<MonitorEntry> Entries(std::size_t count, std::int64_t firstMs) {
  std::vector<MonitorEntry> entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    entries[i].milliseconds = firstMs + static_cast<std::int64_t>(i);
    entries[i].name = "ParameterSet";
  }
  return entries;
}

TEST(MonitorList, TheOldestLeaveInOneStepAndOfAnOverlongBatchOnlyItsEndStays) {
  MonitorList list;
  MonitorList::Change change = list.Append(Entries(kMonitorListLimit - 2, 0));
  EXPECT_EQ(change.leaving, 0u);
  change = list.Append(Entries(5, 100000));
  EXPECT_EQ(change.leaving, 3u);
  ASSERT_EQ(change.added.size(), 5u);
  EXPECT_EQ(change.added.front().milliseconds, 100000);
  EXPECT_EQ(list.Log().entries.front().milliseconds, 3);

  change = list.Append(Entries(kMonitorListLimit + 7, 200000));
  EXPECT_EQ(change.leaving, kMonitorListLimit);
  EXPECT_EQ(list.Log().entries.front().milliseconds, 200007);
  EXPECT_EQ(list.Log().entries.size(), kMonitorListLimit);
}

TEST(MonitorList, SavedListReadsBackAndOtherFilesAreRefused) {
  test::TempFolder temp;
  MonitorList list;
  list.Append(Entries(3, 10));
  list.SetDropped(4);
  EXPECT_EQ(list.CountsText(), "3 messages, 4 dropped");
  ASSERT_TRUE(list.Save(temp / "log.txt"));
  EXPECT_EQ(MonitorList::Load(temp / "log.txt"), list.Log());
  EXPECT_EQ(MonitorList(*MonitorList::Load(temp / "log.txt")).CountsText(), list.CountsText());

  std::ofstream(temp / "other.txt") << "not a saved list\n";
  EXPECT_FALSE(MonitorList::Load(temp / "other.txt"));
  EXPECT_FALSE(MonitorList::Load(temp / "missing.txt"));
}

}  // namespace
}  // namespace kr7
