#include "app/shell/gtk/MainWindow.h"

#include <string>
#include <utility>

#include "app/core/KR7Control.h"
#include "app/shell/MenuCommands.h"

namespace kr7::shell {
namespace {

constexpr guint kDeviceTickMs = 100;
constexpr guint kFrameworkTimerMs = 20;
constexpr const char* kWindowTitle = "KR7Control";

igraphics::IMouseMod ModifiersOf(guint state, bool left, bool right) {
  igraphics::IMouseMod mod;
  mod.L = left;
  mod.R = right;
  mod.S = (state & GDK_SHIFT_MASK) != 0;
  mod.C = (state & GDK_CONTROL_MASK) != 0;
  mod.A = (state & GDK_MOD1_MASK) != 0;
  return mod;
}

// Menus spell mnemonics with "&"; GTK with "_".
std::string GtkMnemonic(std::string_view label) {
  std::string text;
  for (char c : label) {
    if (c == '_') text += "__";
    else text += (c == '&') ? '_' : c;
  }
  return text;
}

struct MenuActivation {
  MainWindow* window;
  int commandId;
};

}  // namespace

MainWindow::MainWindow(KR7Control& control, double scale, CommandHandler onCommand,
                       CloseHandler onClose)
    : EditorWindow(control, scale, std::move(onCommand), std::move(onClose)) {
  mWindow = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  gtk_window_set_title(mWindow, kWindowTitle);
  gtk_window_set_resizable(mWindow, FALSE);
  gtk_window_set_position(mWindow, GTK_WIN_POS_CENTER);

  GtkAccelGroup* accelerators = gtk_accel_group_new();
  gtk_window_add_accel_group(mWindow, accelerators);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(box), BuildMenuBar(accelerators), FALSE, FALSE, 0);
  mCanvas = gtk_drawing_area_new();
  gtk_widget_set_can_focus(mCanvas, TRUE);
  gtk_box_pack_start(GTK_BOX(box), mCanvas, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(mWindow), box);
  ConnectInput();
  g_signal_connect_swapped(mWindow, "destroy", G_CALLBACK(+[](MainWindow* self) {
                             self->OnDestroyed();
                           }),
                           this);

  // HiDPI screens draw the @2x artwork.
  mPages.Open(gtk_widget_get_scale_factor(GTK_WIDGET(mWindow)));
  FitToEditor();
  mDeviceTimer = g_timeout_add(kDeviceTickMs, &MainWindow::OnDeviceTick, this);
  mFrameworkTimer = g_timeout_add(kFrameworkTimerMs, &MainWindow::OnFrameworkTimer, this);

  gtk_widget_show_all(GTK_WIDGET(mWindow));
  gtk_widget_grab_focus(mCanvas);
}

MainWindow::~MainWindow() { Close(); }

GtkWidget* MainWindow::BuildMenuBar(GtkAccelGroup* accelerators) {
  GtkWidget* bar = gtk_menu_bar_new();
  for (const MenuPopup& popup : MainMenu()) {
    GtkWidget* top = gtk_menu_item_new_with_mnemonic(GtkMnemonic(popup.label).c_str());
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_set_accel_group(GTK_MENU(menu), accelerators);
    for (const MenuEntry& entry : popup.entries) {
      if (entry.commandId == 0) {
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
        continue;
      }
      GtkWidget* item = gtk_menu_item_new_with_mnemonic(GtkMnemonic(entry.label).c_str());
      if (!entry.accelerator.empty()) {
        guint key = 0;
        GdkModifierType mods{};
        gtk_accelerator_parse(std::string(entry.accelerator).c_str(), &key, &mods);
        gtk_widget_add_accelerator(item, "activate", accelerators, key, mods, GTK_ACCEL_VISIBLE);
      }
      auto* activation = new MenuActivation{this, entry.commandId};
      g_signal_connect_data(
          item, "activate", G_CALLBACK(+[](GtkMenuItem*, MenuActivation* a) {
            a->window->RunCommand(a->commandId);
          }),
          activation, +[](gpointer data, GClosure*) { delete static_cast<MenuActivation*>(data); },
          GConnectFlags{});
      gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    }
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
  }
  return bar;
}

