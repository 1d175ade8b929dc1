#include "app/shell/Manual.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/TempFolder.h"

namespace kr7 {
namespace {

TEST(Manual, FirstUseWritesTheEmbeddedCopyAndLaterUsesKeepTheFileOnDisk) {
  test::TempFolder temp;
  const std::vector<std::uint8_t> pdf = {'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n'};
  ManualFile first = PrepareManual(temp.Path(), pdf);
  EXPECT_EQ(first.status, ManualFile::Status::kWritten);
  EXPECT_EQ(first.path, temp / std::string(kManualFileName));
  EXPECT_EQ(std::filesystem::file_size(first.path), pdf.size());

  // A manual on disk is never replaced, even by a different embedded copy.
  const std::vector<std::uint8_t> other(100, 'x');
  ManualFile second = PrepareManual(temp.Path(), other);
  EXPECT_EQ(second.status, ManualFile::Status::kReady);
  EXPECT_EQ(std::filesystem::file_size(second.path), pdf.size());
}

TEST(Manual, AFailedWriteIsReportedLeavesNoFileAndTheNextRequestTriesAgain) {
  test::TempFolder temp;
  const std::vector<std::uint8_t> pdf = {'%', 'P', 'D', 'F'};
  EXPECT_EQ(PrepareManual(temp / "not-yet", pdf).status, ManualFile::Status::kWriteFailed);
  EXPECT_EQ(PrepareManual(temp.Path(), {}).status, ManualFile::Status::kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
  EXPECT_EQ(PrepareManual(temp.Path(), pdf).status, ManualFile::Status::kWritten);
}

TEST(Manual, AFolderPathThatDoesNotFitIsRefusedWithoutWriting) {
  test::TempFolder temp;
  std::string folder = temp.Path();
  while (folder.size() < kMaxPathLength) folder += "/deep-folder-name";
  ASSERT_TRUE(std::filesystem::create_directories(folder));
  const std::vector<std::uint8_t> pdf = {'%', 'P', 'D', 'F'};
  ManualFile result = PrepareManual(folder, pdf);
  EXPECT_EQ(result.status, ManualFile::Status::kPathTooLong);
  EXPECT_FALSE(std::filesystem::exists(folder + "/" + std::string(kManualFileName)));

  // The longest folder that still fits.
  std::string fits = temp.Path() + "/";
  fits += std::string(kMaxPathLength - 2 - kManualFileName.size() - fits.size(), 'f');
  ASSERT_TRUE(std::filesystem::create_directories(fits));
  EXPECT_EQ(PrepareManual(fits, pdf).status, ManualFile::Status::kWritten);
}

}  // namespace
}  // namespace kr7
