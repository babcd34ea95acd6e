// Combo tables: the fixed choices of a combo box (an id, the text shown, and an optional
// icon from the icon theme), in the order they are offered.
#pragma once

#include <span>
#include <string_view>

namespace tolvan {

struct ComboRow {
  int id;
  std::string_view text;
  std::string_view icon_name = {};
};

// ui_offset_combo_fill_from_id: the row index of `id` in `table`, or -1.
int ui_offset_combo_fill_from_id(std::span<const ComboRow> table, int id);

}  // namespace tolvan
