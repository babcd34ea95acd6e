// The folder editor's window without widgets, and the hotkey row's stored form.
#include "presenters/library_window/folder_editor_presenter.h"

#include <gtest/gtest.h>

#include "library/folder_tree.h"
#include "support/recording_folder_host.h"

namespace tolvan {
namespace {

using tolvan::testing::RecordingFolderHost;

class FolderEditor : public ::testing::Test {
 protected:
  FolderEditor() {
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    all = sandbox[0].get();
    work = &abbr_add_subfolder_to_folder(*all, abbr_new_subfolder_of(uids, all, "Work"));
    letters = &abbr_add_subfolder_to_folder(*work, abbr_new_subfolder_of(uids, work, "Letters"));
    home = &abbr_add_subfolder_to_folder(*all, abbr_new_subfolder_of(uids, all, "Home"));
  }
  UidCounter uids;
  FolderList sandbox;
  Folder *all, *work, *letters, *home;
  RecordingFolderHost host;
};

TEST_F(FolderEditor, AddingASubfolderStartsUnderTheSelectedFolder) {
  FolderEditorPresenter p(host, sandbox, FolderEditorMode::Add, letters, false, false);
  const FolderEditorContents& c = p.contents();
  EXPECT_EQ(c.title, "Add Folder");
  EXPECT_EQ(c.name, "New Folder");
  EXPECT_EQ(c.parent_label, "Create _in:");
  ASSERT_EQ(c.parents.size(), 4u);
  EXPECT_EQ(c.parents[2].folder, letters);
  EXPECT_EQ(c.parents[2].depth, 2);
  EXPECT_EQ(c.parent_index, 2);
  EXPECT_TRUE(c.parent_sensitive);
  EXPECT_TRUE(c.parent_row_shown);
  EXPECT_FALSE(c.hotkey_row_shown);

  EXPECT_FALSE(FolderEditorPresenter::ok_sensitive(""));
  EXPECT_FALSE(p.ok("", 2, false, {}));
  EXPECT_TRUE(host.added.empty());
  EXPECT_TRUE(p.ok("Drafts", 3, false, {}));
  ASSERT_EQ(host.added.size(), 1u);
  EXPECT_EQ(host.added[0].first, home);
  EXPECT_EQ(host.added[0].second, "Drafts");
}

TEST_F(FolderEditor, ANewTopLevelFolderStartsAtTheAllRow) {
  FolderEditorPresenter p(host, sandbox, FolderEditorMode::Add, letters, true, false);
  EXPECT_EQ(p.contents().parent_index, 0);
}

TEST_F(FolderEditor, InTextExpanderModeNewFoldersGoToTheTopLevel) {
  FolderEditorPresenter p(host, sandbox, FolderEditorMode::Add, letters, false, true);
  EXPECT_FALSE(p.contents().parent_row_shown);
  p.ok("Group", 2, false, {});
  ASSERT_EQ(host.added.size(), 1u);
  EXPECT_EQ(host.added[0].first, all);
}

TEST_F(FolderEditor, EditingShowsAndStoresTheNameAndPopUpHotkey) {
  work->menu_hotkey = "17 16 75";
  work->menu_hotkey_enabled = 1;
  FolderEditorPresenter p(host, sandbox, FolderEditorMode::Edit, work, false, false);
  const FolderEditorContents& c = p.contents();
  EXPECT_EQ(c.title, "Edit Folder Details");
  EXPECT_EQ(c.parent_label, "Parent folder:");
  EXPECT_EQ(c.name, "Work");
  EXPECT_EQ(c.parent_index, 0);
  EXPECT_FALSE(c.parent_sensitive);
  EXPECT_TRUE(c.hotkey_row_shown);
  EXPECT_TRUE(c.hotkey_enabled);
  EXPECT_EQ(c.hotkey, (HotkeyRow{true, false, true, false, 'K'}));

  EXPECT_TRUE(p.ok("Office", 0, false, HotkeyRow{false, true, false, true, 0x70}));
  EXPECT_EQ(work->name, "Office");
  EXPECT_EQ(work->menu_hotkey, "18 91 112");
  EXPECT_EQ(work->menu_hotkey_enabled, 0);
  EXPECT_EQ(host.modified, std::vector<Folder*>{work});
  EXPECT_TRUE(host.added.empty());
}

TEST_F(FolderEditor, TheAbsoluteParentHasNoHotkeyInTextExpanderMode) {
  all->menu_hotkey = "17 65";
  FolderEditorPresenter normal(host, sandbox, FolderEditorMode::Edit, all, false, false);
  EXPECT_TRUE(normal.contents().hotkey_row_shown);
  EXPECT_EQ(normal.contents().hotkey, HotkeyRow{}) << "the absolute parent's row is not filled";
  FolderEditorPresenter te(host, sandbox, FolderEditorMode::Edit, all, false, true);
  EXPECT_FALSE(te.contents().hotkey_row_shown);
}

TEST(HotkeyRowString, ModifiersInTheirOrderThenTheKey) {
  EXPECT_EQ(hotkey_row_string({}), "");
  EXPECT_EQ(hotkey_row_string({true, true, true, true, 'A'}), "17 18 16 91 65");
  EXPECT_EQ(hotkey_row_string({false, false, true, false, 0}), "16");
  EXPECT_EQ(hotkey_row_from_string("91 17 32"), (HotkeyRow{true, false, false, true, 32}));
  EXPECT_EQ(hotkey_row_from_string("junk 18 x"), (HotkeyRow{false, true, false, false, 0}));
  EXPECT_EQ(hotkey_key_choices().size(), 89u);
  EXPECT_EQ(hotkey_key_choices().back().name, "F24");
}

}  // namespace
}  // namespace tolvan
