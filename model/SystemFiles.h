#pragma once
// Where the program meets the system's files and folders: the only calls
// that differ between POSIX and Windows. The build compiles one of
// posix/SystemFiles.cpp and win32/SystemFiles.cpp. Paths are UTF-8 on both
// sides of this header; the Windows unit turns them into UTF-16 for the wide
// calls and back.
//
// Each call fails quietly (kNoFile, false, -1); the callers in FileIO and
// DataFolder decide what a failure means.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kr7::sys {

// What separates folder names: '/' on POSIX, a backslash or '/' on Windows.
extern const std::string_view kFolderSeparators;

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// An existing file for reading; kNoFile for a folder.
FileHandle OpenForReading(const std::string& path);
// Creates the file or truncates it.
FileHandle OpenForWriting(const std::string& path);
// The size of a regular file; nothing for a pipe or a device.
std::optional<std::uint64_t> RegularFileSize(FileHandle file);
// Up to size bytes: the count read, 0 at the end, -1 on failure.
std::ptrdiff_t ReadSome(FileHandle file, void* dest, std::size_t size);
bool WriteAll(FileHandle file, const void* src, std::size_t size);
bool SkipForward(FileHandle file, std::uint64_t bytes);
// Waits until what was written is on the disk.
bool FlushToDisk(FileHandle file);
bool CloseFile(FileHandle file);

// Puts from in the place of to in one step and makes the new name durable:
// a power cut leaves either file, never a mixture.
bool MoveOver(const std::string& from, const std::string& to);
bool RemoveFile(const std::string& path);

bool IsFolder(const std::string& path);
// One level; true when the folder exists afterwards.
bool MakeFolder(const std::string& path);

// Reads one folder's entries in the system's order, without "." and "..".
class FolderReader;
struct FolderReaderCloser {
  void operator()(FolderReader* folder) const;
};
using FolderReaderPtr = std::unique_ptr<FolderReader, FolderReaderCloser>;
FolderReaderPtr OpenFolder(const std::string& path);
// The next entry; false at the end.
bool NextEntry(FolderReader& folder, std::string& name, bool& isFolder);

// The per-user data folder "KR7Control": below $XDG_DATA_HOME or
// ~/.local/share on POSIX, below the local application data folder on
// Windows. Relative ("KR7Control") when the system names no home.
std::string UserDataFolder();

// time as local calendar time, safe on any thread (dated file names).
std::tm LocalTime(std::time_t time);

}  // namespace kr7::sys
