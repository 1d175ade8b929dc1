#pragma once
// The optional window as the logic sees it.
//
// ViewDispatcher is itself an EditorView that forwards to the real view while
// one is attached and drops every call while none is. Calls made on the UI
// thread go straight through; calls made on the one other thread that makes
// them (the receive handler on the audio thread) are recorded as ViewCall
// values in a fixed-capacity single-producer, single-consumer ring - no lock,
// no allocation - and replayed, in the order made, by Replay() on the UI
// thread. A direct call on the UI thread first replays what is queued, so the
// window sees every call in the order the logic made it, whichever thread
// made it. A full ring drops the newest call and counts it; Replay logs the
// count.
//
// Work handed over with RunOnUiThread (file writes and reads the audio
// thread must not wait for) is copied into a second fixed ring of tasks and
// takes a place in the call ring, so it runs in the order of the calls around
// it, with or without a window; when the call ring is full it runs at the end
// of the next replay. No task is dropped: one the full ring refuses is held
// on the handing thread, with every later one behind it, and handed over
// first at its next step; while any is held the message pump leaves the
// next message queued (the held room fits the most tasks one message makes).
//
// The modal operations (ShowMessage, AskForFile, OpenLink) belong to the UI
// thread only; made from another thread they do nothing and report "cancel".
// The receive handler leaves a pending message instead, which the idle step
// takes.
//
// It is the window link every unit of the logic is given.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "app/core/ViewCall.h"
#include "device/SessionHooks.h"
#include "device/SpscRing.h"
#include "model/EditorView.h"

namespace kr7 {

// Texts for message boxes, left by a thread that must not show one and shown
// by the UI thread's idle step, each of them, in the order left.
class PendingMessage {
 public:
  void Set(std::string text);
  // The oldest message waiting, taking it.
  std::optional<std::string> Take();
  bool IsSet() const { return mSet.load(std::memory_order_acquire); }

 private:
  std::atomic<bool> mSet{false};
  std::mutex mMutex;
  std::deque<std::string> mTexts;  // guarded by mMutex
};

// Room for a whole preset's parameter moves with its texts (a preset dump
// makes about a hundred calls) several times over between two timer steps,
// and for a whole fetch answered at once (four places a preset: progress
// texts and the file write) followed by the settings and the active preset.
inline constexpr std::size_t kViewCallCapacity = 1024;
// The IR graph's response points (the display buffer).
inline constexpr std::size_t kMaxIrGraphPoints = 4096;
// Handed work waiting for the UI thread: a whole fetch of one slot per
// message with room to spare.
inline constexpr std::size_t kUiTaskCapacity = 256;
// Tasks the full ring refused, kept by the handing thread: room for all one
// message makes (a few: an identity clears the files and reads the IR names).
inline constexpr std::size_t kHeldUiTaskCapacity = 8;

class ViewDispatcher final : public EditorView, public WindowLink {
 public:
  // The constructing thread is taken as the UI thread.
  ViewDispatcher();

  // UI thread. Attaching or detaching drops whatever is still queued: those
  // calls were meant for a window that no longer exists.
  void Attach(EditorView* view);
  void Detach() { Attach(nullptr); }
  bool HasView() const { return mHasView.load(std::memory_order_acquire); }

  // UI thread (the 20 ms timer): replays queued calls in order.
  void Replay();
  // UI thread, once no receive step can run any more: replays and runs the
  // work still held back.
  void FinishHeldWork();
  // Calls dropped because the ring was full, since construction.
  std::uint64_t DroppedCalls() const { return mDroppedTotal.load(std::memory_order_relaxed); }
  bool OnUiThread() const { return std::this_thread::get_id() == mUiThread; }

  // WindowLink
  EditorView& View() override { return *this; }
  bool HasWindow() const override { return HasView(); }
  void SetPendingMessage(std::string text) override { mPending.Set(std::move(text)); }
  // UI thread (the idle step): the oldest pending message, if one waits.
  std::optional<std::string> TakePendingMessage() { return mPending.Take(); }
  bool HasPendingMessage() const { return mPending.IsSet(); }
  void RunOnUiThread(const UiTask& task) override;
  bool HandOverHeldWork() override;

  void SetControlText(int tag, std::string_view text) override;
  void SetControlTextColour(int tag, igraphics::Colour colour) override;
  void SetControlValue(int tag, double normalised) override;
  void SetControlHidden(int tag, bool hidden) override;
  void SetControlDisabled(int tag, bool disabled) override;
  void SetGroupHidden(std::string_view group, bool hidden) override;
  void SetGroupDisabled(std::string_view group, bool disabled) override;
  void SetDynamicsInput(DynamicsInput input, double value) override;
  void SetDynamicsGraphHidden(bool hidden) override;
  void SetIrGraphResponse(std::span<const double> response) override;
  void SetParameterControlsDisabled(int paramIndex, bool disabled) override;
  void SetPresetRowPlacement(int slot, double top, bool hidden) override;
  void SetUserIrRowColour(int row, igraphics::Colour colour) override;
  void SendParameterValueFromDelegate(int paramIndex, double value) override;
  using EditorView::ShowMessage;
  bool ShowMessage(std::string_view text, std::string_view caption, bool okCancel) override;
  std::optional<std::string> AskForFile(const FileRequest& request) override;
  void OpenLink(std::string_view url) override;

 private:
  // Runs call now (UI thread) or queues it (the audio thread); nothing
  // without a view.
  void Dispatch(const ViewCall& call);
  // Runs the oldest work handed over; false when none waits.
  bool RunHandedWork();
  // Puts work into the ring with its place among the calls; false when full.
  bool Hand(const UiTask& task);
  void CountDropped();

  const std::thread::id mUiThread;
  EditorView* mView = nullptr;  // UI thread only
  std::atomic<bool> mHasView{false};
  SpscRing<ViewCall, kViewCallCapacity> mQueue;
  std::atomic<std::uint64_t> mDropped{0};       // not yet logged
  std::atomic<std::uint64_t> mDroppedTotal{0};
  // The latest IR graph response made on the audio thread.
  std::mutex mIrMutex;
  std::array<double, kMaxIrGraphPoints> mIrResponse{};  // guarded by mIrMutex
  std::size_t mIrLength = 0;                            // guarded by mIrMutex
  PendingMessage mPending;
  // Made once, here: a task holds a whole IR image.
  std::unique_ptr<SpscRing<UiTask, kUiTaskCapacity>> mWork = std::make_unique<SpscRing<UiTask, kUiTaskCapacity>>();
  // The handing thread's own, oldest first: work the full ring refused.
  std::unique_ptr<std::array<UiTask, kHeldUiTaskCapacity>> mHeld =
      std::make_unique<std::array<UiTask, kHeldUiTaskCapacity>>();
  std::size_t mHeldFirst = 0;
  std::size_t mHeldCount = 0;
  // Replay runs (UI thread only): window calls the replayed work makes go
  // straight through, behind what it follows and before what follows it.
  bool mReplaying = false;
};

}  // namespace kr7
