#include "ui/table_combo.h"

#include <algorithm>

namespace tolvan::ui {

TableCombo::TableCombo(std::span<const ComboRow> table)
    : store_(Gtk::ListStore::create(columns_)) {
  set_model(store_);
  pack_start(icon_, false);
  add_attribute(icon_.property_icon_name(), columns_.icon);
  pack_start(text_, true);
  // Long choices ("Adapt replacement case to case of typed abbreviation") give way to the
  // fields beside them in a narrow window; the list still shows them whole.
  text_.property_ellipsize() = Pango::ELLIPSIZE_END;
  add_attribute(text_.property_text(), columns_.text);
  set_table(table);
}

void TableCombo::set_table(std::span<const ComboRow> table) {
  store_->clear();
  table_ = table;
  const bool with_icons =
      std::any_of(table.begin(), table.end(), [](const ComboRow& r) { return !r.icon_name.empty(); });
  icon_.set_visible(with_icons);
  for (const ComboRow& row : table) {
    Gtk::TreeRow tree_row = *store_->append();
    tree_row[columns_.id] = row.id;
    tree_row[columns_.icon] = Glib::ustring(row.icon_name.data(), row.icon_name.size());
    tree_row[columns_.text] = Glib::ustring(row.text.data(), row.text.size());
  }
}

int TableCombo::selected_id() const {
  const int index = get_active_row_number();
  return index < 0 ? -1 : table_[static_cast<size_t>(index)].id;
}

bool TableCombo::select_id(int id) {
  const int index = ui_offset_combo_fill_from_id(table_, id);
  set_active(index);
  return index >= 0;
}

}  // namespace tolvan::ui
