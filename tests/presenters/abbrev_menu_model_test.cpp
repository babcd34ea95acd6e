// The abbreviation menu's entries: which folders appear, in which order, with which labels,
// pictures and access keys, for the all-folders menu, submenus and a folder's own menu.
#include "presenters/abbrev_menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/random_library.h"

namespace tolvan {
namespace {

using testing::add_abbrev;
using testing::add_folder;
using testing::add_top;

Abbreviation& described(Folder& folder, std::string description, std::vector<std::string> strings,
                        AbbrType type = ABBR_TYPE_TEXT) {
  Abbreviation& a = add_abbrev(folder, std::move(strings), {.type = type});
  a.description = std::move(description);
  return a;
}

std::vector<std::string> labels(const std::vector<AbbrevMenuEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.label);
  return out;
}

// A library as users have them: folders out of order, one empty, one disabled, one with
// only an empty subfolder, a folder name with an underscore.
struct Scene {
  FolderList list;
  Folder* top;
  Folder* work;
  Folder* letters;
  Folder* empty;
  Folder* old;
  Folder* holder;
  Scene() {
    top = &add_top(list);
    work = &add_folder(*top, "work");
    letters = &add_folder(*top, "_Letters");
    empty = &add_folder(*top, "Empty");
    old = &add_folder(*top, "Old", true);
    holder = &add_folder(*top, "Holder");
    add_folder(*holder, "Nothing_here");
    described(*work, "signature", {"sig"});
    described(*work, "Address", {"addr", "a|b"});
    described(*work, "browser", {"web"}, ABBR_TYPE_WEBSITE);
    described(*work, "editor", {"ed"}, ABBR_TYPE_PROGRAM);
    Folder& sub = add_folder(*work, "clients");
    described(sub, "acme", {"acme"});
    described(*letters, "dear", {"dear"});
    described(*old, "gone", {"gone"});
  }
};

TEST(AbbrevMenuModel, AllFoldersListsNonEmptyTopFoldersSortedWithAccessKeys) {
  Scene s;
  auto entries = abbrev_menu_of_all_folders(s.list, {});
  // Case ignored, "Empty" left out, the folder holding only an empty folder kept.
  EXPECT_EQ(labels(entries), (std::vector<std::string>{"_Letters", "Holder", "Old", "work"}));
  for (const auto& e : entries) {
    EXPECT_TRUE(e.mnemonic) << e.label;
    EXPECT_NE(e.folder, nullptr);
    EXPECT_EQ(e.abbreviation, nullptr);
  }
  EXPECT_EQ(entries[2].picture, AbbrevMenuPicture::DisabledFolder);
  EXPECT_EQ(entries[3].picture, AbbrevMenuPicture::Folder);

  AbbrevMenuSort descending;
  descending.folder_order = SORT_DESCENDING;
  EXPECT_EQ(labels(abbrev_menu_of_all_folders(s.list, descending)),
            (std::vector<std::string>{"work", "Old", "Holder", "_Letters"}));
}

TEST(AbbrevMenuModel, SubmenuHoldsSubfoldersThenAbbreviationsWithoutAccessKeys) {
  Scene s;
  auto entries = abbrev_submenu(*s.work, {});
  EXPECT_EQ(labels(entries),
            (std::vector<std::string>{"clients", "Address (addr|a||b)", "browser (web)",
                                      "editor (ed)", "signature (sig)"}));
  for (const auto& e : entries) EXPECT_FALSE(e.mnemonic) << e.label;
  EXPECT_EQ(entries[0].folder, s.work->subfolders[0].get());
  EXPECT_EQ(entries[2].picture, AbbrevMenuPicture::Website);
  EXPECT_EQ(entries[3].picture, AbbrevMenuPicture::Program);
  EXPECT_EQ(entries[4].picture, AbbrevMenuPicture::Text);
  EXPECT_EQ(entries[4].abbreviation->abbreviations.front(), "sig");

  // A folder of empty subfolders still opens, onto an empty submenu.
  EXPECT_TRUE(abbrev_submenu(*s.holder, {}).empty());
}

TEST(AbbrevMenuModel, FolderMenuHoldsOnlyItsOwnAbbreviations) {
  Scene s;
  EXPECT_EQ(labels(abbrev_menu_of_folder(*s.work, {})),
            (std::vector<std::string>{"Address (addr|a||b)", "browser (web)", "editor (ed)",
                                      "signature (sig)"}));
  EXPECT_TRUE(abbrev_menu_of_folder(*s.empty, {}).empty());
  EXPECT_TRUE(abbrev_menu_of_folder(*s.holder, {}).empty());
}

TEST(AbbrevMenuModel, AbbreviationsFollowTheMainListsSortColumnAndDirection) {
  Scene s;
  Settings prefs;
  prefs.set("a_sc", "a");
  prefs.set("a_so", "desc");
  prefs.set("f_so", "DESC");
  AbbrevMenuSort sort = abbrev_menu_sort(prefs);
  EXPECT_EQ(sort.folder_order, SORT_DESCENDING);
  EXPECT_EQ(labels(abbrev_menu_of_folder(*s.work, sort)),
            (std::vector<std::string>{"browser (web)", "signature (sig)", "editor (ed)",
                                      "Address (addr|a||b)"}));
  // Columns the menu does not show sort by description.
  prefs.set("a_sc", "m");
  prefs.set("a_so", "asc");
  EXPECT_EQ(abbrev_menu_sort(prefs).abbrev_column, SORT_BY_DESCRIPTION);
  EXPECT_EQ(abbrev_menu_sort(Settings{}).abbrev_order, SORT_ASCENDING);
}

TEST(AbbrevMenuModel, ListWithoutAbsoluteParentGivesAnEmptyMenu) {
  FolderList list;
  EXPECT_TRUE(abbrev_menu_of_all_folders(list, {}).empty());
  Folder& top = add_top(list);
  EXPECT_TRUE(abbrev_menu_of_all_folders(list, {}).empty());
  Abbreviation& loose = add_abbrev(top, {"x"});
  loose.description = "loose";
  // Abbreviations of the absolute parent itself are not in the all-folders menu.
  EXPECT_TRUE(abbrev_menu_of_all_folders(list, {}).empty());
}

TEST(AbbrevMenuModel, LongMenusAreSplitIntoPartsNamedByTheirEnds) {
  std::vector<AbbrevMenuEntry> entries;
  for (int i = 0; i < 5; ++i) entries.push_back({"e" + std::to_string(i)});
  EXPECT_TRUE(abbrev_menu_parts(entries, 5).empty());
  auto parts = abbrev_menu_parts(entries, 2);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].label, "e0 \u2026 e1");
  EXPECT_EQ(parts[2].label, "e4 \u2026 e4");
  EXPECT_EQ(parts[1].begin, 2u);
  EXPECT_EQ(parts[2].end, 5u);
  EXPECT_TRUE(abbrev_menu_parts({}, 2).empty());
}

}  // namespace
}  // namespace tolvan
