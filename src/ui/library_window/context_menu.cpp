#include "ui/library_window/context_menu.h"

#include <gtkmm/menuitem.h>
#include <gtkmm/separatormenuitem.h>

namespace tolvan::ui {
namespace {

void append_items(Gtk::Menu& menu, const std::vector<ContextMenuItem>& items,
                  const std::function<void(const std::string&)>& on_action) {
  for (const ContextMenuItem& item : items) {
    if (item.is_separator()) {
      menu.append(*Gtk::manage(new Gtk::SeparatorMenuItem));
      continue;
    }
    auto* menu_item = Gtk::manage(new Gtk::MenuItem(item.label, true));
    menu_item->set_sensitive(item.sensitive);
    if (item.submenu.empty()) {
      menu_item->signal_activate().connect([on_action, action = item.action] { on_action(action); });
    } else {
      auto* submenu = Gtk::manage(new Gtk::Menu);
      append_items(*submenu, item.submenu, on_action);
      menu_item->set_submenu(*submenu);
    }
    menu.append(*menu_item);
  }
}

}  // namespace

std::unique_ptr<Gtk::Menu> build_context_menu(const std::vector<ContextMenuItem>& items,
                                              std::function<void(const std::string&)> on_action) {
  auto menu = std::make_unique<Gtk::Menu>();
  append_items(*menu, items, on_action);
  menu->show_all();
  return menu;
}

}  // namespace tolvan::ui
