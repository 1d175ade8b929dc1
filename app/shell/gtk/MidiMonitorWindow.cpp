#include "app/shell/gtk/MidiMonitorWindow.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kr7::shell {
namespace {

constexpr guint kDrainMs = 100;
enum Column { kTime, kDirection, kLength, kName, kFields, kColumns };

}  // namespace

MidiMonitorWindow::MidiMonitorWindow(GtkWindow* parent, MidiMonitor& monitor)
    : MonitorWindow(monitor) {
  Build(parent, "MIDI Monitor");
  mMonitor->SetEnabled(true);
  mTimer = g_timeout_add(kDrainMs, &MidiMonitorWindow::Drain, this);
}

MidiMonitorWindow::MidiMonitorWindow(GtkWindow* parent, MonitorLog log) {
  Build(parent, "MIDI Monitor (saved)");
  std::vector<MonitorEntry> entries = std::move(log.entries);
  mList.SetDropped(log.dropped);
  Show(mList.Append(std::move(entries)));
}

MidiMonitorWindow::~MidiMonitorWindow() {
  if (mWindow) gtk_widget_destroy(GTK_WIDGET(mWindow));
}

void MidiMonitorWindow::Build(GtkWindow* parent, const char* title) {
  mWindow = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  gtk_window_set_title(mWindow, title);
  gtk_window_set_transient_for(mWindow, parent);
  gtk_window_set_default_size(mWindow, 900, 500);
  mRows = gtk_list_store_new(kColumns, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_UINT, G_TYPE_STRING,
                             G_TYPE_STRING);
  GtkWidget* list = gtk_tree_view_new_with_model(GTK_TREE_MODEL(mRows));
  g_object_unref(mRows);
  const char* headings[kColumns] = {"Time", "Direction", "Length", "Message", "Fields"};
  for (int column = 0; column < kColumns; ++column) {
    gtk_tree_view_append_column(
        GTK_TREE_VIEW(list),
        gtk_tree_view_column_new_with_attributes(headings[column], gtk_cell_renderer_text_new(),
                                                 "text", column, nullptr));
  }
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scroller), list);
  mCounts = gtk_label_new("");
  GtkWidget* save = gtk_button_new_with_label("Save...");
  GtkWidget* open = gtk_button_new_with_label("Open...");
  g_signal_connect_swapped(save, "clicked",
                           G_CALLBACK(+[](MidiMonitorWindow* self) { self->Save(); }), this);
  g_signal_connect_swapped(open, "clicked",
                           G_CALLBACK(+[](MidiMonitorWindow* self) { self->Open(); }), this);
  GtkWidget* bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
  gtk_box_pack_start(GTK_BOX(bar), mCounts, TRUE, TRUE, 0);
  gtk_box_pack_end(GTK_BOX(bar), save, FALSE, FALSE, 0);
  gtk_box_pack_end(GTK_BOX(bar), open, FALSE, FALSE, 0);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(box), 6);
  gtk_box_pack_start(GTK_BOX(box), scroller, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(mWindow), box);
  g_signal_connect_swapped(mWindow, "destroy", G_CALLBACK(+[](MidiMonitorWindow* self) {
                             if (self->mTimer) g_source_remove(self->mTimer);
                             self->mTimer = 0;
                             self->StopRecording();
                             self->mWindow = nullptr;
                           }),
                           this);
  ShowCounts();
  gtk_widget_show_all(GTK_WIDGET(mWindow));
}

void MidiMonitorWindow::Present() {
  if (mWindow) gtk_window_present(mWindow);
}

gboolean MidiMonitorWindow::Drain(gpointer data) {
  auto* self = static_cast<MidiMonitorWindow*>(data);
  self->Show(self->TakeRecorded());
  return G_SOURCE_CONTINUE;
}

void MidiMonitorWindow::Show(const MonitorList::Change& change) {
  for (std::size_t i = 0; i < change.leaving; ++i) {
    GtkTreeIter first;
    if (gtk_tree_model_get_iter_first(GTK_TREE_MODEL(mRows), &first)) gtk_list_store_remove(mRows, &first);
  }
  for (const MonitorEntry& entry : change.added) {
    const std::string time = FormatMonitorTime(entry.milliseconds);
    GtkTreeIter row;
    gtk_list_store_append(mRows, &row);
    gtk_list_store_set(mRows, &row, kTime, time.c_str(), kDirection,
                       entry.direction == MonitorDirection::In ? "IN" : "OUT", kLength,
                       static_cast<guint>(entry.length), kName, entry.name.c_str(), kFields,
                       entry.fields.c_str(), -1);
  }
  ShowCounts();
}

void MidiMonitorWindow::ShowCounts() {
  gtk_label_set_text(GTK_LABEL(mCounts), mList.CountsText().c_str());
}

void MidiMonitorWindow::Open() {
  if (std::optional<MonitorLog> log = ChooseSavedList())
    mOpened = std::make_unique<MidiMonitorWindow>(mWindow, std::move(*log));
}

}  // namespace kr7::shell
