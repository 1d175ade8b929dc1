#include "app/core/KR7Control.h"

#include "model/CommandCodes.h"
#include "model/ControlTags.h"

namespace kr7 {

KR7Control::KR7Control(DataFolder folder)
    : mFolder(folder),
      mCache(folder),
      mParameters(mParams, mWindow),
      mIrs(folder, mSession, mEditor, mParameters, mWindow),
      mIrStore(mIrs),
      mLiveLink(mParameters, mWindow, mOutbox, mEditor, mIrs),
      mBlocks(mLiveLink, mLive, mSession, mEditor.Record()),
      mHandler(mLiveLink, mLive, mSession, mEditor.Record(), mBlocks),
      mIdle(mLiveLink, mLive, mSession),
      mMainPage(mLiveLink, mLive, mSession, mEditor.Record(), mBlocks),
      mDecoder(mEditor, mSession, mCache, mParameters, mWindow, mIrs, mLiveLink, mBlocks),
      mSettings(mEditor, mParameters, mWindow),
      mMidi(mSession, mEditor, mParams, mParameters, mOutbox, mWindow, mDecoder,
            mLive.localEdit),
      mPresetFiles(mSession, mEditor, mParams, mParameters, mOutbox, mWindow, mIrs,
                   mLive.localEdit),
      mSessionLogic(mSession, mCache,
                    {mOutbox, mWindow, mParameters, mDecoder, mSettings, mIrs, mIrStore,
                     mPresetFiles}),
      mStreams(mSession, {mOutbox, mWindow, mDecoder, mPresetFiles}, folder.Base()) {
  mParameters.SetHandler(&mHandler);
  mHandler.SetMappingDispatch([this](int index) { mMidi.OnParamChange(index); });
  // A new IR response goes to the graph; unless the pedal's data caused it,
  // it also opens the impulse-response block.
  mIrs.SetDisplayListener([this](const IrDisplayBuffer& response, bool fromPedal) {
    if (!mWindow.HasView()) return;
    if (!fromPedal) mBlocks.SelectOnChange(Block::kImpulseResponse);
    mWindow.SetIrGraphResponse(response);
  });
  mOutbox.SetMonitor(&mMonitor);
  mSessionLogic.SetMonitor(&mMonitor);
  mSessionLogic.SetStreamHooks(&mStreams);
  mIrs.SetUploader([this](int slot, ByteSpan packed) { return mStreams.StartIrUpload(slot, packed); });
  mDecoder.LoadCache();
  mPump.CountDropsIn(&mSession.droppedIncoming);
  mPump.SetSysExReceiver(&mSessionLogic);
}

KR7Control::~KR7Control() {
  mPump.SetSysExReceiver(nullptr);
  // The cache files the receive handler handed over since the last timer
  // step are still written; the window, if any, is past its last call.
  mWindow.Detach();
  mWindow.FinishHeldWork();
}

void KR7Control::OnDeviceTick() {
  // The second stage of a preset-file import belongs to the UI thread, so
  // the receive handler leaves it for the start of the next tick.
  mPresetFiles.Tick();
  mSessionLogic.Tick();
}

void KR7Control::OnFrameworkTimer() {
  mPump.DrainProcessorMessages();
  mWindow.Replay();
  DrawChangedRows();
  if (mWindow.HasView()) {
    // Each waiting text: the window shows them one after another.
    while (auto text = mWindow.TakePendingMessage()) mWindow.ShowMessage(*text, false);
  }
  mIdle.Run();
  mSessionLogic.IdleStep();
  mMainPage.StorePendingName();
}

void KR7Control::DrawChangedRows() {
  for (int slot = 0; slot < kNumPresetSlots; ++slot) {
    if (mEditor.TakePresetRowDirty(slot) && mLists != nullptr) {
      mLists->SetPresetRow(slot, mCache.ListText(slot), mEditor.PresetRowColour(slot));
    }
  }
  for (int row = 0; row < kNumUserIrBrowserRows; ++row) {
    if (mEditor.TakeUserIrRowDirty(row) && mLists != nullptr) {
      mLists->SetUserIrRow(row, mEditor.UserIrRow(row));
    }
  }
}

void KR7Control::OnWindowOpen(EditorView* view, ListView* lists) {
  mWindow.Attach(view);
  mLists = lists;
  mEditor.MarkAllRowsDirty();
}

void KR7Control::OnWindowClose() {
  mSessionLogic.OnWindowClosing();
  mWindow.Detach();
  mLists = nullptr;
}

bool KR7Control::OnCommand(int command) {
  switch (command) {
    case kCommandFirmwarePage:
      if (!mWindow.HasView()) return false;
      break;
    case kCommandGlobalSettings:
      mSessionLogic.OpenGlobalSettings();
      return true;
    case kCommandClearCache:
      mDecoder.ClearCacheFromMenu();
      return true;
    case kCommandNothing:
      return true;
    default:
      break;
  }
  // The transfers own the firmware page, bank import and export and the
  // factory presets update.
  return mStreams.OnCommand(command);
}

void KR7Control::CloseGlobalSettings() {
  mSessionLogic.CloseGlobalSettings();
  mDecoder.ReloadList();
}

bool KR7Control::ShowAbout() {
  if (!mWindow.HasView()) return false;
  mWindow.SetGroupHidden(kGroupAbout, false);
  return true;
}

}  // namespace kr7
