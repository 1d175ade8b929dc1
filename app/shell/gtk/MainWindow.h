#pragma once
// The main window "KR7Control": the menu bar above a drawing area that shows
// the editor's surface at its stored scale, with the client area equal to the
// editor size. It hosts the drawing context (IGraphicsHost), translates GDK
// input into design-unit events, and runs the device timer (100 ms) and the
// framework timer (20 ms) on the GTK main loop; both keep running while a
// message box or the preferences dialog is open, since those run nested loops.

#include <gtk/gtk.h>

#include <functional>
#include <memory>

#include "ui/IGraphics.h"
#include "ui/pages/EditorPages.h"

namespace kr7 {
class KR7Control;
}

namespace kr7::shell {

class MainWindow final : public igraphics::IGraphicsHost {
 public:
  // Called with a menu command id the window does not handle itself.
  using CommandHandler = std::function<void(int commandId)>;
  // Called once, from the window's destruction, before the surface goes.
  using CloseHandler = std::function<void(double scale)>;
  // Called once, from the main loop, after the first frame reached the screen.
  using FirstFrameHandler = std::function<void()>;

  MainWindow(KR7Control& control, double scale, CommandHandler onCommand, CloseHandler onClose);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  GtkWindow* Window() const { return mWindow; }
  igraphics::IGraphics& Graphics() { return mPages.Graphics(); }
  void Present();
  // Destroys the window (the Quit command); the close handler runs.
  void Close();
  bool IsOpen() const { return mWindow != nullptr; }
  void SetFirstFrameHandler(FirstFrameHandler handler) { mOnFirstFrame = std::move(handler); }

  // IGraphicsHost
  igraphics::EMsgBoxResult ShowMessage(std::string_view text, std::string_view caption,
                                       igraphics::EMsgBoxType buttons) override;
  igraphics::FileDialogResult AskForFile(std::string_view initialName,
                                         std::string_view initialFolder,
                                         igraphics::EFileAction action,
                                         std::string_view extension) override;
  bool OpenLink(std::string_view address) override;
  void OnScaleChanged(int widthPixels, int heightPixels) override;
  void RequestRedraw() override;
  void HideCursor(bool hide) override;

 private:
  GtkWidget* BuildMenuBar(GtkAccelGroup* accelerators);
  void ConnectInput();
  void FitToEditor();
  void OnDestroyed();
  float ToDesign(double pixels) const;

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
  static gboolean OnLeave(GtkWidget*, GdkEventCrossing*, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnDeviceTick(gpointer self);
  static gboolean OnFrameworkTimer(gpointer self);
  static gboolean OnFirstFrameShown(gpointer self);

  KR7Control& mControl;
  CommandHandler mOnCommand;
  CloseHandler mOnClose;
  FirstFrameHandler mOnFirstFrame;
  guint mFirstFrameIdle = 0;
  pages::EditorPages mPages;
  igraphics::IGraphics* mGraphics;
  GtkWindow* mWindow = nullptr;
  GtkWidget* mCanvas = nullptr;
  guint mDeviceTimer = 0;
  guint mFrameworkTimer = 0;
  bool mButtonDown = false;
  float mLastX = 0.f, mLastY = 0.f;
  bool mCursorHidden = false;
};

}  // namespace kr7::shell
