// Pop-up menus that close by themselves: the pointer leaving a watched menu pops it down
// after half a second, unless it came back; the pointer-in-menu flag follows it.
#include <gdkmm/seat.h>
#include <gtkmm/menuitem.h>

#include <optional>

#include "gtk_test_support.h"
#include "ui/menu_auto_close.h"

namespace tolvan::ui {
namespace {

using namespace std::chrono_literals;
using testing::turn_for;
using testing::turn_until;

void move_pointer_to(int x, int y) {
  auto display = Gdk::Display::get_default();
  display->get_default_seat()->get_pointer()->warp(display->get_default_screen(), x, y);
}

// The middle of the menu's window on the screen.
std::pair<int, int> middle_of(Gtk::Menu& menu) {
  Gtk::Widget* toplevel = menu.get_toplevel();
  int x = 0, y = 0;
  toplevel->get_window()->get_origin(x, y);
  return {x + toplevel->get_allocated_width() / 2, y + toplevel->get_allocated_height() / 2};
}

// A window with a menu popped up over it and the pointer in the menu.
struct PoppedUpMenu {
  PoppedUpMenu() {
    window.set_default_size(300, 300);
    window.move(100, 100);
    window.show_all();
    turn_until([&] { return window.get_mapped(); });
    for (const char* label : {"Open Tolvan", "Disable", "Quit"}) {
      auto* item = Gtk::manage(new Gtk::MenuItem(label));
      menu.append(*item);
    }
    menu.show_all();
    closer.watch(menu);
    move_pointer_to(150, 150);
    testing::settle();
    Gdk::Rectangle at(50, 50, 1, 1);
    menu.popup_at_rect(window.get_window(), at, Gdk::GRAVITY_NORTH_WEST,
                       Gdk::GRAVITY_NORTH_WEST, nullptr);
    turn_until([&] { return menu.get_mapped(); });
    auto [x, y] = middle_of(menu);
    move_pointer_to(x, y);
    turn_until([&] { return closer.pointer_in_menu(); });
  }

  Gtk::Window window;
  Gtk::Menu menu;
  MenuAutoClose closer;
};

class MenuAutoCloseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    scene.emplace();
    ASSERT_TRUE(menu().get_mapped());
    ASSERT_TRUE(closer().pointer_in_menu());
  }
  Gtk::Menu& menu() { return scene->menu; }
  MenuAutoClose& closer() { return scene->closer; }

  std::optional<PoppedUpMenu> scene;
};

TEST_F(MenuAutoCloseTest, LeavingThePointerOutsideClosesTheMenuAfterHalfASecond) {
  move_pointer_to(350, 350);
  ASSERT_TRUE(turn_until([&] { return !closer().pointer_in_menu(); }));
  EXPECT_TRUE(menu().get_mapped()) << "not at once";
  EXPECT_TRUE(turn_until([&] { return !menu().get_mapped(); }));
}

TEST_F(MenuAutoCloseTest, ComingBackInTimeKeepsItOpen) {
  move_pointer_to(350, 350);
  ASSERT_TRUE(turn_until([&] { return !closer().pointer_in_menu(); }));
  auto [x, y] = middle_of(menu());
  move_pointer_to(x, y);
  ASSERT_TRUE(turn_until([&] { return closer().pointer_in_menu(); }));
  turn_for(kMenuAutoCloseDelay + 300ms);
  EXPECT_TRUE(menu().get_mapped());
  menu().popdown();
  EXPECT_FALSE(closer().pointer_in_menu());
}

}  // namespace
}  // namespace tolvan::ui
