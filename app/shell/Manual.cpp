#include "app/shell/Manual.h"

#include "model/DataFolder.h"
#include "model/FileIO.h"

namespace kr7 {

ManualFile PrepareManual(const std::string& dataFolder, std::span<const std::uint8_t> embedded) {
  const std::string path = JoinPath(dataFolder, kManualFileName);
  if (dataFolder.size() >= kMaxPathLength - 1 || path.size() >= kMaxPathLength)
    return {ManualFile::Status::kPathTooLong, path};
  if (FileReader(path).IsOpen()) return {ManualFile::Status::kReady, path};
  const bool written =
      !embedded.empty() && WriteFileAtomically(path, embedded.data(), embedded.size());
  return {written ? ManualFile::Status::kWritten : ManualFile::Status::kWriteFailed, path};
}

}  // namespace kr7
