#include "ui/menu_auto_close.h"

#include <glibmm/main.h>
#include <gtkmm/menuitem.h>

namespace tolvan::ui {
namespace {

// While a menu is up it holds GTK's grab, so crossings of the program's other windows are
// reported to it too; only its own window counts.
bool in_menus_window(Gtk::Menu& menu, GdkEventCrossing* event) {
  Glib::RefPtr<Gdk::Window> own = menu.get_toplevel()->get_window();
  return own && gdk_window_get_toplevel(event->window) == own->gobj();
}

}  // namespace

MenuAutoClose::~MenuAutoClose() { popdown_.disconnect(); }

void MenuAutoClose::watch(Gtk::Menu& menu) { watch_part(menu, menu); }

void MenuAutoClose::watch_part(Gtk::Menu& part, Gtk::Menu& top) {
  part.add_events(Gdk::ENTER_NOTIFY_MASK | Gdk::LEAVE_NOTIFY_MASK);
  // Before the menu's own handlers, which may end the event's emission.
  part.signal_enter_notify_event().connect(
      [this, &part](GdkEventCrossing* event) {
        if (in_menus_window(part, event)) entered();
        return false;
      },
      false);
  part.signal_leave_notify_event().connect(
      [this, &part, &top](GdkEventCrossing* event) {
        // Into a window inside the menu is no leaving, nor a grab moving to a submenu
        // while the pointer rests on the menu (keyboard use).
        if (in_menus_window(part, event) && event->detail != GDK_NOTIFY_INFERIOR &&
            event->mode == GDK_CROSSING_NORMAL) {
          left(top);
        }
        return false;
      },
      false);
  if (&part == &top) {
    // A menu that goes away by other means leaves nothing pending.
    top.signal_hide().connect([this] {
      pointer_in_menu_ = false;
      popdown_.disconnect();
    });
  }
  for (Gtk::Widget* child : part.get_children()) {
    auto* item = dynamic_cast<Gtk::MenuItem*>(child);
    if (item && item->get_submenu()) watch_part(*item->get_submenu(), top);
  }
}

void MenuAutoClose::entered() {
  pointer_in_menu_ = true;
  popdown_.disconnect();
}

void MenuAutoClose::left(Gtk::Menu& top) {
  pointer_in_menu_ = false;
  popdown_.disconnect();
  popdown_ = Glib::signal_timeout().connect(
      sigc::track_obj(
          [this, &top] {
            if (!pointer_in_menu_) top.popdown();
            return false;
          },
          top),
      static_cast<unsigned>(kMenuAutoCloseDelay.count()));
}

}  // namespace tolvan::ui
