// TableCombo: a combo box filled from a combo table (an icon from the icon theme when the
// table names one, and the text), which is read and set by the rows' ids. Tables are
// constant data: the combo keeps referring to its table.
#pragma once

#include <gtkmm/cellrendererpixbuf.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/combobox.h>
#include <gtkmm/liststore.h>

#include <span>

#include "presenters/combo_table.h"

namespace tolvan::ui {

class TableCombo final : public Gtk::ComboBox {
 public:
  explicit TableCombo(std::span<const ComboRow> table);

  // The rows of another table; nothing is selected.
  void set_table(std::span<const ComboRow> table);

  // The selected row's id, -1 when none is.
  int selected_id() const;
  // Selects the row of `id`; false (and nothing selected) when the table has none.
  bool select_id(int id);

 private:
  struct Columns : Gtk::TreeModelColumnRecord {
    Columns() {
      add(id);
      add(icon);
      add(text);
    }
    Gtk::TreeModelColumn<int> id;
    Gtk::TreeModelColumn<Glib::ustring> icon;
    Gtk::TreeModelColumn<Glib::ustring> text;
  };

  const Columns columns_;
  Glib::RefPtr<Gtk::ListStore> store_;
  Gtk::CellRendererPixbuf icon_;
  Gtk::CellRendererText text_;
  std::span<const ComboRow> table_;
};

}  // namespace tolvan::ui
