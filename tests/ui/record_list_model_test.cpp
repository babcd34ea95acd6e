// The abbreviation list's model under a real tree view: a sort moves the rows in place, the
// view's selection and rows following them, and anything but a reordering is refused.
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

}  // namespace
}  // namespace tolvan::ui
