// The shell's message boxes on a real display: boxes that only inform never
// hold up their caller (the device tick and the 20 ms timer show them) and
// appear one at a time, in the order given.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "app/shell/window/Dialogs.h"

namespace kr7::shell {
namespace {

std::vector<GtkDialog*> VisibleBoxes() {
  std::vector<GtkDialog*> boxes;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
      boxes.push_back(GTK_DIALOG(w->data));
  }
  g_list_free(windows);
  return boxes;
}

std::string TextOf(GtkDialog* box) {
  gchar* text = nullptr;
  g_object_get(box, "text", &text, nullptr);
  std::string copy = text ? text : "";
  g_free(text);
  return copy;
}

void Settle() {
  while (gtk_events_pending()) gtk_main_iteration();
}

TEST(MessageBoxes, InformWithoutWaitingOneAtATimeInOrder) {
  if (!gtk_init_check(nullptr, nullptr)) GTEST_SKIP() << "no display (run under xvfb-run)";
  // Should a box wait for its answer after all, answer it, so that the test
  // fails instead of hanging.
  bool answeredByRescue = false;
  const guint rescue = g_timeout_add(
      2000,
      [](gpointer flag) -> gboolean {
        for (GtkDialog* box : VisibleBoxes()) gtk_dialog_response(box, GTK_RESPONSE_OK);
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_CONTINUE;
      },
      &answeredByRescue);

  const std::vector<std::string> texts = {"Finished successfully!", "ERROR!",
                                          "Communication error!"};
  for (const std::string& text : texts) EXPECT_TRUE(ShowMessageBox(nullptr, text, false));
  EXPECT_FALSE(answeredByRescue);

  for (const std::string& text : texts) {
    Settle();
    const std::vector<GtkDialog*> shown = VisibleBoxes();
    ASSERT_EQ(shown.size(), 1u) << "while " << text << " is due";
    EXPECT_EQ(TextOf(shown[0]), text);
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(shown[0])), "KR7Control");
    gtk_dialog_response(shown[0], GTK_RESPONSE_OK);
  }
  Settle();
  EXPECT_TRUE(VisibleBoxes().empty());
  g_source_remove(rescue);
}

}  // namespace
}  // namespace kr7::shell
