#include "model/FileIO.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <dlfcn.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "model/DataFolder.h"
#include "tests/model/FileBytes.h"

#ifndef _WIN32
std::vector<std::string> gSynced;  // the paths of the descriptors synced
extern "C" int fsync(int fd) {
  char path[4096];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
  if (n > 0) gSynced.emplace_back(path, static_cast<std::size_t>(n));
  return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"))(fd);
}
#endif

namespace {

using kr7::test::ReadBytes;
using kr7::test::TempFolder;
using kr7::test::WriteBytes;

constexpr std::uint8_t kUntouched = 0xEE;

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  }
  return bytes;
}

// A file of size pattern bytes in folder; returns its path.
std::string PatternFile(const TempFolder& folder, const std::string& name, std::size_t size) {
  const std::string path = folder / name;
  WriteBytes(path, Pattern(size));
  return path;
}

TEST(FileReader, ShortFileReturnsWhatRemainsThenZero) {
  TempFolder folder;
  const std::string path = PatternFile(folder, "short.bin", 100);
  kr7::FileReader reader;
  ASSERT_TRUE(reader.OpenRead(path));
  EXPECT_EQ(reader.Size(), 100u);
  std::vector<std::uint8_t> dest(256, kUntouched);
  EXPECT_EQ(reader.Read(dest.data(), 256), 100);
  EXPECT_TRUE(std::equal(dest.begin(), dest.begin() + 100, Pattern(100).begin()));
  EXPECT_TRUE(std::all_of(dest.begin() + 100, dest.end(),
                          [](std::uint8_t b) { return b == kUntouched; }));
  EXPECT_EQ(reader.Read(dest.data(), 256), 0);
  EXPECT_EQ(reader.Position(), 100u);
}

TEST(FileReader, NotOpenReadsNothing) {
  TempFolder folder;
  kr7::FileReader reader;
  std::uint8_t byte = kUntouched;
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.Read(&byte, 1), 0);
  EXPECT_FALSE(reader.OpenRead(folder / "missing.bin"));
  EXPECT_EQ(reader.Size(), 0u);
  EXPECT_EQ(reader.Read(&byte, 1), 0);
  EXPECT_EQ(byte, kUntouched);
}

TEST(FileReader, FolderIsNotAFile) {
  TempFolder folder;
  kr7::FileReader reader;
  EXPECT_FALSE(reader.OpenRead(folder.Path()));
}

TEST(FileReader, NonPositiveCountReadsNothing) {
  TempFolder folder;
  WriteBytes(folder / "f", Pattern(10));
  kr7::FileReader reader(folder / "f");
  std::uint8_t byte = kUntouched;
  EXPECT_EQ(reader.Read(&byte, 0), 0);
  EXPECT_EQ(reader.Read(&byte, -5), 0);
  EXPECT_EQ(reader.Position(), 0u);
}

TEST(FileReader, OddChunksAcrossBufferBoundaries) {
  TempFolder folder;
  const std::vector<std::uint8_t> expected = Pattern(3 * kr7::FileReader::kBufferSize + 123);
  WriteBytes(folder / "big", expected);
  kr7::FileReader reader(folder / "big");
  std::vector<std::uint8_t> got;
  std::vector<std::uint8_t> chunk(1000);
  for (;;) {
    const std::ptrdiff_t n = reader.Read(chunk.data(), 997);
    if (n == 0) {
      break;
    }
    got.insert(got.end(), chunk.begin(), chunk.begin() + n);
  }
  EXPECT_EQ(got, expected);
}

TEST(FileReader, SeesBytesAppendedByAnotherWriter) {
  TempFolder folder;
  const std::string path = PatternFile(folder, "growing", 10);
  kr7::FileReader reader(path);
  std::vector<std::uint8_t> dest(64);
  EXPECT_EQ(reader.Read(dest.data(), 64), 10);
  std::FILE* other = std::fopen(path.c_str(), "ab");
  ASSERT_NE(other, nullptr);
  std::fputs("abcde", other);
  std::fclose(other);
  EXPECT_EQ(reader.Read(dest.data(), 64), 5);
  EXPECT_EQ(dest[0], 'a');
  EXPECT_EQ(reader.Size(), 15u);
}

