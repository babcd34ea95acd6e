// RecordListModel: the abbreviation list's rows as a tree model over a vector of record
// pointers, without a copy of anything per row. Listing 100,000 abbreviations is then
// handing over a vector instead of filling (and later emptying) a list store row by row;
// the views ask for the texts of the rows they draw only.
#pragma once

#include <glibmm/object.h>
#include <gtkmm/treemodel.h>
#include <gtkmm/treepath.h>

#include <vector>

#include "library/model.h"

namespace tolvan::ui {

// The interface comes before Glib::Object: GLib adds interfaces to a new type only before its
// first instance is made, which Glib::Object's constructor does.
class RecordListModel final : public Gtk::TreeModel, public Glib::Object {
 public:
  static Glib::RefPtr<RecordListModel> create(std::vector<Abbreviation*> records);

  // The one column: the record.
  const Gtk::TreeModelColumn<Abbreviation*>& record_column() const { return record_; }

  const std::vector<Abbreviation*>& records() const { return records_; }
  size_t size() const { return records_.size(); }
  Abbreviation* at(size_t row) const { return records_.at(row); }

  static Gtk::TreeModel::Path path_of(size_t row) {
    Gtk::TreeModel::Path path;
    path.push_back(static_cast<int>(row));
    return path;
  }

  // Changes that views hear of, each as one row's change.
  void insert(size_t row, Abbreviation* record);
  void erase(size_t row);
  void move(size_t from, size_t to);  // `to` is the row's index afterwards
  void changed(size_t row);
  // Takes `records` as the rows when they are the present rows in another order (as after
  // a sort), telling the views of one reordering; false, changing nothing, otherwise.
  bool reorder(const std::vector<Abbreviation*>& records);

 private:
  explicit RecordListModel(std::vector<Abbreviation*> records);

  // The calls a view makes once per row (walking the rows as it builds or drops its own
  // tree of them), answered without the C++ binding's per-call lookup of this object.
  struct PerRowCalls;

  bool iter_for(size_t row, iterator& iter) const;
  bool iter_for(size_t row, GtkTreeIter* iter) const;
  // The row an iterator of this model stands for; -1 for a foreign or stale one.
  long row_of(const iterator& iter) const;
  long row_of(const GtkTreeIter* iter) const;

  Gtk::TreeModelFlags get_flags_vfunc() const override;
  int get_n_columns_vfunc() const override;
  GType get_column_type_vfunc(int index) const override;
  void get_value_vfunc(const iterator& iter, int column, Glib::ValueBase& value) const override;
  bool iter_children_vfunc(const iterator& parent, iterator& iter) const override;
  int iter_n_children_vfunc(const iterator& iter) const override;
  int iter_n_root_children_vfunc() const override;
  bool iter_nth_child_vfunc(const iterator& parent, int n, iterator& iter) const override;
  bool iter_nth_root_child_vfunc(int n, iterator& iter) const override;
  bool iter_parent_vfunc(const iterator& child, iterator& iter) const override;
  Path get_path_vfunc(const iterator& iter) const override;
  bool get_iter_vfunc(const Path& path, iterator& iter) const override;

  Gtk::TreeModelColumnRecord columns_;
  Gtk::TreeModelColumn<Abbreviation*> record_;
  std::vector<Abbreviation*> records_;
  int stamp_;  // changes whenever rows move, so that old iterators are known as stale
};

}  // namespace tolvan::ui
