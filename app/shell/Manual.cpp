#include "app/shell/Manual.h"

#include "model/DataFolder.h"
#include "model/FileIO.h"

namespace kr7 {

ManualFile PrepareManual(const std::string& dataFolder, std::span<const std::uint8_t> embedded) {
  const std::string path = JoinPath(dataFolder, kManualFileName);
  if (dataFolder.size() >= kMaxPathLength - 1 || path.size() >= kMaxPathLength)
    return {ManualFile::Status::kPathTooLong, path};
  if (FileReader(path).IsOpen()) return {ManualFile::Status::kReady, path};
  FileWriter writer;
  if (writer.OpenWrite(path)) {
    writer.Write(embedded.data(), static_cast<std::ptrdiff_t>(embedded.size()));
    writer.Close();
  }
  return {ManualFile::Status::kWritten, path};
}

}  // namespace kr7
