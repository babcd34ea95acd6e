// The accessibility focus tracker in a process that shows windows of its own never asks its
// own process anything: the toolkit's bridge answers from the main loop, and a question
// asked from the main thread would wait for an answer that only the waiting loop could give
// (the program used to hang at quit that way).
#include <gtkmm/entry.h>
#include <gtkmm/window.h>
#include <unistd.h>

#include "platform/x11/atspi_focus.h"
#include "gtk_test_support.h"

namespace tolvan::ui {
namespace {

using testing::turn_until;

TEST(AccessibilityFocus, OwnWindowsAreNeverAsked) {
  TOLVAN_NEED_DISPLAY();
  x11::AtspiFocus focus;
  if (!focus.wait_started()) GTEST_SKIP() << "no accessibility bus";

  Gtk::Window window;
  Gtk::Entry entry;
  entry.set_text("a field of Tolvan's own");
  window.add(entry);
  window.show_all();
  window.present();
  entry.grab_focus();

  ASSERT_TRUE(turn_until([&] { return entry.has_focus(); }));

  const auto own = static_cast<uint32_t>(getpid());
  const x11::FocusedAccessible asked_for_ours = focus.focused(own);
  EXPECT_EQ(asked_for_ours.pid, 0u) << "nothing is known of our own focus";
  EXPECT_FALSE(asked_for_ours.caret) << "our own caret is not asked for";
  const x11::FocusedAccessible anywhere = focus.focused(0);
  EXPECT_NE(anywhere.pid, own) << "a look through every application passes ours by";
  focus.look_again(0);
  testing::turn_for(std::chrono::milliseconds(10 * x11::AtspiFocus::kSettleMs));
  EXPECT_EQ(focus.focused(0).pid, anywhere.pid) << "a scheduled look passes ours by as well";

  window.hide();
}

}  // namespace
}  // namespace tolvan::ui
