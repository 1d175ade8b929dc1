#include "editor/IrFlows.h"

#include <utility>

#include "model/EditorView.h"
#include "model/FileIO.h"
#include "model/Parameters.h"
#include "model/PresetFile.h"

namespace kr7 {

namespace {

constexpr int kSevenBitMask = 0x7F;
constexpr int kMsbShift = 7;
constexpr double kSevenBitMax = 127.0;
constexpr std::string_view kWavExtension = "wav";
// Cabinet positions whose list rows always show the factory cabinet.
constexpr int kFixedCabinetRows = 6;

bool IsFactorySlot(int slot) {
  return slot >= kFactoryIrSlotBase && slot < kFactoryIrSlotBase + kFactoryIrCount;
}

}  // namespace

IrFlows::IrFlows(const DataFolder& folder, SessionState& session, EditorState& editor,
                 ParameterAccess& params, WindowLink& window)
    : mSession(session),
      mEditor(editor),
      mParams(params),
      mWindow(window),
      mStore(folder),
      mImporter(mStore, [this](const IrUpload& upload) {
        return mUploader && mUploader(upload.slot, upload.packed.data);
      }) {}

void IrFlows::OnUploadStored() {
  std::optional<IrImporter::Uploaded> stored = mImporter.TakeStored();
  if (!stored) return;
  const UiTask::Run write = [](void* owner, const UiTask& task) {
    static_cast<IrStore*>(owner)->StoreReceivedIr(task.number, task.Bytes());
  };
  mWindow.RunOnUiThread(UiTask(write, &mStore, stored->slot).WithBytes(stored->image));
}

void IrFlows::SetUserIrListEntry(int row, std::string text) {
  mEditor.SetUserIrRow(row, std::move(text));
}

bool IrFlows::HasWholeUserIr(int n) const {
  if (!IsUserIrNumber(n)) return false;
  const FileReader reader(mStore.UserIrPath(n));
  return reader.IsOpen() && reader.Size() == kIrImageSize;
}

void IrFlows::PrepareStore(const FactoryWavProvider& provider) {
  if (provider) mStore.ExtractFactoryWavs(provider);
  ReloadIrNames();
}

void IrFlows::ReloadIrNames() {
  mStore.LoadAllNames();
  ShowUserIrBank(mParams.ParamInt(kParamCustomIrBank));
  RefreshIrList();
}

void IrFlows::ShowUserIrBank(int bank) {
  if (bank < 0 || bank >= kUserIrBankCount) return;
  for (int row = 0; row < kUserIrBankSize; ++row) {
    mEditor.SetUserIrRow(row, mStore.UserIrName(bank * kUserIrBankSize + row));
  }
}

// ---- WAV import -------------------------------------------------------------------

void IrFlows::ImportFromButton(bool sourceB) {
  mBusy.store(true);
  const int current = mSession.currentPreset.load();
  const int slot = sourceB ? current + kSourceBIrOffset : current;
  mSession.irSlotAFlag.store(!sourceB);
  mSession.irSlotBFlag.store(sourceB);
  (sourceB ? mSession.irSlotB : mSession.irSlotA).store(slot);
  mBrowserSelection.store(slot);
  const int msbParam = sourceB ? kParamUserIrBMsb : kParamUserIrAMsb;
  mSession.irSelectionStep.store(msbParam);
  mParams.SetParamFromPosition(msbParam, ((slot >> kMsbShift) & kSevenBitMask) / kSevenBitMax);
  RunImportDialog();
}

void IrFlows::OpenBrowser(bool sourceB) {
  mSession.irSlotAFlag.store(!sourceB);
  mSession.irSlotBFlag.store(sourceB);
  const int slot = (sourceB ? mSession.irSlotB : mSession.irSlotA).load();
  if (IsUserIrNumber(slot)) mBrowserSelection.store(slot);
  // The bank's own handling fills and colours the rows (and asks the pedal
  // for the names).
  mParams.SetParamFromRaw(kParamCustomIrBank, mBrowserSelection.load() / kUserIrBankSize);
  mWindow.View().SetGroupHidden(kGroupUserIrBrowser, false);
}

void IrFlows::ImportIntoRow(int n) {
  // Rows of the pedal's factory bank cannot take a file.
  if (n < 0 || n >= kWritableUserIrCount) return;
  mBrowserSelection.store(n);
  RunImportDialog();
}

void IrFlows::RunImportDialog() {
  mBusy.store(true);
  FileRequest request;
  request.extension = std::string(kWavExtension);
  request.initialName = mImporter.LastWavPath();
  const std::optional<std::string> path = mWindow.View().AskForFile(request);
  if (path) ImportWavFile(*path);
  mBusy.store(false);
}

WavImportResult IrFlows::ImportWavFile(std::string_view path) {
  const int slot = mBrowserSelection.load();
  // The file is read into a buffer of its own: the graph keeps showing the
  // selected cabinet, and a refused file cannot leave a half-read response
  // for a later upload.
  WavImportResult result = mImporter.ImportWav(path, slot, mSession.connected.load(), mImportBuffer);
  if (result.status == WavImportStatus::kUnusableFile) {
    mWindow.View().ShowMessage(kUnknownFileFormatText, false);
  }
  if (result.status != WavImportStatus::kImported) return result;
  const IrSource source = mSession.irSlotAFlag.load()   ? IrSource::kA
                          : mSession.irSlotBFlag.load() ? IrSource::kB
                                                        : IrSource::kNone;
  // Stored (disconnected) or uploaded just now; the name shows either way.
  if (source != IrSource::kNone) ShowSourceName(source, slot, result.stored.name);
  return result;
}

StoredIr IrFlows::StoreAndUpload(const IrDisplayBuffer& buffer, std::string_view name, int slot,
                                 IrSource source) {
  StoredIr stored = mImporter.StoreAndUpload(buffer, name, slot, mSession.connected.load());
  if (source != IrSource::kNone) ShowSourceName(source, slot, stored.name);
  if (IsFactorySlot(slot)) {
    mWindow.View().SetControlText(kTagIrListFirst + (slot - kFactoryIrSlotBase), stored.name);
  }
  return stored;
}

void IrFlows::ShowSourceName(IrSource source, int slot, const std::string& name) {
  const bool sourceB = source == IrSource::kB;
  if (IsUserIrNumber(slot)) {
    mStore.SetUserIrName(slot, name);
    mEditor.SetUserIrRow(slot % kUserIrBankSize, name);
  }
  mStore.SetSourceName(sourceB, name);
  if (sourceB) {
    mEditor.SetUserIrNameB(name);
  } else {
    mEditor.SetUserIrNameA(name);
  }
  mWindow.View().SetControlText(sourceB ? kTagIrRowB : kTagIrRowA, name);
}

// ---- the pedal's impulse responses ---------------------------------------------------

void IrFlows::StoreReceivedIr(int slot, std::span<const std::uint8_t> image) {
  const UiTask::Run store = [](void* owner, const UiTask& task) {
    auto& flows = *static_cast<IrFlows*>(owner);
    if (flows.mStore.StoreReceivedIr(task.number, task.Bytes())) flows.Refresh(true);
  };
  mWindow.RunOnUiThread(UiTask(store, this, slot).WithBytes(image));
}

void IrFlows::RefreshIrList() {
  mWindow.RunOnUiThread(UiTask([](void* owner, const UiTask&) { static_cast<IrFlows*>(owner)->ShowIrListNames(); },
                               this));
}

void IrFlows::ShowIrListNames() {
  for (int k = 0; k < kFactoryIrCount; ++k) {
    if (mStore.FactoryIrPresent(k)) mStore.LoadFactoryIrName(k);
  }
  EditorView& view = mWindow.View();
  for (int k = 0; k < kFixedCabinetRows; ++k) {
    view.SetControlText(kTagIrListFirst + k, mStore.CabinetName(k + 1));
  }
  const auto showSource = [&](bool sourceB) {
    const int tag = sourceB ? kTagIrRowB : kTagIrRowA;
    const int position = sourceB ? kLastCabinetPosition : kLastCabinetPosition - 1;
    if (mParams.ParamInt(sourceB ? kParamIrModeB : kParamIrModeA) <= 0) {
      view.SetControlText(tag, mStore.CabinetName(position));
      return;
    }
    const int slot = (sourceB ? mSession.irSlotB : mSession.irSlotA).load();
    // A user IR not in the store keeps the name the preset gave it.
    if (!HasWholeUserIr(slot)) return;
    ShowSourceName(sourceB ? IrSource::kB : IrSource::kA, slot, mStore.LoadUserIrName(slot));
  };
  showSource(false);
  showSource(true);
}

// ---- display ---------------------------------------------------------------------------

IrSelection IrFlows::CurrentSelection() const {
  IrSelection selection;
  selection.irModeA = mParams.ParamInt(kParamIrModeA);
  selection.irModeB = mParams.ParamInt(kParamIrModeB);
  selection.userSlotA = mSession.irSlotA.load();
  selection.userSlotB = mSession.irSlotB.load();
  return selection;
}

void IrFlows::Refresh(bool fromPedal) {
  // The applying scope of the change that asked goes along: data from the
  // pedal or a file opens no block, on whichever thread the refresh runs.
  const UiTask::Run refresh = [](void* owner, const UiTask& task) {
    std::optional<ApplyingScope> scope;
    if (task.second) scope.emplace();
    static_cast<IrFlows*>(owner)->RefreshNow(task.first);
  };
  mWindow.RunOnUiThread(UiTask(refresh, this, 0, fromPedal, ApplyingScope::Active()));
}

void IrFlows::RefreshNow(bool fromPedal) {
  // Built aside: the refresh passes through blends that the graph must not
  // draw, and the receive handler may refresh while the window draws.
  IrDisplayBuffer response{};
  mStore.RefreshDisplay(mParams.ParamInt(kParamIr), CurrentSelection(), response);
  {
    const std::lock_guard lock(mDisplayMutex);
    mDisplay = response;
    mDisplayChanged = true;
  }
  if (mDisplayListener) mDisplayListener(response, fromPedal);
}

std::optional<IrDisplayBuffer> IrFlows::TakeDisplay() {
  const std::lock_guard lock(mDisplayMutex);
  if (!mDisplayChanged) return std::nullopt;
  mDisplayChanged = false;
  return mDisplay;
}

}  // namespace kr7
