#pragma once
// The main window "KR7Control" on GTK: the menu bar above a drawing area that
// shows the editor's surface at its stored scale, with the client area equal
// to the editor size. It translates GDK input into design-unit events, and
// runs the device timer (100 ms) and the framework timer (20 ms) on the GTK
// main loop; both keep running while a message box or the preferences dialog
// is open, since those run nested loops.

#include <gtk/gtk.h>

#include "app/shell/window/EditorWindow.h"

namespace kr7::shell {

class MainWindow final : public EditorWindow {
 public:
  MainWindow(KR7Control& control, double scale, CommandHandler onCommand, CloseHandler onClose);
  ~MainWindow() override;

  void Present();
  void Close() override;

  // IGraphicsHost
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

  guint mFirstFrameIdle = 0;
  GtkWidget* mCanvas = nullptr;
  guint mDeviceTimer = 0;
  guint mFrameworkTimer = 0;
  bool mCursorHidden = false;
};

}  // namespace kr7::shell
