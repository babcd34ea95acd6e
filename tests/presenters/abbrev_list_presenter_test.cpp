// The abbreviation list without its toolkit: the row texts, the sort state with its header
// clicks and optional columns, the kept sort, where an edited or new row goes and which
// row is selected after a delete.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/folder_tree.h"
#include "presenters/library_window/abbrev_list_presenter.h"
#include "presenters/library_window/abbrev_rows.h"
#include "textexpander/kvlist.h"

namespace tolvan {
namespace {

// A folder "Work" in the absolute parent, holding abbreviations the tests make.
struct Records {
  UidCounter uids;
  std::unique_ptr<Folder> top = abbr_create_absolute_parent_folder(uids);
  Folder& work = abbr_add_subfolder_to_folder(*top, abbr_new_subfolder_of(uids, top.get(), "Work"));

  Abbreviation& text(Folder& folder, const std::string& description, const std::string& abbrev,
                     const std::string& expansion = "") {
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
    a->description = description;
    if (!abbrev.empty()) a->abbreviations = {abbrev};
    a->expansion() = expansion;
    return abbr_add_abbrev_to_folder(folder, std::move(a));
  }
};

std::vector<std::string> descriptions(const std::vector<const Abbreviation*>& rows) {
  std::vector<std::string> out;
  for (const Abbreviation* a : rows) out.push_back(a->description);
  return out;
}

TEST(AbbrevRows, ShowTheRecordEscapedAndShortened) {
  Records r;
  Abbreviation& a = r.text(r.work, "Greeting", "<hi>&", "Hello\r\nworld\nagain");
  a.abbreviations.push_back("h|i");
  a.created = {3, 15, 2012, 14, 5, 9};
  AbbrevRowTexts row = abbrev_row_texts(a);
  EXPECT_EQ(row.description, "Greeting");
  EXPECT_EQ(row.abbreviation_markup, "<b>&lt;hi&gt;&amp;|h||i</b>");
  EXPECT_EQ(row.preview, "Hello...");
  EXPECT_EQ(row.folder_markup, "Work");
  EXPECT_EQ(row.created, "3/15/2012 2:05:09PM");

  auto launcher = abbr_create_new_abbrev(ABBR_TYPE_WEBSITE, &r.work, {});
  launcher->website().address = "https://example.org/?a=1&b=2";
  EXPECT_EQ(abbrev_row_texts(*launcher).preview, "Launch https://example.org/?a=1&b=2");
  auto empty_launcher = abbr_create_new_abbrev(ABBR_TYPE_PROGRAM, &r.work, {});
  EXPECT_EQ(abbrev_row_texts(*empty_launcher).preview, "");

  auto snippet = abbr_create_new_abbrev(ABBR_TYPE_UNSUPPORTED, &r.work, {});
  EXPECT_EQ(abbrev_row_texts(*snippet).preview, "(This snippet type is not yet supported in Tolvan.)");
}

TEST(AbbrevRows, MarkupEscapingKeepsUtf8AndEscapesEveryMarkupCharacter) {
  EXPECT_EQ(markup_escape("å<b>\"'&ß"), "å&lt;b&gt;&quot;&#39;&amp;ß");
}

TEST(AbbrevRows, ANewRecordOfTheAllRowGoesBeforeTheSubfoldersRecords) {
  Records r;
  Abbreviation& own = r.text(*r.top, "own", "o");
  Abbreviation& sub = r.text(r.work, "sub", "s");
  Abbreviation& fresh = r.text(*r.top, "new", "");
  std::vector<const Abbreviation*> all_rows{&own, &sub};
  EXPECT_EQ(new_abbrev_row_position(all_rows, *r.top, true), 1u);
  std::vector<const Abbreviation*> only_sub{&sub};
  EXPECT_EQ(new_abbrev_row_position(only_sub, *r.top, true), 0u);
  std::vector<const Abbreviation*> folder_rows{&sub, &fresh};
  EXPECT_EQ(new_abbrev_row_position(folder_rows, r.work, false), 2u);
}

TEST(AbbrevRows, AfterDeletingTheSelectionMovesToTheSamePlaceOrTheRowBefore) {
  EXPECT_EQ(row_to_select_after_delete(2, 5), 2u);  // the row that took the place
  EXPECT_EQ(row_to_select_after_delete(4, 4), 3u);  // the last row went: the one before it
  EXPECT_EQ(row_to_select_after_delete(0, 0), std::nullopt);  // the only row went
  EXPECT_EQ(row_to_select_after_delete(3, 1), std::nullopt);
}

class AbbrevList : public ::testing::Test {
 protected:
  Settings prefs;
  AbbrevListPresenter list{prefs};
};

TEST_F(AbbrevList, HeaderClicksFlipTheCurrentColumnAndSortOthersAscending) {
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_DESCRIPTION, false}));
  list.header_clicked(SORT_BY_DESCRIPTION);
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_DESCRIPTION, true}));
  list.header_clicked(SORT_BY_ABBREVIATION);
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_ABBREVIATION, false}));
  list.header_clicked(SORT_BY_ABBREVIATION);
  EXPECT_EQ(list.sort_order(), SORT_DESCENDING);
}