void MainWindow::ConnectInput() {
  gtk_widget_add_events(mCanvas, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                                     GDK_SMOOTH_SCROLL_MASK | GDK_LEAVE_NOTIFY_MASK |
                                     GDK_KEY_PRESS_MASK);
  g_signal_connect(mCanvas, "draw", G_CALLBACK(&MainWindow::OnDraw), this);
  g_signal_connect(mCanvas, "button-press-event", G_CALLBACK(&MainWindow::OnButtonPress), this);
  g_signal_connect(mCanvas, "button-release-event", G_CALLBACK(&MainWindow::OnButtonRelease),
                   this);
  g_signal_connect(mCanvas, "motion-notify-event", G_CALLBACK(&MainWindow::OnMotion), this);
  g_signal_connect(mCanvas, "scroll-event", G_CALLBACK(&MainWindow::OnScroll), this);
  g_signal_connect(mCanvas, "leave-notify-event", G_CALLBACK(&MainWindow::OnLeave), this);
  g_signal_connect(mCanvas, "key-press-event", G_CALLBACK(&MainWindow::OnKeyPress), this);
}

void MainWindow::FitToEditor() {
  gtk_widget_set_size_request(mCanvas, mGraphics->WindowWidth(), mGraphics->WindowHeight());
  gtk_window_resize(mWindow, 1, 1);  // shrink-wrap the menu bar and the canvas
  mGraphics->SetAllControlsDirty();
  RequestRedraw();
}

void MainWindow::Present() {
  if (mWindow) gtk_window_present(mWindow);
}

void MainWindow::Close() {
  if (mWindow) gtk_widget_destroy(GTK_WIDGET(mWindow));
}

void MainWindow::OnDestroyed() {
  if (mDeviceTimer) g_source_remove(mDeviceTimer);
  if (mFrameworkTimer) g_source_remove(mFrameworkTimer);
  if (mFirstFrameIdle) g_source_remove(mFirstFrameIdle);
  mDeviceTimer = mFrameworkTimer = mFirstFrameIdle = 0;
  mWindow = nullptr;
  mCanvas = nullptr;
  ReleaseEditor();
}

float MainWindow::ToDesign(double pixels) const {
  return static_cast<float>(pixels / mGraphics->GetDrawScale());
}

// --- IGraphicsHost --------------------------------------------------------------

void MainWindow::OnScaleChanged(int, int) {
  if (mCanvas) FitToEditor();
}

void MainWindow::RequestRedraw() {
  if (!mCanvas) return;
  const float scale = mGraphics->GetDrawScale();
  for (const igraphics::Rect& dirty : mGraphics->TakeDirtyRects()) {
    const PixelArea pixels = PixelsOf(dirty, scale);
    gtk_widget_queue_draw_area(mCanvas, pixels.left, pixels.top, pixels.right - pixels.left,
                               pixels.bottom - pixels.top);
  }
}

void MainWindow::HideCursor(bool hide) {
  if (!mCanvas || hide == mCursorHidden) return;
  mCursorHidden = hide;
  GdkWindow* window = gtk_widget_get_window(mCanvas);
  if (!window) return;
  GdkCursor* cursor =
      hide ? gdk_cursor_new_for_display(gdk_window_get_display(window), GDK_BLANK_CURSOR)
           : nullptr;
  gdk_window_set_cursor(window, cursor);
  if (cursor) g_object_unref(cursor);
}

// --- GTK signals ------------------------------------------------------------------

gboolean MainWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  const float scale = self->mGraphics->GetDrawScale();
  auto drawPixels = [self, cr, scale](double x1, double y1, double x2, double y2) {
    self->mGraphics->Draw(cr, igraphics::Rect(static_cast<float>(x1 / scale), static_cast<float>(y1 / scale),
                                              static_cast<float>(x2 / scale), static_cast<float>(y2 / scale)));
  };
  // GTK hands over the damaged region; its rectangles are drawn one by one
  // rather than the box around them.
  cairo_rectangle_list_t* rects = cairo_copy_clip_rectangle_list(cr);
  if (rects->status == CAIRO_STATUS_SUCCESS) {
    for (int i = 0; i < rects->num_rectangles; ++i) {
      const cairo_rectangle_t& r = rects->rectangles[i];
      drawPixels(r.x, r.y, r.x + r.width, r.y + r.height);
    }
  } else {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    drawPixels(x1, y1, x2, y2);
  }
  cairo_rectangle_list_destroy(rects);
  // The frame is copied to the window when this paint ends; what waits for
  // the first frame runs in the next quiet moment of the loop.
  if (self->WaitsForFirstFrame() && !self->mFirstFrameIdle)
    self->mFirstFrameIdle = g_idle_add(&MainWindow::OnFirstFrameShown, self);
  return TRUE;
}

