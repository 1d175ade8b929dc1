#include "editor/IrImport.h"

#include <utility>

#include "device/Messages.h"
#include "model/DataFolder.h"

namespace kr7 {

namespace {

constexpr std::size_t kExtensionSize = 4;  // ".wav"

}  // namespace

std::vector<Bytes> IrUploadMessages(const IrUpload& upload) {
  return build::SplitIrTransfer(static_cast<std::uint16_t>(upload.slot), upload.packed.data);
}

std::string IrNameFromPath(std::string_view path) {
  std::string_view file = path.substr(FileNameStart(path));
  file = file.size() > kExtensionSize ? file.substr(0, file.size() - kExtensionSize)
                                      : std::string_view();
  return PadIrName(file);
}

IrBlockContents LoadIrBlock(std::span<const std::uint8_t, kIrImageSize> block,
                            IrDisplayBuffer& buffer) {
  IrBlockContents contents;
  contents.scale = IrImageGain(block) / kIrSampleScale;
  contents.name = std::string(IrImageNameField(block));
  LoadIrImageSamples(block, buffer);
  return contents;
}

IrImporter::IrImporter(IrStore& store, IrUploadHook startUpload)
    : mStore(store), mStartUpload(std::move(startUpload)) {}

WavImportResult IrImporter::ImportWav(std::string_view path, int slot, bool connected,
                                      IrDisplayBuffer& buffer) {
  WavImportResult result;
  if (path.empty()) return result;
  mLastWavPath = std::string(path);
  if (slot < 0 || slot >= kWritableUserIrCount) {
    result.status = WavImportStatus::kSlotNotWritable;
    return result;
  }
  result.wavStatus = ReadWavFile(mLastWavPath, buffer);
  if (result.wavStatus != WavStatus::kOk) {
    result.status = WavImportStatus::kUnusableFile;
    return result;
  }
  result.status = WavImportStatus::kImported;
  result.stored = StoreAndUpload(buffer, IrNameFromPath(path), slot, connected);
  return result;
}

StoredIr IrImporter::StoreAndUpload(const IrDisplayBuffer& buffer, std::string_view name,
                                    int slot, bool connected) {
  StoredIr result;
  result.image = BuildIrImage(buffer, name);
  result.upload.slot = slot;
  result.upload.packed = PackIrImage(result.image);
  if (!connected) {
    result.stored = mStore.StoreIrImage(slot, result.image);
  } else if (mStartUpload && mStartUpload(result.upload)) {
    result.uploadStarted = true;
    const std::lock_guard lock(mUploadedMutex);
    mUploaded = Uploaded{slot, result.image};
  }
  result.name = TrimIrName(IrImageNameField(result.image));
  return result;
}

std::optional<IrImporter::Uploaded> IrImporter::TakeStored() {
  const std::lock_guard lock(mUploadedMutex);
  return std::exchange(mUploaded, std::nullopt);
}

}  // namespace kr7
