// The accessibility focus tracker in a process that shows windows of its own: it listens
// on the main loop beside the toolkit's accessibility bridge, and never asks its own
// process about a caret (such a call would wait for an answer that only the waiting loop
// could give; the program used to hang at quit that way).
#include <gtkmm/entry.h>
#include <gtkmm/window.h>
#include <unistd.h>

#include "platform/x11/atspi_focus.h"
#include "gtk_test_support.h"

namespace tolvan::ui {
namespace {

using testing::turn_until;

TEST(AccessibilityFocus, OwnWindowsAreKnownByTheirProcessOnly) {
  TOLVAN_NEED_DISPLAY();
  x11::AtspiFocus focus(x11::FocusTracking::kMainContext);
  if (!focus.wait_started()) GTEST_SKIP() << "no accessibility bus";

  Gtk::Window window;
  Gtk::Entry entry;
  entry.set_text("a field of Tolvan's own");
  window.add(entry);
  window.show_all();
  window.present();
  entry.grab_focus();

  const auto own = static_cast<uint32_t>(getpid());
  ASSERT_TRUE(turn_until([&] { return focus.focused().pid == own; }))
      << "the focus in our own window was never heard of";
  EXPECT_FALSE(focus.focused().caret) << "our own caret is not asked for";
  EXPECT_EQ(focus.secret_pid(), 0u);

  window.hide();
}

}  // namespace
}  // namespace tolvan::ui
