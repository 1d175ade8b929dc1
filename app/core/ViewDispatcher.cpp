#include "app/core/ViewDispatcher.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kr7 {

ViewDispatcher::ViewDispatcher() : mUiThread(std::this_thread::get_id()) {}

void ViewDispatcher::Attach(EditorView* view) {
  // Calls still queued were meant for a window that no longer exists; the
  // work handed over still runs.
  mView = nullptr;
  mHasView.store(false, std::memory_order_release);
  Replay();
  mView = view;
  mHasView.store(view != nullptr, std::memory_order_release);
}

void ViewDispatcher::Replay() {
  if (!OnUiThread() || mReplaying) return;
  mReplaying = true;
  ViewCall call;
  while (mQueue.Pop(call)) {
    if (std::holds_alternative<viewcall::UiWork>(call)) {
      RunHandedWork();
    } else if (mView != nullptr && std::holds_alternative<viewcall::IrGraphResponse>(call)) {
      // Only this call reads the buffer the audio thread writes; the lock is
      // not held over the others.
      std::lock_guard lock(mIrMutex);
      Apply(call, *mView, std::span<const double>(mIrResponse.data(), mIrLength));
    } else if (mView != nullptr) {
      Apply(call, *mView, {});
    }
  }
  // Work whose place the full ring could not take.
  while (RunHandedWork()) {
  }
  mReplaying = false;
  if (const std::uint64_t dropped = mDropped.exchange(0, std::memory_order_relaxed)) {
    std::fprintf(stderr, "KR7Control: %llu window updates dropped (hand-off ring full)\n",
                 static_cast<unsigned long long>(dropped));
  }
}

void ViewDispatcher::FinishHeldWork() {
  Replay();
  // The ring is empty now and has room for everything held.
  HandOverHeldWork();
  Replay();
}

void ViewDispatcher::RunOnUiThread(const UiTask& task) {
  if (OnUiThread()) {
    Replay();
    task();
    return;
  }
  // Later work never overtakes work held back.
  if (HandOverHeldWork() && Hand(task)) return;
  if (mHeldCount == mHeld->size()) {
    CountDropped();
    return;
  }
  (*mHeld)[(mHeldFirst + mHeldCount) % mHeld->size()] = task;
  ++mHeldCount;
}

bool ViewDispatcher::HandOverHeldWork() {
  for (; mHeldCount > 0; --mHeldCount) {
    if (!Hand((*mHeld)[mHeldFirst])) return false;
    mHeldFirst = (mHeldFirst + 1) % mHeld->size();
  }
  return true;
}

bool ViewDispatcher::Hand(const UiTask& task) {
  if (!mWork->Push(task)) return false;
  // A full call ring loses the place in the order, not the work.
  mQueue.Push(viewcall::UiWork{});
  return true;
}

bool ViewDispatcher::RunHandedWork() {
  UiTask task;
  if (!mWork->Pop(task)) return false;
  task();
  return true;
}

void ViewDispatcher::CountDropped() {
  mDropped.fetch_add(1, std::memory_order_relaxed);
  mDroppedTotal.fetch_add(1, std::memory_order_relaxed);
}

void ViewDispatcher::Dispatch(const ViewCall& call) {
  if (!HasView()) return;
  if (OnUiThread()) {
    Replay();
    if (mView != nullptr) Apply(call, *mView, {});
    return;
  }
  if (!mQueue.Push(call)) CountDropped();
}

void ViewDispatcher::SetControlText(int tag, std::string_view text) {
  Dispatch(viewcall::ControlText{tag, FixedText(text)});
}

void ViewDispatcher::SetControlTextColour(int tag, igraphics::Colour colour) {
  Dispatch(viewcall::ControlTextColour{tag, colour});
}

void ViewDispatcher::SetControlValue(int tag, double normalised) {
  Dispatch(viewcall::ControlValue{tag, normalised});
}

void ViewDispatcher::SetControlHidden(int tag, bool hidden) {
  Dispatch(viewcall::ControlHidden{tag, hidden});
}

void ViewDispatcher::SetControlDisabled(int tag, bool disabled) {
  Dispatch(viewcall::ControlDisabled{tag, disabled});
}

void ViewDispatcher::SetGroupHidden(std::string_view group, bool hidden) {
  Dispatch(viewcall::GroupHidden{FixedText(group), hidden});
}

void ViewDispatcher::SetGroupDisabled(std::string_view group, bool disabled) {
  Dispatch(viewcall::GroupDisabled{FixedText(group), disabled});
}

void ViewDispatcher::SetDynamicsInput(DynamicsInput input, double value) {
  Dispatch(viewcall::DynamicsInputValue{input, value});
}

void ViewDispatcher::SetDynamicsGraphHidden(bool hidden) {
  Dispatch(viewcall::DynamicsGraphHidden{hidden});
}

void ViewDispatcher::SetIrGraphResponse(std::span<const double> response) {
  if (!HasView()) return;
  if (OnUiThread()) {
    Replay();
    if (mView != nullptr) mView->SetIrGraphResponse(response);
    return;
  }
  {
    // A short lock, and no allocation: the buffer was sized at construction
    // and a longer response is cut to it.
    std::lock_guard lock(mIrMutex);
    const std::size_t n = std::min(response.size(), mIrResponse.size());
    std::copy_n(response.begin(), n, mIrResponse.begin());
    mIrLength = n;
  }
  Dispatch(viewcall::IrGraphResponse{});
}

void ViewDispatcher::SetParameterControlsDisabled(int paramIndex, bool disabled) {
  Dispatch(viewcall::ParameterControlsDisabled{paramIndex, disabled});
}

void ViewDispatcher::SetPresetRowPlacement(int slot, double top, bool hidden) {
  Dispatch(viewcall::PresetRowPlacement{slot, top, hidden});
}

void ViewDispatcher::SetUserIrRowColour(int row, igraphics::Colour colour) {
  Dispatch(viewcall::UserIrRowColour{row, colour});
}

void ViewDispatcher::SendParameterValueFromDelegate(int paramIndex, double value) {
  Dispatch(viewcall::ParameterValue{paramIndex, value});
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
