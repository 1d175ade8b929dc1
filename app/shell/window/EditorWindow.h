#pragma once
// What the main window "KR7Control" does the same on every system, around
// the system's own window (gtk/ and win32/ derive MainWindow from it): it
// owns the editor's pages and hosts their drawing context (IGraphicsHost)
// with the system's dialogs, runs the menu commands, turns a press, the moves
// after it and the release into a drag, runs the framework timer's step, and
// lets the editor go in a fixed order when the window is destroyed.

#include <functional>

#include "app/shell/window/Dialogs.h"
#include "ui/IGraphics.h"
#include "ui/pages/EditorPages.h"

namespace kr7 {
class KR7Control;
}

namespace kr7::shell {

class EditorWindow : public igraphics::IGraphicsHost {
 public:
  // Called with a menu command id the window does not handle itself.
  using CommandHandler = std::function<void(int commandId)>;
  // Called once, from the window's destruction, before the surface goes.
  using CloseHandler = std::function<void(double scale)>;
  // Called once, from the loop, after the first frame reached the screen.
  using FirstFrameHandler = std::function<void()>;

  ~EditorWindow() override = default;
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  NativeWindow Window() const { return mWindow; }
  bool IsOpen() const { return mWindow != nullptr; }
  igraphics::IGraphics& Graphics() { return mPages.Graphics(); }
  void SetFirstFrameHandler(FirstFrameHandler handler) { mOnFirstFrame = std::move(handler); }
  // Destroys the window (the Quit command); the close handler runs.
  virtual void Close() = 0;

  // IGraphicsHost
  igraphics::EMsgBoxResult ShowMessage(std::string_view text, std::string_view caption,
                                       igraphics::EMsgBoxType buttons) final;
  igraphics::FileDialogResult AskForFile(std::string_view initialName,
                                         std::string_view initialFolder,
                                         igraphics::EFileAction action,
                                         std::string_view extension) final;
  bool OpenLink(std::string_view address) final;

 protected:
  EditorWindow(KR7Control& control, double scale, CommandHandler onCommand, CloseHandler onClose);

  // A menu entry or its accelerator: Quit closes the window, the rest goes
  // to the command handler.
  void RunCommand(int commandId);
  // The pointer in design units. A press starts a drag that lasts until the
  // release; moves without one only hover, and leaving ends the hover.
  void PressAt(float x, float y, const igraphics::IMouseMod& mod);
  void ReleaseAt(float x, float y, const igraphics::IMouseMod& mod);
  void MoveTo(float x, float y, const igraphics::IMouseMod& mod);
  void Leave();
  // Every 20 ms: the pages' animations, then what they made dirty.
  void FrameworkTick();
  bool WaitsForFirstFrame() const { return static_cast<bool>(mOnFirstFrame); }
  void RunFirstFrameHandler();
  // From the window's destruction, once the system's window is gone: the
  // pages close while the scale is still known, the close handler gets the
  // scale, and the drawing context loses its host.
  void ReleaseEditor();

  // A design-unit area in whole device pixels, grown to cover it.
  struct PixelArea {
    int left, top, right, bottom;
  };
  static PixelArea PixelsOf(const igraphics::Rect& area, float pixelsPerUnit);

  KR7Control& mControl;
  pages::EditorPages mPages;
  igraphics::IGraphics* mGraphics;
  NativeWindow mWindow = nullptr;
  bool mButtonDown = false;

 private:
  CommandHandler mOnCommand;
  CloseHandler mOnClose;
  FirstFrameHandler mOnFirstFrame;
  float mLastX = 0.f, mLastY = 0.f;
};

}  // namespace kr7::shell
