#include "app/shell/window/Dialogs.h"

#include <gtk/gtk.h>

#include <gio/gio.h>

#include <deque>
#include <memory>

#include "app/shell/ShellActions.h"

namespace kr7::shell {
namespace {

GtkWidget* NewMessageBox(GtkWindow* parent, std::string_view text, bool okCancel,
                         std::string_view caption) {
  GtkWidget* dialog = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_OTHER,
      okCancel ? GTK_BUTTONS_OK_CANCEL : GTK_BUTTONS_OK, "%.*s", static_cast<int>(text.size()),
      text.data());
  gtk_window_set_title(GTK_WINDOW(dialog), MessageBoxTitle(caption).c_str());
  return dialog;
}

// An informative box waiting for its turn. Its parent may be destroyed
// meanwhile; the weak pointer then reads null and the box stands alone.
class WaitingBox {
 public:
  WaitingBox(GtkWindow* parent, std::string_view text, std::string_view caption)
      : mParent(parent), mText(text), mCaption(caption) {
    if (mParent) g_object_add_weak_pointer(G_OBJECT(mParent), reinterpret_cast<gpointer*>(&mParent));
  }
  ~WaitingBox() {
    if (mParent) g_object_remove_weak_pointer(G_OBJECT(mParent), reinterpret_cast<gpointer*>(&mParent));
  }
  WaitingBox(const WaitingBox&) = delete;
  WaitingBox& operator=(const WaitingBox&) = delete;

  GtkWidget* Open() const { return NewMessageBox(mParent, mText, false, mCaption); }

 private:
  GtkWindow* mParent;
  std::string mText;
  std::string mCaption;
};

// The informative boxes of the program, on the UI thread only: the one on
// screen and those waiting behind it.
struct InformationBoxes {
  GtkWidget* onScreen = nullptr;
  std::deque<std::unique_ptr<WaitingBox>> waiting;
};

InformationBoxes& Boxes() {
  static InformationBoxes boxes;
  return boxes;
}

void ShowNextInformation();

void OnInformationAnswered(GtkDialog* dialog, gint /*response*/, gpointer /*unused*/) {
  gtk_widget_destroy(GTK_WIDGET(dialog));
}

// Also reached when the parent window takes the box down with it.
void OnInformationGone(GtkWidget* /*dialog*/, gpointer /*unused*/) {
  Boxes().onScreen = nullptr;
  ShowNextInformation();
}

void ShowNextInformation() {
  InformationBoxes& boxes = Boxes();
  if (boxes.onScreen || boxes.waiting.empty()) return;
  const std::unique_ptr<WaitingBox> next = std::move(boxes.waiting.front());
  boxes.waiting.pop_front();
  boxes.onScreen = next->Open();
  g_signal_connect(boxes.onScreen, "response", G_CALLBACK(OnInformationAnswered), nullptr);
  g_signal_connect(boxes.onScreen, "destroy", G_CALLBACK(OnInformationGone), nullptr);
  gtk_widget_show(boxes.onScreen);
}

}  // namespace

bool ShowMessageBox(GtkWindow* parent, std::string_view text, bool okCancel,
                    std::string_view caption) {
  if (!okCancel) {
    Boxes().waiting.push_back(std::make_unique<WaitingBox>(parent, text, caption));
    ShowNextInformation();
    return true;
  }
  GtkWidget* dialog = NewMessageBox(parent, text, true, caption);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response == GTK_RESPONSE_OK;
}

std::optional<std::string> ChooseFile(GtkWindow* parent, const FileRequest& request) {
  GtkFileChooserNative* chooser = gtk_file_chooser_native_new(
      request.save ? "Save" : "Open", parent,
      request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, nullptr,
      nullptr);
  GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
  if (!request.extension.empty()) {
    GtkFileFilter* filter = gtk_file_filter_new();
    const std::string pattern = "*." + request.extension;
    gtk_file_filter_add_pattern(filter, pattern.c_str());
    // Extensions are matched without regard to case, as on the desktop.
    std::string upper = pattern;
    for (char& c : upper) c = static_cast<char>(g_ascii_toupper(c));
    gtk_file_filter_add_pattern(filter, upper.c_str());
    gtk_file_filter_set_name(filter, pattern.c_str());
    gtk_file_chooser_add_filter(files, filter);
  }
  if (request.save) gtk_file_chooser_set_do_overwrite_confirmation(files, TRUE);
  if (!request.initialFolder.empty())
    gtk_file_chooser_set_current_folder(files, request.initialFolder.c_str());
  if (request.save && !request.initialName.empty())
    gtk_file_chooser_set_current_name(files, request.initialName.c_str());

  std::optional<std::string> chosen;
  if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (char* name = gtk_file_chooser_get_filename(files)) {
      chosen = name;
      g_free(name);
    }
  }
  g_object_unref(chooser);
  return chosen;
}

void SetWindowTitle(GtkWindow* window, std::string_view title) {
  gtk_window_set_title(window, std::string(title).c_str());
}

bool OpenWithDefaultApplication(const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  char* uri = g_file_get_uri(file);
  const gboolean launched = g_app_info_launch_default_for_uri(uri, nullptr, nullptr);
  g_free(uri);
  g_object_unref(file);
  return launched;
}

bool OpenLinkWhenOnline(std::string_view url) {
  GNetworkMonitor* monitor = g_network_monitor_get_default();
  if (!monitor || !g_network_monitor_get_network_available(monitor)) return false;
  const std::string address(url);
  return g_app_info_launch_default_for_uri(address.c_str(), nullptr, nullptr);
}

}  // namespace kr7::shell
