#include "editor/PresetFileFlows.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "editor/PresetDecoder.h"
#include "model/EditorView.h"

namespace kr7 {

PresetFileFlows::PresetFileFlows(SessionState& session, EditorState& editor,
                                 const ParameterTable& params, ParameterAccess& paramAccess,
                                 SysExSender& sender, WindowLink& window, IrFlows& irs,
                                 std::atomic<bool>& localEdit)
    : mSession(session),
      mEditor(editor),
      mLocalEdit(localEdit),
      mParams(params),
      mParamAccess(paramAccess),
      mSender(sender),
      mWindow(window),
      mIrs(irs) {}

void PresetFileFlows::StorePreset() {
  mSender.SendSysEx(BuildPresetStore(mEditor, mSession.currentPreset.load()));
}

void PresetFileFlows::StoreImportedPreset() {
  Bytes store;
  {
    const std::lock_guard lock(mImportStoreMutex);
    store = std::exchange(mImportStore, {});
  }
  if (!store.empty()) mSender.SendSysEx(store);
}

bool PresetFileFlows::TakePath(std::string_view path) {
  if (mState.Remember(path)) return true;
  mWindow.View().ShowMessage(kPathTooLongText, false);
  return false;
}

bool PresetFileFlows::Confirm(std::string_view question) {
  return mWindow.View().ShowMessage(question, true);
}

// ---- export -------------------------------------------------------------------------

bool PresetFileFlows::Export() {
  FileRequest request;
  request.save = true;
  request.extension = std::string(kPresetFileExtension);
  request.initialName = ExportSuggestion(mState.RememberedPath(), mEditor.PresetName());
  const std::optional<std::string> path = mWindow.View().AskForFile(request);
  if (!path || path->empty() || !TakePath(*path)) return false;

  PresetExportInput input;
  for (int i = 0; i < kNumPresetParams; ++i) {
    const auto at = static_cast<std::size_t>(i);
    input.parameterValues[at] = mParams.GetParam(i)->Value();
    input.editValues[at] = mEditor.editValues[at].load();
  }
  input.irNameA = mEditor.UserIrNameA();
  input.irNameB = mEditor.UserIrNameB();
  const PresetExportResult result = ExportPresetFile(*path, input, mIrs.Store().UserFolder());
  if (!result.written) return false;

  EditorView& view = mWindow.View();
  mEditor.SetPresetName(result.presetName);
  view.SetControlText(kTagPresetName, result.presetName);
  mEditor.presetModified.store(false);
  view.SetControlTextColour(kTagPresetNumber, kUnmodifiedColour);
  return true;
}

// ---- import ---------------------------------------------------------------------------

PresetImportResult PresetFileFlows::Import() {
  FileRequest request;
  request.extension = std::string(kPresetFileExtension);
  request.initialName = mState.RememberedPath();
  const std::optional<std::string> path = mWindow.View().AskForFile(request);
  return path ? ImportPath(*path) : PresetImportResult::kNothing;
}

PresetImportResult PresetFileFlows::ImportPath(std::string_view path) {
  if (path.empty()) return PresetImportResult::kNothing;
  if (!TakePath(path)) return PresetImportResult::kPathTooLong;
  const std::optional<std::vector<std::uint8_t>> file = ReadPresetFileImage(mState.RememberedPath());
  if (!file) return PresetImportResult::kNothing;

  mLocalEdit.store(false);
  switch (CheckPresetFile(*file)) {
    case PresetFileCheck::kUnknownFormat:
      mWindow.SetPendingMessage(std::string(kUnknownFileFormatText));
      mLocalEdit.store(true);
      return PresetImportResult::kUnknownFormat;
    case PresetFileCheck::kUnsupportedVersion:
      mWindow.View().ShowMessage(kUnsupportedVersionText, false);
      return PresetImportResult::kUnsupportedVersion;
    case PresetFileCheck::kOk:
      break;
  }
  if (mEditor.presetModified.load() && !Confirm(kPresetNotSavedQuestion)) {
    return PresetImportResult::kCancelled;
  }
  if (AsksOverwriteUserIr(*file, mEditor.editValues[kParamIrModeA].load(),
                          mEditor.editValues[kParamIrModeB].load()) &&
      !Confirm(kOverwriteUserIrQuestion)) {
    return PresetImportResult::kCancelled;
  }

  // Its acknowledgements would be taken for this file's.
  if (mSession.irUploadBusy.load()) {
    mWindow.View().ShowMessage(kIrUploadBusyText, false);
    return PresetImportResult::kCancelled;
  }
  const PresetFileContents contents = DecodePresetFile(*file, mSession.currentPreset.load());
  ApplyValues(contents);
  mEditor.presetModified.store(true);
  mWindow.View().SetControlTextColour(kTagPresetNumber, kModifiedColour);
  ShowNames(contents);

  const PresetImportPlan plan =
      mState.BeginUploads(*file, contents.values, mSession.connected.load());
  // The session reads these when the pedal acknowledges an upload; they are
  // set before the first upload can go out.
  mSession.presetFileFirstWaiting.store(mState.FirstWaiting());
  mSession.presetFileSecondWaiting.store(mState.SecondWaiting());
  if (plan.storePresetNow) {
    StorePreset();
  } else if (mState.FirstWaiting() || mState.SecondWaiting()) {
    const std::lock_guard lock(mImportStoreMutex);
    mImportStore = BuildPresetStore(mEditor, mSession.currentPreset.load());
  }
  for (const PresetFileIrUpload& upload : plan.uploads) {
    if (!Upload(upload)) EndWaiting();
  }
  mLocalEdit.store(true);
  return PresetImportResult::kApplied;
}

void PresetFileFlows::ApplyValues(const PresetFileContents& contents) {
  for (int i = 0; i < kNumPresetParams; ++i) {
    const auto at = static_cast<std::size_t>(i);
    // File data: nothing goes back to the pedal for these changes.
    const ApplyingScope applying;
    mLocalEdit.store(false);
    mParamAccess.SetParamFromPosition(i, mParams.GetParam(i)->RawToNormalized(contents.values[at]));
    // The parameter's value rather than the byte itself, so a byte outside
    // the parameter's range cannot reach the pedal through PresetStore.
    mEditor.editValues[at].store(mParamAccess.ParamInt(i));
    mLocalEdit.store(true);
  }
}

void PresetFileFlows::ShowNames(const PresetFileContents& contents) {
  EditorView& view = mWindow.View();
  mEditor.SetPresetName(contents.name);
  view.SetControlText(kTagPresetName, contents.name);
  if (contents.irNameA) {
    mEditor.SetUserIrNameA(*contents.irNameA);
    mIrs.Store().SetSourceName(false, *contents.irNameA);
    view.SetControlText(kTagIrRowA, *contents.irNameA);
  }
  if (contents.irNameB) {
    mEditor.SetUserIrNameB(*contents.irNameB);
    mIrs.Store().SetSourceName(true, *contents.irNameB);
    view.SetControlText(kTagIrRowB, *contents.irNameB);
  }
}

bool PresetFileFlows::Upload(const PresetFileIrUpload& upload) {
  if (upload.block.size() != kIrImageSize) return false;
  IrDisplayBuffer response{};
  const IrBlockContents block =
      LoadIrBlock(std::span<const std::uint8_t, kIrImageSize>(upload.block.data(), kIrImageSize),
                  response);
  return mIrs.StoreAndUpload(response, block.name, upload.target,
                             upload.sourceB ? IrSource::kB : IrSource::kA)
      .uploadStarted;
}

// An upload that did not start is never acknowledged: nothing may wait for
// it, nor keep the input shield up.
void PresetFileFlows::EndWaiting() {
  mSession.presetFileFirstWaiting.store(false);
  mSession.presetFileSecondWaiting.store(false);
}

// ---- second stage ----------------------------------------------------------------------

void PresetFileFlows::Tick() {
  if (!mSecondStageDue.exchange(false)) return;
  if (mState.OnIrStoredAck() != IrStoredAction::kContinueImport) return;
  if (const std::optional<PresetFileIrUpload> second = mState.SecondStageUpload()) {
    if (!Upload(*second)) EndWaiting();
  }
}

}  // namespace kr7
