// The right-click menus of the folder tree and the abbreviation list as data: which items
// the selection and the mode offer, and what the case and trigger items set.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/model.h"

namespace tolvan {

struct ContextMenuItem {
  std::string label;   // with its mnemonic; empty for a separator
  std::string action;  // the name the menu's handler dispatches on
  std::vector<ContextMenuItem> submenu;
  bool sensitive = true;
  std::string icon_name;  // from the icon theme; "" for none

  bool is_separator() const { return label.empty(); }
};

// The folder tree's menu for the selected folders (the absolute parent has no parent).
std::vector<ContextMenuItem> folder_context_menu_items(const std::vector<const Folder*>& selected);

// The list's menu for the selected records. `offer_containing_folder`: the All row is
// selected or a conflict list is showing.
std::vector<ContextMenuItem> abbrev_context_menu_items(const std::vector<const Abbreviation*>& selected,
                                                       bool offer_containing_folder, bool te_mode);

// The case mode a "Case..." action sets and the trigger mode a "Trigger..." action sets
// (names compared without case); none for other actions.
std::optional<int> context_action_case_mode(std::string_view action);
std::optional<int> context_action_trigger_mode(std::string_view action);

// Sets the case mode of every record (a launcher takes adapt as case-insensitive); returns
// whether any record changed.
bool set_case_mode_of(const std::vector<Abbreviation*>& records, int case_mode);
bool set_trigger_mode_of(const std::vector<Abbreviation*>& records, int trigger_mode);

}  // namespace tolvan
