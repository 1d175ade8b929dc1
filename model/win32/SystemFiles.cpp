#include "model/SystemFiles.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <limits>

#include "model/DataFolder.h"
#include "model/win32/WideText.h"

namespace kr7::sys {

const std::string_view kFolderSeparators = "\\/";

namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FileHandle Open(const std::string& path, DWORD access, DWORD disposition) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return kNoFile;
  // Others may read and even replace the file meanwhile, as on POSIX.
  const HANDLE file = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

// ReadFile and WriteFile take at most a DWORD at a time.
DWORD Chunk(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

}  // namespace

FileHandle OpenForReading(const std::string& path) {
  // CreateFileW refuses a folder unless asked for one, which is what we want.
  return Open(path, GENERIC_READ, OPEN_EXISTING);
}

FileHandle OpenForWriting(const std::string& path) { return Open(path, GENERIC_WRITE, CREATE_ALWAYS); }

std::optional<std::uint64_t> RegularFileSize(FileHandle file) {
  LARGE_INTEGER size{};
  if (GetFileType(Handle(file)) != FILE_TYPE_DISK || !GetFileSizeEx(Handle(file), &size)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::ptrdiff_t ReadSome(FileHandle file, void* dest, std::size_t size) {
  DWORD got = 0;
  if (!ReadFile(Handle(file), dest, Chunk(size), &got, nullptr)) {
    // A pipe whose writer went away has simply ended.
    return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  }
  return static_cast<std::ptrdiff_t>(got);
}

bool WriteAll(FileHandle file, const void* src, std::size_t size) {
  const auto* data = static_cast<const std::uint8_t*>(src);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(Handle(file), data, Chunk(size), &written, nullptr) || written == 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

bool SkipForward(FileHandle file, std::uint64_t bytes) {
  LARGE_INTEGER distance{};
  distance.QuadPart = static_cast<LONGLONG>(bytes);
  return SetFilePointerEx(Handle(file), distance, nullptr, FILE_CURRENT) != 0;
}

bool FlushToDisk(FileHandle file) { return FlushFileBuffers(Handle(file)) != 0; }

bool CloseFile(FileHandle file) { return CloseHandle(Handle(file)) != 0; }

bool MoveOver(const std::string& from, const std::string& to) {
  const std::wstring source = Widen(from);
  const std::wstring target = Widen(to);
  // WRITE_THROUGH returns only once the new name is on the disk.
  return !source.empty() && !target.empty() &&
         MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
  const std::wstring wide = Widen(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
}

bool IsFolder(const std::string& path) {
  const std::wstring wide = Widen(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolder(const std::string& path) {
  const std::wstring wide = Widen(path);
  return !wide.empty() && (CreateDirectoryW(wide.c_str(), nullptr) != 0 || IsFolder(path));
}

class FolderReader {
 public:
  FolderReader(HANDLE find, const WIN32_FIND_DATAW& first) : mFind(find), mEntry(first) {}
  ~FolderReader() { FindClose(mFind); }
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  bool Next(std::string& name, bool& isFolder) {
    for (;;) {
      // FindFirstFileW has read the first entry already.
      if (!mFresh && !FindNextFileW(mFind, &mEntry)) {
        return false;
      }
      mFresh = false;
      const std::wstring_view wide = mEntry.cFileName;
      if (wide == L"." || wide == L"..") {
        continue;
      }
      name = Narrow(wide);
      isFolder = (mEntry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      return true;
    }
  }

 private:
  HANDLE mFind;
  WIN32_FIND_DATAW mEntry;
  bool mFresh = true;
};

void FolderReaderCloser::operator()(FolderReader* folder) const { delete folder; }

FolderReaderPtr OpenFolder(const std::string& path) {
  const std::wstring wide = Widen(JoinPath(path, "*"));
  if (path.empty() || wide.empty()) return nullptr;
  WIN32_FIND_DATAW first{};
  const HANDLE find = FindFirstFileW(wide.c_str(), &first);
  if (find == INVALID_HANDLE_VALUE) return nullptr;
  return FolderReaderPtr(new FolderReader(find, first));
}

bool NextEntry(FolderReader& folder, std::string& name, bool& isFolder) { return folder.Next(name, isFolder); }

std::string UserDataFolder() {
  PWSTR local = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &local) == S_OK) {
    folder = Narrow(local);
  }
  CoTaskMemFree(local);
  // No profile folder: stay in the working folder, as on POSIX without a home.
  if (folder.empty()) return std::string(kDataFolderName);
  return folder + "\\" + std::string(kDataFolderName);
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

}  // namespace kr7::sys
