// MenuAutoClose: pop-up menus that close by themselves when the pointer leaves them (the
// tray menu, the abbreviation menu): 500 ms after the pointer left a watched menu it is
// popped down, unless the pointer came back meanwhile. Whether the pointer is in such a
// menu can be asked from any thread (the mouse hook does, so that clicks inside the menu do
// not close the abbreviation menu).
#pragma once

#include <gtkmm/menu.h>

#include <atomic>
#include <chrono>

namespace tolvan::ui {

inline constexpr std::chrono::milliseconds kMenuAutoCloseDelay{500};

class MenuAutoClose {
 public:
  MenuAutoClose() = default;
  MenuAutoClose(const MenuAutoClose&) = delete;
  MenuAutoClose& operator=(const MenuAutoClose&) = delete;
  ~MenuAutoClose();

  // Watches `menu` and the submenus it has now; leaving any of them pops `menu` down.
  void watch(Gtk::Menu& menu);
  // A submenu filled after `top` was watched (and its submenus as they are now).
  void watch_submenu(Gtk::Menu& submenu, Gtk::Menu& top) { watch_part(submenu, top); }

  bool pointer_in_menu() const { return pointer_in_menu_; }

 private:
  void watch_part(Gtk::Menu& part, Gtk::Menu& top);
  void entered();
  void left(Gtk::Menu& top);

  std::atomic<bool> pointer_in_menu_ = false;
  sigc::connection popdown_;
};

}  // namespace tolvan::ui
