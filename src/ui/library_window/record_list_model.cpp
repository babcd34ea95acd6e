#include "ui/library_window/record_list_model.h"

#include <numeric>
#include <unordered_map>

namespace tolvan::ui {
namespace {

int next_stamp() {
  static int stamp = 1;  // only the main thread makes and changes models
  return ++stamp;
}

GQuark model_quark() {
  static const GQuark quark = g_quark_from_static_string("tolvan-record-list-model");
  return quark;
}

}  // namespace

// A view walks every row when it takes a model and again when it lets it go: with 100,000
// rows, going through the binding (which finds this object and builds C++ iterators on each
// call) was most of the time a search took to replace the All list. These answer straight
// from the C iterator; the rows hold no per-view state, so the reference counts views keep
// on rows are not asked for at all.
struct RecordListModel::PerRowCalls {
  static const RecordListModel* self(GtkTreeModel* model) {
    return static_cast<const RecordListModel*>(g_object_get_qdata(G_OBJECT(model), model_quark()));
  }

  static gboolean iter_next(GtkTreeModel* model, GtkTreeIter* iter) {
    const RecordListModel* m = self(model);
    const long row = m ? m->row_of(iter) : -1;
    if (row < 0) {
      iter->stamp = 0;
      return false;
    }
    return m->iter_for(static_cast<size_t>(row) + 1, iter);
  }

  static gboolean iter_has_child(GtkTreeModel*, GtkTreeIter*) { return false; }

  static void install(GObject* object) {
    auto* iface = static_cast<GtkTreeModelIface*>(
        g_type_interface_peek(G_OBJECT_GET_CLASS(object), GTK_TYPE_TREE_MODEL));
    iface->iter_next = iter_next;
    iface->iter_has_child = iter_has_child;
    iface->ref_node = nullptr;
    iface->unref_node = nullptr;
  }
};

RecordListModel::RecordListModel(std::vector<Abbreviation*> records)
    : Glib::ObjectBase(typeid(RecordListModel)),
      Gtk::TreeModel(),
      Glib::Object(),
      records_(std::move(records)),
      stamp_(next_stamp()) {
  columns_.add(record_);
  g_object_set_qdata(Glib::Object::gobj(), model_quark(), this);
  PerRowCalls::install(Glib::Object::gobj());
}

Glib::RefPtr<RecordListModel> RecordListModel::create(std::vector<Abbreviation*> records) {
  return Glib::RefPtr<RecordListModel>(new RecordListModel(std::move(records)));
}

bool RecordListModel::iter_for(size_t row, iterator& iter) const {
  if (row >= records_.size()) {
    iter = iterator();
    return false;
  }
  return iter_for(row, iter.gobj());
}

bool RecordListModel::iter_for(size_t row, GtkTreeIter* iter) const {
  if (row >= records_.size()) {
    iter->stamp = 0;
    return false;
  }
  iter->stamp = stamp_;
  iter->user_data = GSIZE_TO_POINTER(row);
  return true;
}

long RecordListModel::row_of(const iterator& iter) const { return row_of(iter.gobj()); }

long RecordListModel::row_of(const GtkTreeIter* iter) const {
  if (!iter || iter->stamp != stamp_) return -1;
  const size_t row = GPOINTER_TO_SIZE(iter->user_data);
  return row < records_.size() ? static_cast<long>(row) : -1;
}

void RecordListModel::insert(size_t row, Abbreviation* record) {
  row = std::min(row, records_.size());
  records_.insert(records_.begin() + static_cast<long>(row), record);
  stamp_ = next_stamp();
  iterator iter;
  iter_for(row, iter);
  row_inserted(RecordListModel::path_of(row), iter);
}

void RecordListModel::erase(size_t row) {
  if (row >= records_.size()) return;
  records_.erase(records_.begin() + static_cast<long>(row));
  stamp_ = next_stamp();
  row_deleted(RecordListModel::path_of(row));
}

void RecordListModel::move(size_t from, size_t to) {
  if (from >= records_.size() || to >= records_.size() || from == to) return;
  std::vector<int> order(records_.size());  // order[new position] = old position
  std::iota(order.begin(), order.end(), 0);
  Abbreviation* record = records_[from];
  records_.erase(records_.begin() + static_cast<long>(from));
  records_.insert(records_.begin() + static_cast<long>(to), record);
  order.erase(order.begin() + static_cast<long>(from));
  order.insert(order.begin() + static_cast<long>(to), static_cast<int>(from));
  stamp_ = next_stamp();
  rows_reordered(Path(), order);
}

void RecordListModel::changed(size_t row) {
  iterator iter;
  if (iter_for(row, iter)) row_changed(RecordListModel::path_of(row), iter);
}

bool RecordListModel::reorder(const std::vector<Abbreviation*>& records) {
  if (records.size() != records_.size() || records.empty()) return false;
  std::unordered_map<const Abbreviation*, int> old_row;
  old_row.reserve(records_.size());
  for (size_t i = 0; i < records_.size(); ++i) {
    if (!old_row.emplace(records_[i], static_cast<int>(i)).second) return false;
  }
  std::vector<int> order(records.size());  // order[new position] = old position
  for (size_t i = 0; i < records.size(); ++i) {
    auto found = old_row.find(records[i]);
    if (found == old_row.end() || found->second < 0) return false;
    order[i] = found->second;
    found->second = -1;  // each old row is taken once
  }
  records_ = records;
  stamp_ = next_stamp();
  rows_reordered(Path(), order);
  return true;
}

Gtk::TreeModelFlags RecordListModel::get_flags_vfunc() const { return Gtk::TREE_MODEL_LIST_ONLY; }
int RecordListModel::get_n_columns_vfunc() const { return 1; }
GType RecordListModel::get_column_type_vfunc(int) const { return record_.type(); }

void RecordListModel::get_value_vfunc(const iterator& iter, int, Glib::ValueBase& value) const {
  const long row = row_of(iter);
  Glib::Value<Abbreviation*> v;
  v.init(record_.type());
  v.set(row < 0 ? nullptr : records_[static_cast<size_t>(row)]);
  value.init(record_.type());
  g_value_copy(v.gobj(), value.gobj());
}

bool RecordListModel::iter_children_vfunc(const iterator&, iterator& iter) const {
  iter = iterator();
  return false;
}
int RecordListModel::iter_n_children_vfunc(const iterator&) const { return 0; }
int RecordListModel::iter_n_root_children_vfunc() const { return static_cast<int>(records_.size()); }

bool RecordListModel::iter_nth_child_vfunc(const iterator&, int, iterator& iter) const {
  iter = iterator();
  return false;
}

bool RecordListModel::iter_nth_root_child_vfunc(int n, iterator& iter) const {
  return n >= 0 && iter_for(static_cast<size_t>(n), iter);
}

bool RecordListModel::iter_parent_vfunc(const iterator&, iterator& iter) const {
  iter = iterator();
  return false;
}

Gtk::TreeModel::Path RecordListModel::get_path_vfunc(const iterator& iter) const {
  const long row = row_of(iter);
  return row < 0 ? Path() : RecordListModel::path_of(row);
}

bool RecordListModel::get_iter_vfunc(const Path& path, iterator& iter) const {
  if (path.size() != 1) {
    iter = iterator();
    return false;
  }
  return path[0] >= 0 && iter_for(static_cast<size_t>(path[0]), iter);
}

}  // namespace tolvan::ui