TEST_F(AbbrevList, TheContainingFolderColumnShowsForTheAllRowOrDuplicatesAndGivesWayWhenItGoes) {
  prefs.set("contfol_col", "1");
  list.update_columns({true, false});
  EXPECT_TRUE(list.columns().folder);
  list.header_clicked(SORT_BY_EXPANSION);
  list.header_clicked(SORT_BY_EXPANSION);  // Replacement Preview, descending
  list.header_clicked(SORT_BY_FOLDER);
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_FOLDER, false}));
  // Another folder than the All row: the column goes and the sort before it comes back.
  EXPECT_TRUE(list.update_columns({false, false}));
  EXPECT_FALSE(list.columns().folder);
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_EXPANSION, true}));
  list.update_columns({false, true});
  EXPECT_TRUE(list.columns().folder);
  prefs.set("contfol_col", "0");
  list.update_columns({true, true});
  EXPECT_FALSE(list.columns().folder);
}

TEST_F(AbbrevList, HidingTheSortedTimeColumnSortsByDescriptionAscending) {
  prefs.set("created_col", "1");
  list.update_columns({});
  list.header_clicked(SORT_BY_CREATED);
  list.header_clicked(SORT_BY_CREATED);
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_CREATED, true}));
  prefs.set("created_col", "0");
  EXPECT_TRUE(list.update_columns({}));
  EXPECT_EQ(list.sort(), (ListSortState{SORT_BY_DESCRIPTION, false}));
  EXPECT_FALSE(list.update_columns({}));
}

TEST_F(AbbrevList, TheSortIsKeptInThePreferences) {
  list.header_clicked(SORT_BY_EXPANSION);
  list.header_clicked(SORT_BY_EXPANSION);
  list.save_to_prefs();
  EXPECT_EQ(prefs.get("a_sc"), "e");
  EXPECT_EQ(prefs.get("a_so"), "desc");

  AbbrevListPresenter next{prefs};
  next.load_from_prefs({});
  EXPECT_EQ(next.sort(), (ListSortState{SORT_BY_EXPANSION, true}));

  // The Containing Folder is kept as Description; a time column only while it shows.
  EXPECT_EQ(sort_column_pref(SORT_BY_FOLDER), "d");
  prefs.set("a_sc", "m");
  next.load_from_prefs({});
  EXPECT_EQ(next.sort().column, SORT_BY_DESCRIPTION);
  prefs.set("modified_col", "1");
  next.load_from_prefs({});
  EXPECT_EQ(next.sort().column, SORT_BY_MODIFIED);
  EXPECT_TRUE(next.columns().modified);
  prefs.set("a_sc", "nonsense");
  prefs.set("a_so", "sideways");
  next.load_from_prefs({});
  EXPECT_EQ(next.sort(), (ListSortState{SORT_BY_DESCRIPTION, false}));
}

TEST_F(AbbrevList, RecordsWithoutADescriptionSortLastInBothOrders) {
  Records r;
  std::vector<Abbreviation*> records{&r.text(r.work, "", "x"), &r.text(r.work, "b", "y"),
                                     &r.text(r.work, "", "z"), &r.text(r.work, "A", "w")};
  list.sort_records(records);
  std::vector<const Abbreviation*> rows(records.begin(), records.end());
  EXPECT_EQ(descriptions(rows), (std::vector<std::string>{"A", "b", "", ""}));
  list.header_clicked(SORT_BY_DESCRIPTION);
  list.sort_records(records);
  rows.assign(records.begin(), records.end());
  EXPECT_EQ(descriptions(rows), (std::vector<std::string>{"b", "A", "", ""}));
}

TEST_F(AbbrevList, AnEditedRowStaysBesideAnEqualNeighbourElseMovesToItsPlace) {
  Records r;
  Abbreviation& a = r.text(r.work, "apple", "");
  Abbreviation& b = r.text(r.work, "banana", "");
  Abbreviation& c = r.text(r.work, "cherry", "");
  Abbreviation& d = r.text(r.work, "date", "");
  std::vector<const Abbreviation*> rows{&a, &b, &c, &d};

  b.description = "APPLE";  // equal to the row above, ignoring case
  EXPECT_EQ(list.position_after_edit(rows, 1), 1u);
  b.description = "zebra";
  EXPECT_EQ(list.position_after_edit(rows, 1), 3u);  // to the end
  b.description = "aardvark";
  EXPECT_EQ(list.position_after_edit(rows, 1), 0u);
  b.description = "";
  EXPECT_EQ(list.position_after_edit(rows, 1), 3u);  // no description: last

  list.header_clicked(SORT_BY_DESCRIPTION);  // descending
  std::vector<const Abbreviation*> down{&d, &c, &b, &a};
  b.description = "zebra";
  EXPECT_EQ(list.position_after_edit(down, 2), 0u);
  b.description = "coconut";  // between cherry and date
  EXPECT_EQ(list.position_after_edit(down, 2), 1u);
  b.description = "";
  EXPECT_EQ(list.position_after_edit(down, 2), 3u);
}

}  // namespace
}  // namespace tolvan
