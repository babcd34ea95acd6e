// The launch pad on a real display: made hidden but known to the launcher, shown and
// brought forward by the hotkey with its entry kept, Tab and Return typed as spaces,
// Escape and a launch hiding it with an empty entry.
#include <thread>

#include "gtk_test_support.h"
#include "ui/launch_pad.h"

namespace tolvan::ui {
namespace {

using testing::turn_until;

void press(Gtk::Window& window, guint keyval) {
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(window.get_window()->gobj()));
  event->key.keyval = keyval;
  event->key.send_event = TRUE;
  event->key.time = GDK_CURRENT_TIME;
  gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

TEST(LaunchPadView, HiddenAtStartThenShownWithItsTextsAndKeptOnASecondPress) {
  TOLVAN_NEED_DISPLAY();
  LaunchPad pad;
  pad.show(true);
  ASSERT_NE(pad.dialog(), nullptr);
  LaunchPadDialog& dialog = *pad.dialog();
  EXPECT_FALSE(dialog.get_visible());
  EXPECT_NE(pad.launch_pad_window(), 0u);  // known before it is ever shown
  EXPECT_EQ(dialog.get_title(), "Tolvan LaunchPad");
  EXPECT_FALSE(dialog.get_resizable());

  pad.show(false);
  ASSERT_TRUE(turn_until([&] { return dialog.get_mapped(); }));
  dialog.entry().set_text("ff");
  pad.show(false);
  testing::settle();
  EXPECT_EQ(dialog.entry().get_text(), "ff");
  EXPECT_TRUE(dialog.get_visible());
}

TEST(LaunchPadView, TabAndReturnBecomeSpacesAndEscapeHidesWithAnEmptyEntry) {
  TOLVAN_NEED_DISPLAY();
  LaunchPad pad;
  pad.show(false);
  LaunchPadDialog& dialog = *pad.dialog();
  ASSERT_TRUE(turn_until([&] { return dialog.get_mapped(); }));
  dialog.entry().grab_focus();
  press(dialog, GDK_KEY_a);
  press(dialog, GDK_KEY_Tab);
  press(dialog, GDK_KEY_b);
  press(dialog, GDK_KEY_Return);
  EXPECT_EQ(dialog.entry().get_text(), "a b ");
  EXPECT_EQ(dialog.get_focus(), &dialog.entry());  // Tab moved nothing
  press(dialog, GDK_KEY_Escape);
  EXPECT_FALSE(dialog.get_visible());
  EXPECT_EQ(dialog.entry().get_text(), "");
}

TEST(LaunchPadView, ALaunchHidesItFromAnotherThread) {
  TOLVAN_NEED_DISPLAY();
  LaunchPad pad;
  pad.show(false);
  LaunchPadDialog& dialog = *pad.dialog();
  ASSERT_TRUE(turn_until([&] { return dialog.get_mapped(); }));
  dialog.entry().set_text("ff ");
  std::thread output([&] { pad.hide_launch_pad_soon(); });
  output.join();
  EXPECT_TRUE(turn_until([&] { return !dialog.get_visible(); }));
  EXPECT_EQ(dialog.entry().get_text(), "");
  pad.destroy();
  EXPECT_EQ(pad.launch_pad_window(), 0u);
}

}  // namespace
}  // namespace tolvan::ui
