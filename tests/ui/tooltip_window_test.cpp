// The expansion preview on a real display: where it shows, how wide it gets, that it
// leaves the focus where the user types, that calls from the hook thread reach the window
// through the main loop, and the whole path from the engine's tooltip through GLib timers.
#include <gdkmm/monitor.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include <thread>

#include "app/glib_timers.h"
#include "engine/tooltip/tooltip.h"
#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "platform/sim/desktop.h"
#include "settings/prefs.h"
#include "ui/tooltip_window.h"

namespace tolvan::ui {
namespace {

using namespace std::chrono_literals;
using testing::settle;
using testing::turn_for;
using testing::turn_until;

Gdk::Rectangle frame_of(Gtk::Window& window) {
  int x = 0, y = 0;
  window.get_window()->get_origin(x, y);
  return Gdk::Rectangle(x, y, window.get_width(), window.get_height());
}

TEST(TooltipWindow, ShowsAtThePointInTheThemesTooltipStyleAndLeavesTheFocusAlone) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window typing;
  Gtk::Entry entry;
  typing.add(entry);
  typing.show_all();
  typing.present();
  ASSERT_TRUE(turn_until([&] { return typing.is_active(); })) << "the window manager gave no focus";

  TooltipWindow preview;
  preview.show(200, 150, "by the way");
  Gtk::Window& popup = preview.window();
  ASSERT_TRUE(turn_until([&] { return popup.get_mapped(); }));
  settle();
  EXPECT_EQ(frame_of(popup).get_x(), 200);
  EXPECT_EQ(frame_of(popup).get_y(), 150);
  EXPECT_EQ(preview.label().get_text(), "by the way");
  EXPECT_EQ(popup.get_type_hint(), Gdk::WINDOW_TYPE_HINT_TOOLTIP);
  EXPECT_FALSE(popup.get_accept_focus());
  EXPECT_FALSE(popup.get_focus_on_map());
  EXPECT_STREQ(gtk_widget_class_get_css_name(GTK_WIDGET_GET_CLASS(popup.gobj())), "tooltip");
  EXPECT_TRUE(typing.is_active()) << "the preview took the focus";
  EXPECT_FALSE(popup.is_active());
  EXPECT_TRUE(entry.has_focus());

  preview.hide();
  EXPECT_TRUE(turn_until([&] { return !popup.get_visible(); }));
  EXPECT_TRUE(typing.is_active());
}

TEST(TooltipWindow, TextWrapsAtFiveHundredPixelsAndTheWindowStaysOnTheMonitor) {
  TOLVAN_NEED_DISPLAY();
  TooltipWindow preview;
  preview.show(10, 10, "short");
  turn_until([&] { return preview.window().get_mapped(); });
  settle();
  const int short_width = preview.label().get_allocated_width();
  const int line_height = preview.label().get_allocated_height();
  EXPECT_LT(short_width, 200);

  std::string long_text;
  for (int i = 0; i < 40; ++i) long_text += "expansion ";
  preview.show(10, 10, long_text);
  settle();
  int text_width = 0, text_height = 0;
  preview.label().get_layout()->get_pixel_size(text_width, text_height);
  EXPECT_LE(text_width, kTooltipMaxTextWidth);
  EXPECT_GT(text_width, kTooltipMaxTextWidth - 60);
  EXPECT_GE(preview.label().get_allocated_height(), 3 * line_height)
      << "the text wraps onto several lines";

  // At the screen's bottom right corner it moves back onto the screen.
  auto monitor = Gdk::Display::get_default()->get_monitor_at_point(0, 0);
  Gdk::Rectangle area;
  monitor->get_geometry(area);
  preview.show(area.get_width() - 5, area.get_height() - 5, "near the corner");
  settle();
  Gdk::Rectangle frame = frame_of(preview.window());
  EXPECT_LE(frame.get_x() + frame.get_width(), area.get_width());
  EXPECT_LE(frame.get_y() + frame.get_height(), area.get_height());
  EXPECT_GT(frame.get_x(), area.get_width() - 300);
}

TEST(TooltipWindow, CallsReachTheWindowOnTheMainLoopAndTheLastOneWins) {
  TOLVAN_NEED_DISPLAY();
  TooltipWindow preview;
  std::thread([&] { preview.show(50, 60, "first"); }).join();
  EXPECT_FALSE(preview.window().get_visible()) << "nothing happens off the main thread";
  ASSERT_TRUE(turn_until([&] { return preview.window().get_visible(); }));
  EXPECT_EQ(preview.label().get_text(), "first");

  std::thread([&] {
    preview.hide();
    preview.show(70, 80, "second");
    preview.hide();
  }).join();
  settle();
  EXPECT_FALSE(preview.window().get_visible());

  std::thread([&] {
    preview.hide();
    preview.show(70, 80, "third");
  }).join();
  ASSERT_TRUE(turn_until([&] { return preview.window().get_visible(); }));
  EXPECT_EQ(preview.label().get_text(), "third");

  // The main thread's calls wait for the loop too, in the same order as everyone's.
  preview.hide();
  std::thread([&] { preview.show(90, 100, "fourth"); }).join();
  EXPECT_TRUE(preview.window().get_visible()) << "the window follows later";
  settle();
  EXPECT_EQ(preview.label().get_text(), "fourth");
  EXPECT_TRUE(preview.window().get_visible());
}

TEST(TooltipWindow, AnUpdateStillOnItsWayWhenTheWindowGoesDoesNothing) {
  TOLVAN_NEED_DISPLAY();
  auto preview = std::make_unique<TooltipWindow>();
  std::thread([&] { preview->show(50, 60, "late"); }).join();
  preview.reset();
  settle();  // the posted update runs and finds no window
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) EXPECT_FALSE(window->get_mapped());
}

