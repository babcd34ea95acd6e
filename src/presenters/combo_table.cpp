#include "presenters/combo_table.h"

namespace tolvan {

int ui_offset_combo_fill_from_id(std::span<const ComboRow> table, int id) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace tolvan
