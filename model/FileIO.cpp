#include "model/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kr7 {

namespace {

constexpr mode_t kNewFileMode = 0644;

// write(2) may accept less than asked or be interrupted; loop until done.
bool WriteFully(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
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

// A power cut after a rename finds the whole new file only when its data,
// and then the folder's new entry, reached the disk first: both are synced
// here. POSIX; each system has its own way.
bool SyncToDisk(const std::string& path, bool folder) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
}

}  // namespace

// --- FileReader -----------------------------------------------------------------

bool FileReader::OpenRead(const std::string& path) {
  Close();
  int fd = -1;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return false;
  }
  struct stat info {};
  // A folder opens read-only on POSIX but is no file to read.
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return false;
  }
  mFd = fd;
  mSize = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
  mPosition = 0;
  mBuffer.resize(kBufferSize);
  mBufferBegin = mBufferEnd = 0;
  return true;
}

void FileReader::RefreshSize() {
  struct stat info {};
  if (::fstat(mFd, &info) == 0 && S_ISREG(info.st_mode)) {
    mSize = static_cast<std::uint64_t>(info.st_size);
  }
}

bool FileReader::Refill() {
  mBufferBegin = mBufferEnd = 0;
  for (;;) {
    const ssize_t got = ::read(mFd, mBuffer.data(), mBuffer.size());
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return false;
    }
    mBufferEnd = static_cast<std::size_t>(got);
    return true;
  }
}

std::ptrdiff_t FileReader::Read(void* dest, std::ptrdiff_t n) {
  if (!IsOpen() || n <= 0 || dest == nullptr) {
    return 0;
  }
  // Another process may still be writing the file; what it appended counts.
  RefreshSize();
  auto* out = static_cast<std::uint8_t*>(dest);
  std::ptrdiff_t copied = 0;
  while (copied < n) {
    if (mBufferBegin == mBufferEnd && !Refill()) {
      break;
    }
    const std::size_t chunk =
        std::min(mBufferEnd - mBufferBegin, static_cast<std::size_t>(n - copied));
    std::memcpy(out + copied, mBuffer.data() + mBufferBegin, chunk);
    mBufferBegin += chunk;
    copied += static_cast<std::ptrdiff_t>(chunk);
  }
  mPosition += static_cast<std::uint64_t>(copied);
  return copied;
}

std::uint64_t FileReader::Skip(std::uint64_t n) {
  if (!IsOpen() || n == 0) {
    return 0;
  }
  RefreshSize();
  const std::uint64_t buffered = mBufferEnd - mBufferBegin;
  const std::uint64_t fromBuffer = std::min(n, buffered);
  mBufferBegin += static_cast<std::size_t>(fromBuffer);
  std::uint64_t skipped = fromBuffer;
  if (skipped < n) {
    // The kernel's offset is past everything buffered, i.e. at mPosition + buffered.
    const std::uint64_t offset = mPosition + buffered;
    const std::uint64_t available = mSize > offset ? mSize - offset : 0;
    const std::uint64_t step = std::min(n - skipped, available);
    if (step > 0 && ::lseek(mFd, static_cast<off_t>(step), SEEK_CUR) >= 0) {
      skipped += step;
    }
  }
  mPosition += skipped;
  return skipped;
}

std::vector<std::uint8_t> FileReader::ReadAll(std::size_t maxBytes) {
  std::vector<std::uint8_t> data;
  if (!IsOpen()) {
    return data;
  }
  const std::uint64_t remaining = mSize > mPosition ? mSize - mPosition : 0;
  data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(remaining, maxBytes)));
  const std::ptrdiff_t got = Read(data.data(), static_cast<std::ptrdiff_t>(data.size()));
  data.resize(static_cast<std::size_t>(std::max<std::ptrdiff_t>(got, 0)));
  return data;
}

void FileReader::Close() {
  if (mFd >= 0) {
    ::close(mFd);
  }
  mFd = -1;
  mSize = 0;
  mPosition = 0;
  mBuffer.clear();
  mBuffer.shrink_to_fit();
  mBufferBegin = mBufferEnd = 0;
}

// --- FileWriter -----------------------------------------------------------------

