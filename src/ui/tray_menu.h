// The tray's own menu, for trays that leave the menu to the program (the XEmbed tray, and
// StatusNotifier hosts that ask for it with ContextMenu): a Gtk::Menu of the presenter's
// items, popped up at the pointer. Like every pop-up menu of Tolvan it closes by itself
// once the pointer has left it for a moment.
#pragma once

#include <gtkmm/checkmenuitem.h>
#include <gtkmm/menu.h>

#include <functional>

#include "presenters/tray_presenter.h"
#include "ui/menu_auto_close.h"

namespace tolvan::ui {

class TrayMenu {
 public:
  explicit TrayMenu(TrayPresenter& presenter);

  void set_enabled_checked(bool checked);
  // Without a parent or a position function, for the click of `button` at `time`;
  // `closed` runs when the menu goes away again.
  void pop_up(int button, uint32_t time, std::function<void()> closed = {});
  Gtk::Menu& widget() { return menu_; }

 private:
  Gtk::Menu menu_;
  MenuAutoClose auto_close_;
  Gtk::CheckMenuItem* enabled_ = nullptr;
  std::function<void()> closed_;
};

}  // namespace tolvan::ui