gboolean MainWindow::OnFirstFrameShown(gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  self->mFirstFrameIdle = 0;
  gdk_display_flush(gtk_widget_get_display(GTK_WIDGET(self->mWindow)));
  self->RunFirstFrameHandler();
  return G_SOURCE_REMOVE;
}

gboolean MainWindow::OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  gtk_widget_grab_focus(widget);
  const float x = self->ToDesign(event->x), y = self->ToDesign(event->y);
  const igraphics::IMouseMod mod =
      ModifiersOf(event->state, event->button == 1, event->button == 3);
  if (event->type == GDK_2BUTTON_PRESS) {
    self->mGraphics->OnMouseDblClick(x, y, mod);
  } else if (event->type == GDK_BUTTON_PRESS) {
    self->PressAt(x, y, mod);
  }
  self->RequestRedraw();
  return TRUE;
}

gboolean MainWindow::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  self->ReleaseAt(self->ToDesign(event->x), self->ToDesign(event->y),
                  ModifiersOf(event->state, event->button == 1, event->button == 3));
  self->RequestRedraw();
  return TRUE;
}

gboolean MainWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  const float x = self->ToDesign(event->x), y = self->ToDesign(event->y);
  const bool left = (event->state & GDK_BUTTON1_MASK) != 0;
  const bool right = (event->state & GDK_BUTTON3_MASK) != 0;
  self->MoveTo(x, y, ModifiersOf(event->state, left, right));
  self->RequestRedraw();
  return TRUE;
}

gboolean MainWindow::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  double notches = 0.0;
  switch (event->direction) {
    case GDK_SCROLL_UP: notches = 1.0; break;
    case GDK_SCROLL_DOWN: notches = -1.0; break;
    case GDK_SCROLL_SMOOTH: notches = -event->delta_y; break;
    default: return FALSE;
  }
  self->mGraphics->OnMouseWheel(self->ToDesign(event->x), self->ToDesign(event->y),
                                ModifiersOf(event->state, false, false),
                                static_cast<float>(notches));
  self->RequestRedraw();
  return TRUE;
}

gboolean MainWindow::OnLeave(GtkWidget*, GdkEventCrossing*, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  self->Leave();
  self->RequestRedraw();
  return FALSE;
}

gboolean MainWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* self = static_cast<MainWindow*>(data);
  using igraphics::EKey;
  igraphics::IKeyPress key;
  switch (event->keyval) {
    case GDK_KEY_BackSpace: key.Key = EKey::kBackspace; break;
    case GDK_KEY_Delete: key.Key = EKey::kDelete; break;
    case GDK_KEY_Left: key.Key = EKey::kLeft; break;
    case GDK_KEY_Right: key.Key = EKey::kRight; break;
    case GDK_KEY_Up: key.Key = EKey::kUp; break;
    case GDK_KEY_Down: key.Key = EKey::kDown; break;
    case GDK_KEY_Home: key.Key = EKey::kHome; break;
    case GDK_KEY_End: key.Key = EKey::kEnd; break;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: key.Key = EKey::kReturn; break;
    case GDK_KEY_Escape: key.Key = EKey::kEscape; break;
    case GDK_KEY_Tab: key.Key = EKey::kTab; break;
    default: {
      const gunichar c = gdk_keyval_to_unicode(event->keyval);
      if (c == 0) return FALSE;
      char utf8[8] = {};
      g_unichar_to_utf8(c, utf8);
      key.Utf8 = utf8;
    }
  }
  key.Mod = ModifiersOf(event->state, false, false);
  const bool used = self->mGraphics->OnKeyDown(key);
  self->RequestRedraw();
  return used ? TRUE : FALSE;
}

gboolean MainWindow::OnDeviceTick(gpointer data) {
  static_cast<MainWindow*>(data)->mControl.OnDeviceTick();
  return G_SOURCE_CONTINUE;
}

gboolean MainWindow::OnFrameworkTimer(gpointer data) {
  static_cast<MainWindow*>(data)->FrameworkTick();
  return G_SOURCE_CONTINUE;
}

}  // namespace kr7::shell
