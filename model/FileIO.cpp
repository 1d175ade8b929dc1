#include "model/FileIO.h"

#include <algorithm>
#include <cstring>

namespace kr7 {

// --- FileReader -----------------------------------------------------------------

bool FileReader::OpenRead(const std::string& path) {
  Close();
  mFile = sys::OpenForReading(path);
  if (!IsOpen()) {
    return false;
  }
  mSize = sys::RegularFileSize(mFile).value_or(0);
  mPosition = 0;
  mBuffer.resize(kBufferSize);
  mBufferBegin = mBufferEnd = 0;
  return true;
}

void FileReader::RefreshSize() {
  if (const std::optional<std::uint64_t> size = sys::RegularFileSize(mFile)) {
    mSize = *size;
  }
}

bool FileReader::Refill() {
  mBufferBegin = mBufferEnd = 0;
  const std::ptrdiff_t got = sys::ReadSome(mFile, mBuffer.data(), mBuffer.size());
  if (got <= 0) {
    return false;
  }
  mBufferEnd = static_cast<std::size_t>(got);
  return true;
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
    // The system's offset is past everything buffered, i.e. at mPosition + buffered.
    const std::uint64_t offset = mPosition + buffered;
    const std::uint64_t available = mSize > offset ? mSize - offset : 0;
    const std::uint64_t step = std::min(n - skipped, available);
    if (step > 0 && sys::SkipForward(mFile, step)) {
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
  if (IsOpen()) {
    sys::CloseFile(mFile);
  }
  mFile = sys::kNoFile;
  mSize = 0;
  mPosition = 0;
  mBuffer.clear();
  mBuffer.shrink_to_fit();
  mBufferBegin = mBufferEnd = 0;
}

// --- FileWriter -----------------------------------------------------------------

bool FileWriter::OpenWrite(const std::string& path, int bufferCount) {
  Close();
  mFile = sys::OpenForWriting(path);
  if (!IsOpen()) {
    return false;
  }
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
  if (!mFailed && !sys::WriteAll(mFile, mBuffer.data(), mFill)) {
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

bool FileWriter::CloseDurably() {
  if (IsOpen() && Flush() && !sys::FlushToDisk(mFile)) {
    mFailed = true;
  }
  return Close();
}

bool FileWriter::Close() {
  if (!IsOpen()) {
    return true;
  }
  Flush();
  if (!sys::CloseFile(mFile)) {
    mFailed = true;
  }
  mFile = sys::kNoFile;
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
  const bool written = mWriter.CloseDurably();
  if (!written || !sys::MoveOver(mTempPath, mPath)) {
    sys::RemoveFile(mTempPath);
    return false;
  }
  return true;
}

void AtomicFileWriter::Abandon() {
  if (!mActive) {
    return;
  }
  mActive = false;
  mWriter.Close();
  sys::RemoveFile(mTempPath);
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
  mReader = sys::OpenFolder(folder);
  return ReadEntry();
}

bool DirectoryScan::Next() { return ReadEntry(); }

bool DirectoryScan::ReadEntry() {
  if (mReader && sys::NextEntry(*mReader, mName, mIsDirectory)) {
    return true;
  }
  mName.clear();
  mIsDirectory = false;
  return false;
}

void DirectoryScan::Close() {
  mReader.reset();
  mName.clear();
  mIsDirectory = false;
}

bool HasExactExtension(std::string_view fileName, std::string_view ext) {
  const std::size_t dot = fileName.rfind('.');
  return dot != std::string_view::npos && fileName.substr(dot) == ext;
}

}  // namespace kr7
