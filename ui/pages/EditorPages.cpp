#include "ui/pages/EditorPages.h"

#include <algorithm>

#include "resources/Resources.h"
#include "ui/IInvisibleSelectControl3.h"
#include "ui/ITextControl.h"

namespace kr7::pages {

EditorPages::EditorPages(const WindowUnits& units, float scale)
    : mUnits(units),
      mGraphics(std::make_unique<igraphics::IGraphics>(this, kDesignWidth, kDesignHeight,
                                                       std::clamp(scale, kMinScale, kMaxScale))),
      mTransitions(*mGraphics, units),
      mView(*mGraphics, mRefs),
      mScale(std::clamp(scale, kMinScale, kMaxScale)) {
  mGraphics->SetScaleLimits(kMinScale, kMaxScale);
  mGraphics->SetResourceProvider([](std::string_view name) { return kr7::FindResource(name); });
}

EditorPages::~EditorPages() { Close(); }

void EditorPages::Open(int screenScale) {
  if (mOpen) return;
  mGraphics->SetScreenScale(screenScale);
  PageContext ctx{*mGraphics, mUnits, mTransitions, mRefs};
  BuildPages(ctx, mScale);
  mUnits.attachment.OnWindowOpen(&mView, this);
  mUnits.irs.PrepareStore([](int id) { return kr7::FindResource(id); });
  mOpen = true;
}

void EditorPages::Close() {
  if (!mOpen) return;
  mOpen = false;
  mUnits.attachment.OnWindowClose();
}

void EditorPages::OnFrameworkTimer() {
  mUnits.attachment.OnFrameworkTimer();
  if (mRefs.transferShield) mRefs.transferShield->Hide(!mUnits.streams.LongTransferRunning());
  mGraphics->OnIdle();
}

void EditorPages::SendParameterValueFromUI(int paramIdx, double normalisedValue) {
  // The list selectors hand the handler the event that moved them, since the
  // logic never reads a control back.
  for (const igraphics::IInvisibleSelectControl3* selector : mRefs.ListSelectors()) {
    if (selector && selector->GetParamIdx() == paramIdx) {
      const SelectorEvent event{static_cast<SelectorEventKind>(selector->LastEvent()), selector->Direction(),
                                static_cast<SelectorModifier>(selector->Modifier())};
      mUnits.parameters.OnSelectorChange(paramIdx, normalisedValue, event);
      return;
    }
  }
  mUnits.parameters.SetParameterFromPosition(paramIdx, normalisedValue);
}

void EditorPages::SetPresetRow(int slot, std::string_view text, igraphics::Colour colour) {
  if (slot < 0 || slot >= kNumPresetRows) return;
  igraphics::ITextControl* row = mRefs.presetRows[static_cast<std::size_t>(slot)];
  if (!row) return;
  row->SetStr(text);
  row->SetTextColour(colour);
}

void EditorPages::SetUserIrRow(int row, std::string_view text) {
  if (row < 0 || row >= kNumUserIrBrowserRows) return;
  if (igraphics::ITextControl* control = mRefs.userIrRows[static_cast<std::size_t>(row)]) control->SetStr(text);
}

}  // namespace kr7::pages