TEST(FileReader, SkipMovesWithinBufferAndFile) {
  TempFolder folder;
  const std::vector<std::uint8_t> expected = Pattern(3 * kr7::FileReader::kBufferSize);
  const std::string path = folder / "skip";
  WriteBytes(path, expected);
  kr7::FileReader reader(path);
  std::uint8_t byte = 0;
  ASSERT_EQ(reader.Read(&byte, 1), 1);  // fills the buffer
  EXPECT_EQ(reader.Skip(9), 9u);        // inside the buffer
  ASSERT_EQ(reader.Read(&byte, 1), 1);
  EXPECT_EQ(byte, expected[10]);
  EXPECT_EQ(reader.Skip(kr7::FileReader::kBufferSize + 5), kr7::FileReader::kBufferSize + 5);
  ASSERT_EQ(reader.Read(&byte, 1), 1);
  EXPECT_EQ(byte, expected[kr7::FileReader::kBufferSize + 16]);
  EXPECT_EQ(reader.Position(), kr7::FileReader::kBufferSize + 17);
  // Past the end: only what remains.
  const std::uint64_t remaining = expected.size() - reader.Position();
  EXPECT_EQ(reader.Skip(1u << 20), remaining);
  EXPECT_EQ(reader.Read(&byte, 1), 0);
  EXPECT_EQ(reader.Skip(1), 0u);
  EXPECT_EQ(kr7::FileReader().Skip(1), 0u);
}

TEST(FileReader, ReadAllIsBounded) {
  TempFolder folder;
  WriteBytes(folder / "f", Pattern(500));
  kr7::FileReader reader(folder / "f");
  EXPECT_EQ(reader.ReadAll(200).size(), 200u);
  EXPECT_EQ(reader.ReadAll(1000).size(), 300u);
  EXPECT_TRUE(reader.ReadAll(1000).empty());
}

TEST(FileWriter, WritesExactSize) {
  TempFolder folder;
  const std::string path = folder / "new.dat";
  const std::vector<std::uint8_t> data = Pattern(256);
  {
    kr7::FileWriter writer;
    ASSERT_TRUE(writer.OpenWrite(path));
    EXPECT_EQ(writer.Write(data.data(), 256), 256);
    EXPECT_TRUE(writer.Close());
  }
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 256);
  EXPECT_EQ(ReadBytes(path), data);
  EXPECT_EQ(kr7::FileReader(path).Size(), 256u);
}

TEST(FileWriter, TruncatesAnExistingFile) {
  TempFolder folder;
  const std::string path = PatternFile(folder, "old", 1000);
  kr7::FileWriter writer;
  ASSERT_TRUE(writer.OpenWrite(path));
  const std::uint8_t bytes[] = {1, 2, 3};
  EXPECT_EQ(writer.Write(bytes, 3), 3);
  writer.Close();
  EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(FileWriter, DestructorFlushesManyBuffers) {
  TempFolder folder;
  const std::string path = folder / "large";
  const std::vector<std::uint8_t> data = Pattern(100000);
  {
    kr7::FileWriter writer;
    ASSERT_TRUE(writer.OpenWrite(path, 2));
    for (std::size_t offset = 0; offset < data.size(); offset += 3333) {
      const std::size_t n = std::min<std::size_t>(3333, data.size() - offset);
      ASSERT_EQ(writer.Write(data.data() + offset, static_cast<std::ptrdiff_t>(n)),
                static_cast<std::ptrdiff_t>(n));
    }
    EXPECT_EQ(writer.Position(), data.size());
  }
  EXPECT_EQ(ReadBytes(path), data);
}

TEST(FileWriter, NotOpenAcceptsNothing) {
  TempFolder folder;
  kr7::FileWriter writer;
  const std::uint8_t byte = 1;
  EXPECT_EQ(writer.Write(&byte, 1), 0);
  EXPECT_FALSE(writer.OpenWrite(folder / "no-such-folder/file"));
  EXPECT_EQ(writer.Write(&byte, 1), 0);
  EXPECT_EQ(writer.Write(&byte, -1), 0);
}

TEST(FileIO, NonAsciiPathRoundTrips) {
  TempFolder folder;
  // The data folder of a user named "Müller été", as Windows would place it.
  const kr7::DataFolder user(folder / "M\xC3\xBCller \xC3\xA9t\xC3\xA9\\AppData\\Local\\KR7Control");
  ASSERT_TRUE(user.CreateAll());
  const std::string name = "\xE9\x9F\xB3\xE8\x89\xB2.dat";  // two CJK characters
  const std::string path = kr7::JoinPath(user.Presets(), name);
  const std::vector<std::uint8_t> data = Pattern(300);
  ASSERT_TRUE(kr7::WriteFileAtomically(path, data.data(), data.size()));
  kr7::FileReader reader;
  ASSERT_TRUE(reader.OpenRead(path));
  std::vector<std::uint8_t> got(300);
  EXPECT_EQ(reader.Read(got.data(), 300), 300);
  EXPECT_EQ(got, data);
  kr7::DirectoryScan scan;
  ASSERT_TRUE(scan.First(user.Presets()));
  EXPECT_EQ(scan.Name(), name);
  EXPECT_FALSE(scan.Next());
}

TEST(AtomicFileWriter, UncommittedWriteLeavesOldFile) {
  TempFolder folder;
  const std::string path = folder / "bank.r3b";
  const std::vector<std::uint8_t> old = Pattern(50);
  WriteBytes(path, old);
  {
    kr7::AtomicFileWriter file;
    ASSERT_TRUE(file.Begin(path));
    const std::uint8_t bytes[] = {9, 9, 9};
    EXPECT_EQ(file.Writer().Write(bytes, 3), 3);
  }  // destroyed without Commit
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_FALSE(kr7::test::Exists(path + ".tmp"));
}

TEST(AtomicFileWriter, CommitReplaces) {
  TempFolder folder;
  const std::string path = PatternFile(folder, "bank.r3b", 50);
  kr7::AtomicFileWriter file;
  ASSERT_TRUE(file.Begin(path));
  const std::uint8_t bytes[] = {9, 8, 7};
  EXPECT_EQ(file.Writer().Write(bytes, 3), 3);
  EXPECT_EQ(ReadBytes(path), Pattern(50));  // untouched until committed
  EXPECT_TRUE(file.Commit());
  EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{9, 8, 7}));
  EXPECT_FALSE(kr7::test::Exists(path + ".tmp"));
  EXPECT_FALSE(file.Commit());  // nothing left to commit
}

