#pragma once
// Live editing's view of the application: the parameter table with its
// handler, the window link, the outbox, the preset record and the IR flows,
// behind the one role the live-editing units use.
//
// Either thread, as LiveEditHost says; it keeps no state of its own.

#include "device/SessionHooks.h"
#include "editor/EditorState.h"
#include "editor/IrFlows.h"
#include "editor/LiveEdit.h"
#include "editor/ParameterChanges.h"

namespace kr7 {

class LiveEditLink final : public LiveEditHost {
 public:
  LiveEditLink(ParameterChanges& params, WindowLink& window, SysExSender& sender,
               EditorState& editor, IrFlows& irs)
      : mParams(params), mWindow(window), mSender(sender), mEditor(editor), mIrs(irs) {}

  EditorView& View() override { return mWindow.View(); }
  bool HasWindow() const override { return mWindow.HasWindow(); }
  int ParamInt(int index) const override { return mParams.ParamInt(index); }
  void SetParamToPosition(int index, double position) override {
    mParams.SetParameterFromPosition(index, position);
  }
  void SetParamToValue(int index, int value) override { mParams.SetParameterFromRaw(index, value); }
  void QueueForControls(int index) override { mParams.MoveControls(index); }
  void Send(std::span<const std::uint8_t> message) override { mSender.SendSysEx(message); }
  void StorePresetInto(int slot) override { mSender.SendSysEx(BuildPresetStore(mEditor, slot)); }
  void SetPresetName(std::string name) override { mEditor.SetPresetName(std::move(name)); }
  void SetPresetRowColour(int slot, igraphics::Colour colour) override {
    mEditor.SetPresetRowColour(slot, colour);
  }
  void RefreshIrDisplay() override { mIrs.RefreshDisplay(); }
  std::string LoadUserIrName(int n) override { return mIrs.Store().LoadUserIrName(n); }
  std::string BrowserRowText(int row) const override { return mEditor.UserIrRow(row); }
  void ShowUserIrBank(int bank) override { mIrs.ShowUserIrBank(bank); }
  bool IrImportBusy() const override { return mIrs.Busy(); }
  int BrowserSelection() const override { return mIrs.BrowserSelection(); }
  void SetBrowserSelection(int n) override { mIrs.SetBrowserSelection(n); }
  void ImportIrIntoRow(int n) override { mIrs.ImportIntoRow(n); }
  std::string SourceName(bool sourceB) const override {
    return sourceB ? mEditor.UserIrNameB() : mEditor.UserIrNameA();
  }
  void ShowSourceIr(bool sourceB, int n) override {
    mIrs.ShowSourceName(sourceB ? IrSource::kB : IrSource::kA, n, mIrs.Store().UserIrName(n));
  }

 private:
  ParameterChanges& mParams;
  WindowLink& mWindow;
  SysExSender& mSender;
  EditorState& mEditor;
  IrFlows& mIrs;
};

}  // namespace kr7
