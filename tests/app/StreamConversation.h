#pragma once
// The session conversation of Conversation.h with the long transfers wired
// in: a StreamController on the editor's session state, its host forwarding
// to the editor, and a window that answers message boxes and file dialogs as
// the test scripts them.

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/core/ViewDispatcher.h"
#include "device/StreamController.h"
#include "device/StreamsHost.h"
#include "model/Parameters.h"
#include "tests/app/Conversation.h"
#include "tests/device/StreamTestSupport.h"

namespace kr7::test {

// RecordingView whose message boxes answer from a script (OK when it runs
// out) and whose file dialog returns a chosen path.
class ScriptedView : public RecordingView {
 public:
  bool ShowMessage(std::string_view text, std::string_view caption, bool okCancel) override {
    RecordingView::ShowMessage(text, caption, okCancel);
    return TakeAnswer(answers);
  }
  std::optional<std::string> AskForFile(const FileRequest& request) override {
    fileRequests.push_back(request);
    return chosenFile;
  }

  std::deque<bool> answers;
  std::optional<std::string> chosenFile;
  std::vector<FileRequest> fileRequests;
};

// The editor's side of the transfers, through its public interface.
class EditorStreamHost : public WindowLink, public CacheReset, public PathMemory {
 public:
  EditorStreamHost(KR7Control& editor, EditorView& view) : mEditor(editor), mView(view) {}
  operator StreamHost() { return {mEditor.Outbox(), *this, *this, *this}; }

  EditorView& View() override { return mView; }
  bool HasWindow() const override { return true; }
  void SetPendingMessage(std::string text) override {
    const std::lock_guard lock(mMutex);
    mPending.push_back(std::move(text));
  }
  void RunOnUiThread(const UiTask& task) override { task(); }
  void ClearCachesAndRebuild() override {
    mEditor.Cache().Clear();
    mEditor.Cache().RebuildBySlot(mEditor.Parameters().ParamInt(kParamPatchOffset));
    ++cacheClears;
  }
  const std::string& RememberedPath() const override { return remembered; }
  bool RememberPath(std::string_view path) override {
    remembered = std::string(path);
    return true;
  }

  std::vector<std::string> Pending() const {
    const std::lock_guard lock(mMutex);
    return mPending;
  }

  int cacheClears = 0;
  std::string remembered;

 private:
  KR7Control& mEditor;
  EditorView& mView;
  mutable std::mutex mMutex;
  std::vector<std::string> mPending;
};

class StreamConversation : public Conversation {
 protected:
  StreamConversation()
      : host(*editor, dispatcher), streams(editor->Session(), host, DataFolder(data.Path()).Base()) {
    dispatcher.Attach(&window);
    editor->SetStreamHooks(&streams);
  }
  ~StreamConversation() override { editor->SetStreamHooks(nullptr); }

  // Ticks until the editor has sent nothing for `quiet` ticks in a row (a
  // stream finished or stalled), at most `limit` ticks.
  int TickUntilQuiet(int quiet = 3, int limit = 2000) {
    int still = 0;
    int ticks = 0;
    while (still < quiet && ticks < limit) {
      const std::size_t before = link.sent.size();
      Tick();
      ++ticks;
      still = link.sent.size() == before ? still + 1 : 0;
    }
    return ticks;
  }

  // The user impulse-response slots of the IrRequests sent, in order.
  std::vector<int> SentIrRequests() const {
    std::vector<int> slots;
    for (const Bytes& m : link.sent) {
      if (m[kOffsetCommand] == kCmdIrRequest) slots.push_back(static_cast<int>(Read14(ByteSpan(m).subspan(kOffsetIrSlot))));
    }
    return slots;
  }

  ScriptedView window;  // what the transfers show
  ViewDispatcher dispatcher;
  EditorStreamHost host;
  StreamController streams;
};

}  // namespace kr7::test
