// TextExpander mode's shape: nested folders flattened, loose abbreviations moved into
// "(Uncategorized)", and nothing done to a library that already has the shape.
#include <gtest/gtest.h>

#include "import/te_mode.h"
#include "library/folder_tree.h"

namespace tolvan {
namespace {

void add_text(Folder& folder, const char* typed) {
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
  a->abbreviations = {typed};
  abbr_add_abbrev_to_folder(folder, std::move(a));
}

TEST(TeMode, LooseAbbreviationsMoveIntoUncategorizedAndNestedFoldersFlatten) {
  Library library;
  Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
  Folder& work = abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Work"));
  Folder& letters = abbr_add_subfolder_to_folder(work, abbr_new_subfolder_of(library.uids, &work, "Letters"));
  add_text(letters, "sig");
  for (const char* typed : {"a", "b", "c"}) add_text(top, typed);

  EXPECT_TRUE(te_reshape_list(library, MAIN_LIST));
  EXPECT_TRUE(top.abbreviations.empty());
  ASSERT_EQ(top.subfolders.size(), 3u);
  for (const auto& folder : top.subfolders) EXPECT_TRUE(folder->subfolders.empty()) << folder->name;
  const Folder& uncategorized = *top.subfolders.back();
  EXPECT_EQ(uncategorized.name, kUncategorizedFolderName);
  EXPECT_EQ(uncategorized.abbreviations.size(), 3u);
  for (const auto& a : uncategorized.abbreviations) EXPECT_EQ(a->folder, &uncategorized);

  EXPECT_FALSE(te_reshape_list(library, MAIN_LIST));
  EXPECT_EQ(top.subfolders.size(), 3u);
}

TEST(TeMode, AnEmptyListIsLeftAlone) {
  Library library;
  EXPECT_FALSE(te_move_abbrevs_from_all(library, SANDBOX));
  Settings prefs;
  EXPECT_FALSE(te_mode_enabled(prefs));
  prefs.set_int("textexpander_mode", 1);
  EXPECT_TRUE(te_mode_enabled(prefs));
}

}  // namespace
}  // namespace tolvan