bool FileWriter::OpenWrite(const std::string& path, int bufferCount) {
  Close();
  int fd = -1;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    return false;
  }
  mFd = fd;
  mPosition = 0;
  mFill = 0;
  mFailed = false;
  mBuffer.resize(kBufferSize * static_cast<std::size_t>(std::max(bufferCount, 1)));
  return true;
}

bool FileWriter::Flush() {
  if (mFill == 0) {
    return true;
  }
  if (!mFailed && !WriteFully(mFd, mBuffer.data(), mFill)) {
    mFailed = true;
  }
  mFill = 0;
  return !mFailed;
}

std::ptrdiff_t FileWriter::Write(const void* src, std::ptrdiff_t n) {
  if (!IsOpen() || mFailed || n <= 0 || src == nullptr) {
    return 0;
  }
  const auto* in = static_cast<const std::uint8_t*>(src);
  std::ptrdiff_t accepted = 0;
  while (accepted < n) {
    if (mFill == mBuffer.size() && !Flush()) {
      break;
    }
    const std::size_t chunk =
        std::min(mBuffer.size() - mFill, static_cast<std::size_t>(n - accepted));
    std::memcpy(mBuffer.data() + mFill, in + accepted, chunk);
    mFill += chunk;
    accepted += static_cast<std::ptrdiff_t>(chunk);
  }
  mPosition += static_cast<std::uint64_t>(accepted);
  return accepted;
}

bool FileWriter::Close() {
  if (mFd < 0) {
    return true;
  }
  Flush();
  if (::close(mFd) != 0) {
    mFailed = true;
  }
  mFd = -1;
  mBuffer.clear();
  mBuffer.shrink_to_fit();
  mFill = 0;
  const bool ok = !mFailed;
  mFailed = false;
  return ok;
}

// --- Atomic replacement -------------------------------------------------------

bool AtomicFileWriter::Begin(const std::string& path) {
  Abandon();
  mPath = path;
  mTempPath = path + ".tmp";
  mActive = mWriter.OpenWrite(mTempPath);
  return mActive;
}

bool AtomicFileWriter::Commit() {
  if (!mActive) {
    return false;
  }
  mActive = false;
  const bool written = mWriter.Close() && SyncToDisk(mTempPath, false);
  if (!written || std::rename(mTempPath.c_str(), mPath.c_str()) != 0) {
    ::unlink(mTempPath.c_str());
    return false;
  }
  // The file is in place either way; an unsynced entry only risks the old
  // file coming back after a power cut.
  SyncToDisk(FolderOf(mPath), true);
  return true;
}

void AtomicFileWriter::Abandon() {
  if (!mActive) {
    return;
  }
  mActive = false;
  mWriter.Close();
  ::unlink(mTempPath.c_str());
}

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
  AtomicFileWriter file;
  if (!file.Begin(path)) {
    return false;
  }
  const auto expected = static_cast<std::ptrdiff_t>(size);
  if (size > 0 && file.Writer().Write(data, expected) != expected) {
    return false;  // the destructor removes the temporary
  }
  return file.Commit();
}

// --- DirectoryScan ----------------------------------------------------------------

bool DirectoryScan::First(const std::string& folder) {
  Close();
  mDir = ::opendir(folder.c_str());
  if (mDir == nullptr) {
    return false;
  }
  mFolder = folder;
  return ReadEntry();
}

bool DirectoryScan::Next() { return mDir != nullptr && ReadEntry(); }

bool DirectoryScan::ReadEntry() {
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(mDir);
    if (entry == nullptr) {
      mName.clear();
      mIsDirectory = false;
      return false;
    }
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    mName = name;
    if (entry->d_type == DT_DIR) {
      mIsDirectory = true;
    } else if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      // Some file systems do not fill d_type; a link counts as what it names.
      struct stat info {};
      const std::string full = mFolder + "/" + mName;
      mIsDirectory = ::stat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    } else {
      mIsDirectory = false;
    }
    return true;
  }
}

void DirectoryScan::Close() {
  if (mDir != nullptr) {
    ::closedir(mDir);
  }
  mDir = nullptr;
  mFolder.clear();
  mName.clear();
  mIsDirectory = false;
}

bool HasExactExtension(std::string_view fileName, std::string_view ext) {
  const std::size_t dot = fileName.rfind('.');
  return dot != std::string_view::npos && fileName.substr(dot) == ext;
}

}  // namespace kr7