TEST(GLibTimers, CallbacksRunOnTheLoopsThreadAndThoseNotRunYetGoWithTheTimers) {
  const auto main_thread = std::this_thread::get_id();
  std::vector<int> fired;
  auto timers = std::make_unique<GLibTimers>();
  std::thread([&] {
    timers->after(30, [&] {
      EXPECT_EQ(std::this_thread::get_id(), main_thread);
      fired.push_back(2);
    });
    timers->after(5, [&] { fired.push_back(1); });
    timers->after(400, [&] { fired.push_back(3); });
  }).join();
  ASSERT_TRUE(turn_until([&] { return fired.size() == 2; }));
  EXPECT_EQ(fired, (std::vector<int>{1, 2}));
  timers.reset();
  turn_for(600ms);  // past the third one's time
  EXPECT_EQ(fired.size(), 2u);
}

TEST(TooltipWindow, TheEnginesPreviewShowsBelowTheCaretAndTheHookThreadHidesIt) {
  TOLVAN_NEED_DISPLAY();
  sim::Desktop desktop;
  WindowId window = desktop.add_window("Edit", sim::us_layout(), "some text");
  desktop.focus(window);
  Settings prefs;
  RunTimeVariables gvar;
  prefs_set_defaults(prefs, gvar);
  TooltipWindow view;
  GLibTimers timers;
  Tooltip tooltip(view, timers, desktop, MacroEnvironment{});
  tooltip.set_prefs(prefs);
  auto abbreviation = abbr_create_new_abbrev(ABBR_TYPE_TEXT, nullptr, {CASE_SENSITIVE, TRIGGER_WORD_ENDING});
  abbreviation->abbreviations = {"btw"};
  abbreviation->expansion() = "by the way";

  std::thread hook([&] { tooltip.schedule(*abbreviation, "btw"); });
  hook.join();
  ASSERT_TRUE(turn_until([&] { return view.window().get_mapped(); }));
  std::optional<Caret> caret = desktop.caret();
  ASSERT_TRUE(caret.has_value());
  settle();
  EXPECT_EQ(frame_of(view.window()).get_x(), caret->rect.left);
  EXPECT_EQ(frame_of(view.window()).get_y(), caret->rect.bottom);
  EXPECT_EQ(view.label().get_text(), "by the way");

  std::thread([&] { tooltip.hide(); }).join();
  EXPECT_TRUE(turn_until([&] { return !view.window().get_visible(); }));
  tooltip.destroy();
}

}  // namespace
}  // namespace tolvan::ui
