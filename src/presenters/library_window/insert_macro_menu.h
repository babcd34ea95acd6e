// The editor's insert-macro menu as data: the items with their mnemonics and the macro each
// inserts, the date and time submenus, and the presets labelled with what they give now.
#pragma once

#include <string>
#include <vector>

#include "engine/macros/macro_environment.h"

namespace tolvan {

struct MacroMenuItem {
  std::string label;  // with its mnemonic; empty for a separator
  std::string macro;  // what choosing the item inserts; empty for a submenu or separator
  std::vector<MacroMenuItem> submenu;

  bool is_separator() const { return label.empty(); }
};

// The menu, top to bottom; the presets' labels are expanded for the moment `env` gives.
std::vector<MacroMenuItem> insert_macro_menu(const MacroEnvironment& env);

// What choosing `macro` inserts into the replacement text: in TextExpander mode the
// TextExpander form of it.
std::string macro_to_insert(const std::string& macro, bool te_mode);

}  // namespace tolvan
