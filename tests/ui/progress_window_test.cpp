// The progress window: shown modal over its parent with its text, not closed by the user,
// and letting GTK handle what is pending at every pulse.
#include "gtk_test_support.h"
#include "ui/progress_window.h"

namespace tolvan::ui {
namespace {

TEST(ProgressWindow, ShowsModalWithItsTextIgnoresClosingAndKeepsTheLoopTurning) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window parent;
  parent.show();
  ProgressWindow progress(&parent, "Exporting", "Exporting your abbreviations...");
  EXPECT_TRUE(progress.get_visible());
  EXPECT_TRUE(progress.get_modal());
  EXPECT_EQ(progress.get_transient_for(), &parent);
  EXPECT_EQ(progress.get_title(), "Exporting");
  EXPECT_EQ(progress.bar().get_text(), "Exporting your abbreviations...");
  EXPECT_TRUE(progress.bar().get_show_text());
  int width = 0, height = 0;
  progress.get_default_size(width, height);
  EXPECT_EQ(width, 350);
  EXPECT_EQ(height, 45);

  progress.close();
  testing::settle();
  EXPECT_TRUE(progress.get_visible()) << "closing is ignored";

  bool handled = false;
  Glib::signal_idle().connect_once([&] { handled = true; });
  progress.pulse();
  EXPECT_TRUE(handled) << "a pulse lets the main loop run what waits";
}

}  // namespace
}  // namespace tolvan::ui