TEST(WriteFileAtomically, ReplacesWholeFile) {
  TempFolder folder;
  const std::string path = PatternFile(folder, "x.dat", 1000);
  const std::vector<std::uint8_t> data = Pattern(256);
  EXPECT_TRUE(kr7::WriteFileAtomically(path, data.data(), data.size()));
  EXPECT_EQ(ReadBytes(path), data);
}

#ifndef _WIN32
// A power cut after the rename finds the data on disk and the new name.
TEST(WriteFileAtomically, SyncsTheFileBeforeTheRenameAndTheFolderAfter) {
  TempFolder folder;
  const std::string real = std::filesystem::canonical(folder.Path()).string();
  gSynced.clear();
  ASSERT_TRUE(kr7::WriteFileAtomically(folder / "x.dat", "x", 1));
  EXPECT_EQ(gSynced, (std::vector<std::string>{real + "/x.dat.tmp", real}));
}
#endif

TEST(WriteFileAtomically, FailureCreatesNothing) {
  TempFolder folder;
  const std::string path = folder / "missing-folder/x.dat";
  const std::uint8_t byte = 0;
  EXPECT_FALSE(kr7::WriteFileAtomically(path, &byte, 1));
  EXPECT_FALSE(kr7::test::Exists(path));
}

TEST(WriteFileAtomically, TargetThatIsAFolderSurvives) {
  TempFolder folder;
  const std::string path = folder / "taken";
  ASSERT_TRUE(kr7::CreateFolder(path + "/keep"));
  const std::uint8_t byte = 0;
  EXPECT_FALSE(kr7::WriteFileAtomically(path, &byte, 1));
  EXPECT_TRUE(kr7::test::Exists(path + "/keep"));
  EXPECT_FALSE(kr7::test::Exists(path + ".tmp"));
}

TEST(DirectoryScan, ListsEntriesWithoutDots) {
  TempFolder folder;
  WriteBytes(folder / "a.dat", {1});
  WriteBytes(folder / "b.txt", {2});
  ASSERT_TRUE(kr7::CreateFolder(folder / "sub"));
  std::set<std::string> files;
  std::set<std::string> folders;
  kr7::DirectoryScan scan;
  for (bool more = scan.First(folder.Path()); more; more = scan.Next()) {
    (scan.IsDirectory() ? folders : files).insert(scan.Name());
  }
  EXPECT_EQ(files, (std::set<std::string>{"a.dat", "b.txt"}));
  EXPECT_EQ(folders, (std::set<std::string>{"sub"}));
  EXPECT_FALSE(scan.Next());
}

TEST(DirectoryScan, MissingOrEmptyFolder) {
  TempFolder folder;
  kr7::DirectoryScan scan;
  EXPECT_FALSE(scan.First(folder / "missing"));
  EXPECT_FALSE(scan.Next());
  EXPECT_FALSE(scan.First(folder.Path()));
}

TEST(HasExactExtension, LastDotAndCaseDecide) {
  EXPECT_TRUE(kr7::HasExactExtension("001.dat", ".dat"));
  EXPECT_TRUE(kr7::HasExactExtension("a.b.dat", ".dat"));
  EXPECT_FALSE(kr7::HasExactExtension("x.dat.bak", ".dat"));
  EXPECT_FALSE(kr7::HasExactExtension("y.DAT", ".dat"));
  EXPECT_FALSE(kr7::HasExactExtension("dat", ".dat"));
  EXPECT_FALSE(kr7::HasExactExtension("x.data", ".dat"));
  EXPECT_FALSE(kr7::HasExactExtension("", ".dat"));
}

}  // namespace
