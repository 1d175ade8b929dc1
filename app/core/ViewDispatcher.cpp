#include "app/core/ViewDispatcher.h"

#include <utility>

namespace kr7 {

ViewDispatcher::ViewDispatcher() : mUiThread(std::this_thread::get_id()) {}

void ViewDispatcher::Attach(EditorView* view) {
  {
    std::lock_guard lock(mQueueMutex);
    mQueue.clear();
  }
  mView = view;
  mHasView.store(view != nullptr, std::memory_order_release);
}

void ViewDispatcher::Replay() {
  if (!OnUiThread()) return;
  std::vector<Call> calls;
  {
    std::lock_guard lock(mQueueMutex);
    calls.swap(mQueue);
  }
  if (mView == nullptr) return;
  for (auto& call : calls) call(*mView);
}

void ViewDispatcher::Dispatch(Call call) {
  if (!HasView()) return;
  if (OnUiThread()) {
    Replay();
    if (mView != nullptr) call(*mView);
    return;
  }
  std::lock_guard lock(mQueueMutex);
  mQueue.push_back(std::move(call));
}

void ViewDispatcher::SetControlText(int tag, std::string_view text) {
  Dispatch([tag, copy = std::string(text)](EditorView& v) { v.SetControlText(tag, copy); });
}

void ViewDispatcher::SetControlTextColour(int tag, igraphics::Colour colour) {
  Dispatch([tag, colour](EditorView& v) { v.SetControlTextColour(tag, colour); });
}

void ViewDispatcher::SetControlValue(int tag, double normalised) {
  Dispatch([tag, normalised](EditorView& v) { v.SetControlValue(tag, normalised); });
}

void ViewDispatcher::SetControlHidden(int tag, bool hidden) {
  Dispatch([tag, hidden](EditorView& v) { v.SetControlHidden(tag, hidden); });
}

void ViewDispatcher::SetControlDisabled(int tag, bool disabled) {
  Dispatch([tag, disabled](EditorView& v) { v.SetControlDisabled(tag, disabled); });
}

void ViewDispatcher::SetGroupHidden(std::string_view group, bool hidden) {
  Dispatch([copy = std::string(group), hidden](EditorView& v) { v.SetGroupHidden(copy, hidden); });
}

void ViewDispatcher::SetGroupDisabled(std::string_view group, bool disabled) {
  Dispatch(
      [copy = std::string(group), disabled](EditorView& v) { v.SetGroupDisabled(copy, disabled); });
}

void ViewDispatcher::SetDynamicsInput(DynamicsInput input, double value) {
  Dispatch([input, value](EditorView& v) { v.SetDynamicsInput(input, value); });
}

void ViewDispatcher::SetDynamicsGraphHidden(bool hidden) {
  Dispatch([hidden](EditorView& v) { v.SetDynamicsGraphHidden(hidden); });
}

void ViewDispatcher::SetIrGraphResponse(std::span<const double> response) {
  Dispatch([copy = std::vector<double>(response.begin(), response.end())](EditorView& v) {
    v.SetIrGraphResponse(copy);
  });
}

void ViewDispatcher::SetParameterControlsDisabled(int paramIndex, bool disabled) {
  Dispatch([paramIndex, disabled](EditorView& v) {
    v.SetParameterControlsDisabled(paramIndex, disabled);
  });
}

void ViewDispatcher::SetPresetRowPlacement(int slot, double top, bool hidden) {
  Dispatch([slot, top, hidden](EditorView& v) { v.SetPresetRowPlacement(slot, top, hidden); });
}

void ViewDispatcher::SetUserIrRowColour(int row, igraphics::Colour colour) {
  Dispatch([row, colour](EditorView& v) { v.SetUserIrRowColour(row, colour); });
}

void ViewDispatcher::SendParameterValueFromDelegate(int paramIndex, double value) {
  Dispatch(
      [paramIndex, value](EditorView& v) { v.SendParameterValueFromDelegate(paramIndex, value); });
}

bool ViewDispatcher::ShowMessage(std::string_view text, std::string_view caption, bool okCancel) {
  if (!OnUiThread() || mView == nullptr) return false;
  Replay();
  return mView->ShowMessage(text, caption, okCancel);
}

std::optional<std::string> ViewDispatcher::AskForFile(const FileRequest& request) {
  if (!OnUiThread() || mView == nullptr) return std::nullopt;
  Replay();
  return mView->AskForFile(request);
}

void ViewDispatcher::OpenLink(std::string_view url) {
  if (!OnUiThread() || mView == nullptr) return;
  mView->OpenLink(url);
}

void PendingMessage::Set(std::string text) {
  std::lock_guard lock(mMutex);
  mTexts.push_back(std::move(text));
  mSet.store(true, std::memory_order_release);
}

std::optional<std::string> PendingMessage::Take() {
  // The flag lets the idle step skip the lock on its usual empty visit; the
  // texts and the flag change together under the lock.
  if (!mSet.load(std::memory_order_acquire)) return std::nullopt;
  std::lock_guard lock(mMutex);
  if (mTexts.empty()) return std::nullopt;
  std::string text = std::move(mTexts.front());
  mTexts.pop_front();
  mSet.store(!mTexts.empty(), std::memory_order_relaxed);
  return text;
}

}  // namespace kr7
