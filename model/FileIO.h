#pragma once
// Sequential access to the program's small binary files (cached presets and
// impulse responses, preset files, WAV files, the all-presets file).
//
// Failures are never reported by exception or message: an object that could
// not open its file is simply not open, every read returns 0 and every write
// accepts 0 bytes. Callers that care test IsOpen(). Paths are UTF-8; the
// system's side is SystemFiles.h.
//
// Each object belongs to the thread that created it; nothing here locks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/SystemFiles.h"

namespace kr7 {

class FileReader {
 public:
  static constexpr std::size_t kBufferSize = 8192;

  FileReader() = default;
  explicit FileReader(const std::string& path) { OpenRead(path); }
  ~FileReader() { Close(); }
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens an existing file read-only; closes any file held before.
  bool OpenRead(const std::string& path);
  bool IsOpen() const { return mFile != sys::kNoFile; }
  // Size recorded at opening (refreshed by each Read); 0 when unknown.
  std::uint64_t Size() const { return mSize; }
  // Bytes consumed so far.
  std::uint64_t Position() const { return mPosition; }
  // Copies up to n bytes from the current position and advances it. Returns
  // the count copied: fewer than n at the end of the file, 0 when not open or
  // n <= 0. Bytes of dest beyond the count are left unchanged. Data appended
  // by another writer since opening is returned too.
  std::ptrdiff_t Read(void* dest, std::ptrdiff_t n);
  // Advances past up to n bytes without copying them; stops at the end of the
  // file. Returns the count skipped (0 when not open).
  std::uint64_t Skip(std::uint64_t n);
  // Reads the rest of the file, up to maxBytes.
  std::vector<std::uint8_t> ReadAll(std::size_t maxBytes);
  void Close();

 private:
  bool Refill();
  void RefreshSize();

  sys::FileHandle mFile = sys::kNoFile;
  std::uint64_t mSize = 0;
  std::uint64_t mPosition = 0;
  std::vector<std::uint8_t> mBuffer;
  std::size_t mBufferBegin = 0;  // next unread byte in mBuffer
  std::size_t mBufferEnd = 0;    // bytes valid in mBuffer
};

class FileWriter {
 public:
  static constexpr std::size_t kBufferSize = 8192;
  static constexpr int kDefaultBufferCount = 4;

  FileWriter() = default;
  ~FileWriter() { Close(); }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Creates the file or truncates an existing one; closes any file held
  // before. bufferCount (at least 1) sizes the write-behind buffer in blocks
  // of kBufferSize.
  bool OpenWrite(const std::string& path, int bufferCount = kDefaultBufferCount);
  bool IsOpen() const { return mFile != sys::kNoFile; }
  // Bytes accepted so far.
  std::uint64_t Position() const { return mPosition; }
  // Accepts up to n bytes; returns the count accepted (0 when not open or
  // n <= 0). A failed system write makes later writes accept nothing.
  std::ptrdiff_t Write(const void* src, std::ptrdiff_t n);
  // Writes what is buffered and closes. Everything accepted is in the file
  // when this returns. Returns false if any write failed since opening
  // (callers that only need the contract of "silent failure" may ignore it).
  bool Close();
  // Close, waiting until everything accepted is on the disk.
  bool CloseDurably();

 private:
  bool Flush();

  sys::FileHandle mFile = sys::kNoFile;
  std::uint64_t mPosition = 0;
  std::vector<std::uint8_t> mBuffer;
  std::size_t mFill = 0;
  bool mFailed = false;
};

// Writes a whole file so that it is either completely replaced or left as it
// was: the data go to "<path>.tmp", which reaches the disk and then replaces
// path only when every byte was written and closed. Returns false (and
// removes the temporary) on any failure.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

// Same, for callers that produce the file piece by piece: Begin opens the
// temporary, Writer() streams into it, Commit renames it into place. An
// AtomicFileWriter destroyed without Commit removes the temporary and leaves
// the target untouched.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter() { Abandon(); }
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Begin(const std::string& path);
  FileWriter& Writer() { return mWriter; }
  // Closes the temporary and renames it over the target. False if anything
  // failed; the target is then unchanged.
  bool Commit();
  void Abandon();

 private:
  FileWriter mWriter;
  std::string mPath;
  std::string mTempPath;
  bool mActive = false;
};

// Enumerates one folder, skipping "." and "..". Order is the system's.
class DirectoryScan {
 public:
  DirectoryScan() = default;
  ~DirectoryScan() { Close(); }
  DirectoryScan(const DirectoryScan&) = delete;
  DirectoryScan& operator=(const DirectoryScan&) = delete;

  // Starts over on folder; false when it cannot be opened or is empty.
  bool First(const std::string& folder);
  // Advances; false when there are no more entries.
  bool Next();
  // The current entry (valid after First/Next returned true).
  const std::string& Name() const { return mName; }
  bool IsDirectory() const { return mIsDirectory; }
  void Close();

 private:
  bool ReadEntry();

  sys::FolderReaderPtr mReader;
  std::string mName;
  bool mIsDirectory = false;
};

// Whether the file name's extension after its last dot is exactly ext
// (case-sensitive, ext given with its dot, e.g. ".dat").
bool HasExactExtension(std::string_view fileName, std::string_view ext);

}  // namespace kr7
