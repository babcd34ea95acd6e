// The toolkit's small widgets and behaviours on a real display: widgets that never shrink,
// entries that refuse characters, combos from tables, and the OK/Cancel/Apply row.
#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

#include "gtk_test_support.h"
#include "ui/ok_cancel_apply_row.h"
#include "ui/table_combo.h"
#include "ui/widget_behaviours.h"

namespace tolvan::ui {
namespace {

using testing::settle;

TEST(WidgetToolkit, AWidgetThatMayNotShrinkKeepsItsLargestSize) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window window;
  Gtk::Box box(Gtk::ORIENTATION_VERTICAL);
  Gtk::Label kept("a rather long text to begin with\nand a second line");
  Gtk::Label free("a rather long text to begin with\nand a second line");
  box.pack_start(kept);
  box.pack_start(free);
  window.add(box);
  ui_widget_disallow_shrink(kept);
  window.show_all();
  settle();
  int minimum = 0, long_width = 0, long_height = 0;
  kept.get_preferred_width(minimum, long_width);
  kept.get_preferred_height(minimum, long_height);

  kept.set_text("short");
  free.set_text("short");
  settle();
  int width = 0, height = 0, free_width = 0;
  kept.get_preferred_width(minimum, width);
  kept.get_preferred_height(minimum, height);
  free.get_preferred_width(minimum, free_width);
  EXPECT_EQ(width, long_width);
  EXPECT_EQ(height, long_height);
  EXPECT_LT(free_width, long_width) << "a label without the rule does shrink";

  kept.set_text("a much, much longer text than any of the texts before it");
  settle();
  kept.get_preferred_width(minimum, width);
  EXPECT_GT(width, long_width) << "growing is still allowed";
}

TEST(WidgetToolkit, ARestrictedEntryKeepsOnlyTheAllowedCharactersWhereverTheyGo) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Entry entry;
  // The delimiter entry's rule: no space, tab, line feed or escape.
  ui_restrict_entry_chars(entry, [](gunichar c) {
    return c != ' ' && c != '\t' && c != '\n' && c != 0x1b;
  });
  entry.set_text("a b\tc\n\x1b" "d");
  EXPECT_EQ(entry.get_text(), "abcd");
  int position = 1;
  entry.insert_text("ü ß", static_cast<int>(Glib::ustring("ü ß").bytes()), position);
  EXPECT_EQ(entry.get_text(), "aüßbcd");
  EXPECT_EQ(position, 3) << "the caret goes after what was really inserted";
  position = 0;
  entry.insert_text("   ", 3, position);
  EXPECT_EQ(entry.get_text(), "aüßbcd");
  entry.set_text(".,;");
  EXPECT_EQ(entry.get_text(), ".,;");
}

constexpr ComboRow kModes[] = {
    {3, "Immediately"}, {4, "After a trigger key", "input-keyboard"}, {5, "After a word ending"}};
constexpr ComboRow kCases[] = {{0, "Case sensitive"}, {1, "Case insensitive"}};

TEST(WidgetToolkit, ATableComboShowsItsRowsAndIsReadAndSetByIds) {
  TOLVAN_NEED_DISPLAY();
  TableCombo combo(kModes);
  ASSERT_EQ(combo.get_model()->children().size(), 3u);
  EXPECT_EQ(combo.selected_id(), -1);
  EXPECT_TRUE(combo.select_id(5));
  EXPECT_EQ(combo.get_active_row_number(), 2);
  EXPECT_EQ(combo.selected_id(), 5);
  combo.set_active(1);
  EXPECT_EQ(combo.selected_id(), 4);
  EXPECT_FALSE(combo.select_id(9));
  EXPECT_EQ(combo.selected_id(), -1);

  combo.set_table(kCases);
  EXPECT_EQ(combo.get_model()->children().size(), 2u);
  EXPECT_EQ(combo.selected_id(), -1);
  EXPECT_TRUE(combo.select_id(1));
  EXPECT_EQ(combo.get_active_row_number(), 1);
}

TEST(WidgetToolkit, TheOkCancelApplyRowHasTheButtonsAskedForInOrderAtTheEnd) {
  TOLVAN_NEED_DISPLAY();
  std::vector<std::string> clicked;
  OkCancelApplyRow row([&] { clicked.push_back("ok"); }, nullptr,
                       [&] { clicked.push_back("apply"); });
  ASSERT_NE(row.ok(), nullptr);
  EXPECT_EQ(row.cancel(), nullptr);
  ASSERT_NE(row.apply(), nullptr);
  EXPECT_EQ(row.ok()->get_label(), "_OK");
  EXPECT_TRUE(row.ok()->get_use_underline());
  EXPECT_EQ(row.apply()->get_label(), "_Apply");
  EXPECT_EQ(row.get_layout(), Gtk::BUTTONBOX_END);
  EXPECT_EQ(row.get_spacing(), 3);
  std::vector<Gtk::Widget*> children = row.get_children();
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0], row.ok());
  EXPECT_EQ(children[1], row.apply());
  row.apply()->clicked();
  row.ok()->clicked();
  EXPECT_EQ(clicked, (std::vector<std::string>{"apply", "ok"}));

  OkCancelApplyRow all([] {}, [] {}, [] {});
  EXPECT_EQ(all.cancel()->get_label(), "_Cancel");
  EXPECT_EQ(all.get_children().size(), 3u);
}

}  // namespace
}  // namespace tolvan::ui
