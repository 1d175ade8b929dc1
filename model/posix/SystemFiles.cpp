#include "model/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/DataFolder.h"

namespace kr7::sys {

const std::string_view kFolderSeparators = "/";

namespace {

constexpr mode_t kNewFileMode = 0644;
constexpr mode_t kFolderMode = 0755;

int Descriptor(FileHandle file) { return static_cast<int>(file); }

FileHandle Open(const std::string& path, int flags) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, kNewFileMode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') {
    return home;
  }
  // Services and some sandboxes run without HOME; the account still has one.
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir) {
    return account->pw_dir;
  }
  return {};
}

}  // namespace

FileHandle OpenForReading(const std::string& path) {
  const FileHandle fd = Open(path, O_RDONLY);
  struct stat info {};
  // A folder opens read-only on POSIX but is no file to read.
  if (fd >= 0 && (::fstat(Descriptor(fd), &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(Descriptor(fd));
    return kNoFile;
  }
  return fd;
}

FileHandle OpenForWriting(const std::string& path) { return Open(path, O_WRONLY | O_CREAT | O_TRUNC); }

std::optional<std::uint64_t> RegularFileSize(FileHandle file) {
  struct stat info {};
  if (::fstat(Descriptor(file), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(info.st_size);
}

std::ptrdiff_t ReadSome(FileHandle file, void* dest, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(Descriptor(file), dest, size);
    if (got >= 0 || errno != EINTR) {
      return got;
    }
  }
}

bool WriteAll(FileHandle file, const void* src, std::size_t size) {
  // write(2) may accept less than asked or be interrupted; loop until done.
  const auto* data = static_cast<const std::uint8_t*>(src);
  while (size > 0) {
    const ssize_t written = ::write(Descriptor(file), data, size);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool SkipForward(FileHandle file, std::uint64_t bytes) {
  return ::lseek(Descriptor(file), static_cast<off_t>(bytes), SEEK_CUR) >= 0;
}

bool FlushToDisk(FileHandle file) { return ::fsync(Descriptor(file)) == 0; }

bool CloseFile(FileHandle file) { return ::close(Descriptor(file)) == 0; }

bool MoveOver(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    return false;
  }
  // The new name is durable only once the folder's entry reached the disk.
  // The file is in place either way; an unsynced entry only risks the old
  // file coming back after a power cut.
  const std::size_t slash = to.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : to.substr(0, std::max<std::size_t>(slash, 1));
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolder(const std::string& path) {
  return (::mkdir(path.c_str(), kFolderMode) == 0 || errno == EEXIST) && IsFolder(path);
}

class FolderReader {
 public:
  FolderReader(DIR* dir, std::string path) : mDir(dir), mPath(std::move(path)) {}
  ~FolderReader() { ::closedir(mDir); }
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  bool Next(std::string& name, bool& isFolder) {
    for (;;) {
      const dirent* entry = ::readdir(mDir);
      if (entry == nullptr) {
        return false;
      }
      name = entry->d_name;
      if (name == "." || name == "..") {
        continue;
      }
      if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
        // Some file systems do not fill d_type; a link counts as what it names.
        isFolder = IsFolder(mPath + "/" + name);
      } else {
        isFolder = entry->d_type == DT_DIR;
      }
      return true;
    }
  }

 private:
  DIR* mDir;
  std::string mPath;
};

void FolderReaderCloser::operator()(FolderReader* folder) const { delete folder; }

FolderReaderPtr OpenFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) {
    return nullptr;
  }
  return FolderReaderPtr(new FolderReader(dir, path));
}

bool NextEntry(FolderReader& folder, std::string& name, bool& isFolder) { return folder.Next(name, isFolder); }

std::string UserDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  // The XDG rules ignore a relative value.
  if (dataHome != nullptr && dataHome[0] == '/') {
    return JoinPath(dataHome, kDataFolderName);
  }
  const std::string home = HomeFolder();
  if (home.empty()) {
    // No usable home: stay in the working folder rather than the file-system root.
    return std::string(kDataFolderName);
  }
  return JoinPath(JoinPath(home, ".local/share"), kDataFolderName);
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  return local;
}

}  // namespace kr7::sys
