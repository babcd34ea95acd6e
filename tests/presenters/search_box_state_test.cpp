// The search box: the placeholder, the user's changes searched and the program's not, and
// the duplicate-conflict list.
#include "presenters/library_window/search_box_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan {
namespace {

// An entry that reports every change of its text back, as a toolkit's entry does.
struct EntryDouble final : SearchBoxView {
  void set_search_text(const std::string& value) override {
    text = value;
    box->text_changed(value);
  }
  void search_mode_changed() override { ++mode_changes; }
  void search_for(const std::string& value) override { searches.push_back(value); }
  void user_types(const std::string& value) {
    text = value;
    box->text_changed(value);
  }
  SearchBoxState* box = nullptr;
  std::string text;
  std::vector<std::string> searches;
  int mode_changes = 0;
};

struct SearchBox : ::testing::Test {
  SearchBox() { entry.box = &box; }
  EntryDouble entry;
  SearchBoxState box{entry};
};

TEST_F(SearchBox, ThePlaceholderGoesOnFocusAndComesBackWhenLeftEmpty) {
  box.reset();
  EXPECT_EQ(entry.text, kSearchPlaceholder);
  EXPECT_TRUE(box.placeholder_showing());
  box.focus_in();
  EXPECT_EQ(entry.text, "");
  EXPECT_FALSE(box.placeholder_showing());
  box.focus_out("");
  EXPECT_EQ(entry.text, kSearchPlaceholder);
  EXPECT_TRUE(entry.searches.empty());
}

TEST_F(SearchBox, TheUsersChangesSearch) {
  box.reset();
  box.focus_in();
  entry.user_types("he");
  entry.user_types("hel");
  EXPECT_EQ(entry.searches, (std::vector<std::string>{"he", "hel"}));
  box.focus_out("hel");
  EXPECT_EQ(entry.text, "hel");
  // Typing the placeholder's own text after it was dropped is a search too.
  entry.user_types(kSearchPlaceholder);
  EXPECT_EQ(entry.searches.back(), kSearchPlaceholder);
}

TEST_F(SearchBox, DuplicatesAreShownWithoutSearchingUntilTheUserChangesTheText) {
  box.show_duplicates("btw");
  EXPECT_EQ(entry.text, "btw");
  EXPECT_TRUE(box.duplicate_search());
  EXPECT_TRUE(entry.searches.empty());
  int before = entry.mode_changes;
  entry.user_types("btwx");
  EXPECT_FALSE(box.duplicate_search());
  EXPECT_GT(entry.mode_changes, before);
  EXPECT_EQ(entry.searches, (std::vector<std::string>{"btwx"}));
  box.reset();
  EXPECT_FALSE(box.duplicate_search());
  EXPECT_EQ(entry.searches.size(), 1u);
}

}  // namespace
}  // namespace tolvan
