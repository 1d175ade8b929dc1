// The modal "Preferences" dialog: the group "MIDI Device Settings" with the
// "Input Device" and "Output Device" lists and the buttons OK, Apply and
// Cancel, and "Find Pedal" when a pedal search is possible.

#include <gtk/gtk.h>

#include <string>

#include "app/shell/PedalDetection.h"
#include "app/shell/Preferences.h"
#include "app/shell/window/Dialogs.h"

namespace kr7::shell {
namespace {

constexpr int kResponseApply = 1;
constexpr guint kSearchWatchMs = 100;

// "Find Pedal": the button, the result line and the lists it updates when the
// search ends. Lives as long as the dialog runs.
struct FindPedal {
  PedalDetection* detection;
  PreferencesSession* session;
  GtkWidget* button;
  GtkWidget* result;
  GtkWidget* inputs;
  GtkWidget* outputs;
  guint watch = 0;
};

gboolean WatchSearch(gpointer data) {
  auto* find = static_cast<FindPedal*>(data);
  const std::optional<FindPedalResult> result = FindPedalEnded(*find->detection, *find->session);
  if (!result) return G_SOURCE_CONTINUE;
  find->watch = 0;
  gtk_widget_set_sensitive(find->button, TRUE);
  gtk_label_set_text(GTK_LABEL(find->result), std::string(result->text).c_str());
  if (result->found) {
    gtk_combo_box_set_active(GTK_COMBO_BOX(find->inputs), result->found->input);
    gtk_combo_box_set_active(GTK_COMBO_BOX(find->outputs), result->found->output);
  }
  return G_SOURCE_REMOVE;
}

void StartSearch(GtkButton*, FindPedal* find) {
  find->detection->Find();
  gtk_widget_set_sensitive(find->button, FALSE);
  gtk_label_set_text(GTK_LABEL(find->result), std::string(kSearchingText).c_str());
  if (find->watch == 0) find->watch = g_timeout_add(kSearchWatchMs, &WatchSearch, find);
}

GtkWidget* PortList(const std::vector<std::string>& names, int selected) {
  GtkWidget* list = gtk_combo_box_text_new();
  for (const std::string& name : names)
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list), name.c_str());
  gtk_combo_box_set_active(GTK_COMBO_BOX(list), selected);
  return list;
}

void AddRow(GtkGrid* grid, int row, const char* label, GtkWidget* list) {
  GtkWidget* text = gtk_label_new(label);
  gtk_widget_set_halign(text, GTK_ALIGN_START);
  gtk_grid_attach(grid, text, 0, row, 1, 1);
  gtk_widget_set_hexpand(list, TRUE);
  gtk_grid_attach(grid, list, 1, row, 1, 1);
}

}  // namespace

bool RunPreferencesDialog(GtkWindow* parent, PreferencesSession& session,
                          const PreferencesHost& host, PedalDetection* detection) {
  const PreferencesSession::Selection selection = session.Open();
  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      "Preferences", parent,
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), "OK",
      GTK_RESPONSE_OK, "Apply", kResponseApply, "Cancel", GTK_RESPONSE_CANCEL, nullptr);
  GtkWidget* frame = gtk_frame_new("MIDI Device Settings");
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 8);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 12);
  GtkWidget* inputs = PortList(host.MidiInputNames(), selection.input);
  GtkWidget* outputs = PortList(host.MidiOutputNames(), selection.output);
  AddRow(GTK_GRID(grid), 0, "Input Device", inputs);
  AddRow(GTK_GRID(grid), 1, "Output Device", outputs);
  FindPedal find{detection, &session, nullptr, nullptr, inputs, outputs};
  if (detection != nullptr) {
    find.button = gtk_button_new_with_label("Find Pedal");
    find.result = gtk_label_new("");
    gtk_widget_set_halign(find.result, GTK_ALIGN_START);
    gtk_grid_attach(GTK_GRID(grid), find.button, 0, 2, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), find.result, 1, 2, 1, 1);
    g_signal_connect(find.button, "clicked", G_CALLBACK(&StartSearch), &find);
  }
  gtk_container_add(GTK_CONTAINER(frame), grid);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_set_border_width(GTK_CONTAINER(content), 10);
  gtk_box_pack_start(GTK_BOX(content), frame, TRUE, TRUE, 0);

  g_signal_connect(inputs, "changed", G_CALLBACK(+[](GtkComboBox* list, PreferencesSession* s) {
                     s->ChooseInput(gtk_combo_box_get_active(list));
                   }),
                   &session);
  g_signal_connect(outputs, "changed", G_CALLBACK(+[](GtkComboBox* list, PreferencesSession* s) {
                     s->ChooseOutput(gtk_combo_box_get_active(list));
                   }),
                   &session);

  gtk_widget_show_all(dialog);
  bool ok = false;
  for (;;) {
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    if (response == kResponseApply) {
      session.Apply();
      continue;
    }
    if (response == GTK_RESPONSE_OK) {
      session.Ok();
      ok = true;
    } else {
      session.Cancel();
    }
    break;
  }
  if (find.watch != 0) g_source_remove(find.watch);
  gtk_widget_destroy(dialog);
  return ok;
}

}  // namespace kr7::shell
