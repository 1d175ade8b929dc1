// Any bytes as a preset file: check, decode and plan the uploads the way the
// import does, connected and not, then drive the acknowledgements.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "editor/IrImport.h"
#include "model/PresetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  if (kr7::CheckPresetFile(file) != kr7::PresetFileCheck::kOk) return 0;
  const int currentPreset = size > 0 ? data[0] % 128 : 0;
  (void)kr7::AsksOverwriteUserIr(file, 1, 1);
  const kr7::PresetFileContents contents = kr7::DecodePresetFile(file, currentPreset);
  for (bool connected : {true, false}) {
    kr7::PresetFileState state;
    kr7::PresetImportPlan plan = state.BeginUploads(file, contents.values, connected);
    if (state.OnIrStoredAck() == kr7::IrStoredAction::kContinueImport) {
      if (auto second = state.SecondStageUpload()) plan.uploads.push_back(std::move(*second));
    }
    for (const kr7::PresetFileIrUpload& upload : plan.uploads) {
      if (upload.block.size() != kr7::kIrImageSize) std::abort();
      if (upload.target < 0 || upload.target >= kr7::kWritableUserIrCount) std::abort();
      kr7::IrDisplayBuffer buffer{};
      const kr7::IrBlockContents block =
          kr7::LoadIrBlock(std::span<const std::uint8_t, kr7::kIrImageSize>(upload.block.data(),
                                                                          kr7::kIrImageSize),
                           buffer);
      (void)kr7::PackIrImage(kr7::BuildIrImage(buffer, block.name));
    }
  }
  return 0;
}
