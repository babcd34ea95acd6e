// The abbreviation list's model under a real tree view: a sort moves the rows in place, the
// view's selection and rows following them, and anything but a reordering is refused; the
// rows walked one after the other as views do.
#include <gtest/gtest.h>

#include <gtkmm/treeview.h>

#include <vector>

#include "gtk_test_support.h"
#include "ui/library_window/record_list_model.h"

namespace tolvan::ui {
namespace {

using Records = std::vector<Abbreviation*>;

TEST(RecordListModel, ReorderMovesTheSameRowsInOneStepAndRefusesOtherRows) {
  TOLVAN_NEED_DISPLAY();
  Abbreviation a, b, c, d;
  auto model = RecordListModel::create({&a, &b, &c});
  Gtk::TreeView view(model);
  int reorderings = 0, insertions = 0, deletions = 0;
  std::vector<int> last_order;
  model->signal_rows_reordered().connect(
      [&](const Gtk::TreeModel::Path&, const Gtk::TreeModel::iterator&, int* order) {
        ++reorderings;
        last_order.assign(order, order + 3);
      });
  model->signal_row_inserted().connect([&](auto&, auto&) { ++insertions; });
  model->signal_row_deleted().connect([&](auto&) { ++deletions; });
  view.get_selection()->select(RecordListModel::path_of(0));  // a

  ASSERT_TRUE(model->reorder({&c, &a, &b}));
  EXPECT_EQ(model->records(), (Records{&c, &a, &b}));
  EXPECT_EQ(last_order, (std::vector<int>{2, 0, 1}));  // new position -> old position
  EXPECT_EQ(reorderings, 1);
  EXPECT_EQ(insertions + deletions, 0);
  // The view's selection went with the row.
  std::vector<Gtk::TreeModel::Path> selected = view.get_selection()->get_selected_rows();
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(model->at(static_cast<size_t>(selected.front()[0])), &a);
  // An iterator to the row reads the record now there.
  Gtk::TreeModel::iterator first = model->get_iter(RecordListModel::path_of(0));
  EXPECT_EQ(static_cast<Abbreviation*>((*first)[model->record_column()]), &c);

  EXPECT_FALSE(model->reorder({&c, &a, &d}));  // another record
  EXPECT_FALSE(model->reorder({&c, &a}));      // fewer
  EXPECT_FALSE(model->reorder({&c, &c, &a}));  // one twice, one missing
  EXPECT_EQ(model->records(), (Records{&c, &a, &b}));
  EXPECT_EQ(reorderings, 1);

  auto empty = RecordListModel::create({});
  EXPECT_FALSE(empty->reorder({}));  // nothing to move: a caller makes its own empty list
}

// A view walks the rows through the model's C calls as it takes the model and as it drops it.
TEST(RecordListModel, TheRowsAreWalkedInOrderAndAStaleIteratorGoesNowhere) {
  TOLVAN_NEED_DISPLAY();
  Abbreviation a, b, c;
  auto model = RecordListModel::create({&a, &b, &c});
  GtkTreeModel* tree = GTK_TREE_MODEL(model->Glib::Object::gobj());
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_model_get_iter_first(tree, &iter));
  Records walked;
  do {
    Abbreviation* record = nullptr;
    gtk_tree_model_get(tree, &iter, 0, &record, -1);
    walked.push_back(record);
    EXPECT_FALSE(gtk_tree_model_iter_has_child(tree, &iter));
    gtk_tree_model_ref_node(tree, &iter);  // nothing to count: the rows keep no view state
    gtk_tree_model_unref_node(tree, &iter);
  } while (gtk_tree_model_iter_next(tree, &iter));
  EXPECT_EQ(walked, (Records{&a, &b, &c}));

  ASSERT_TRUE(gtk_tree_model_get_iter_first(tree, &iter));
  model->erase(0);
  EXPECT_FALSE(gtk_tree_model_iter_next(tree, &iter));  // rows moved since it was made
  ASSERT_TRUE(gtk_tree_model_get_iter_first(tree, &iter));
  EXPECT_TRUE(gtk_tree_model_iter_next(tree, &iter));
  EXPECT_FALSE(gtk_tree_model_iter_next(tree, &iter));  // past the last of the two rows

  // Two views drop their rows, each walking them; the model serves both.
  {
    Gtk::TreeView first(model), second(model);
  }
  EXPECT_EQ(model->records(), (Records{&b, &c}));
}

}  // namespace
}  // namespace tolvan::ui
