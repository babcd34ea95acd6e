// A right-click menu of the folder tree or the abbreviation list, built from its items;
// choosing an item calls `on_action` with the item's action name.
#pragma once

#include <gtkmm/menu.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "presenters/library_window/context_menus.h"

namespace tolvan::ui {

std::unique_ptr<Gtk::Menu> build_context_menu(const std::vector<ContextMenuItem>& items,
                                              std::function<void(const std::string&)> on_action);

}  // namespace tolvan::ui
