// The folder editor on a real display: OK follows the name, Enter confirms, the parent combo
// shows the folder tree, editing stores the pop-up hotkey; and a context menu built from its
// items dispatches the chosen action.
#include <gtkmm/menuitem.h>

#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "support/recording_folder_host.h"
#include "ui/library_window/context_menu.h"
#include "ui/library_window/folder_editor_window.h"

namespace tolvan::ui {
namespace {

using testing::settle;

using tolvan::testing::RecordingFolderHost;

class FolderEditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    sandbox.push_back(abbr_create_absolute_parent_folder(uids));
    all = sandbox[0].get();
    work = &abbr_add_subfolder_to_folder(*all, abbr_new_subfolder_of(uids, all, "Work"));
    letters = &abbr_add_subfolder_to_folder(*work, abbr_new_subfolder_of(uids, work, "Letters"));
  }
  UidCounter uids;
  FolderList sandbox;
  Folder *all, *work, *letters;
  RecordingFolderHost host;
};

TEST_F(FolderEditorWindowTest, OkFollowsTheNameAndEnterConfirms) {
  FolderEditorWindow window(host, sandbox, FolderEditorMode::Add, letters, false, false, nullptr);
  bool done = false;
  window.signal_done().connect([&] { done = true; });
  settle();
  EXPECT_EQ(window.get_title(), "Add Folder");
  EXPECT_EQ(window.name_entry().get_text(), "New Folder");
  EXPECT_TRUE(window.parent_row().get_visible());
  EXPECT_FALSE(window.hotkey_box().get_visible());
  Gtk::TreeModel::iterator active = window.parent_combo().get_active();
  ASSERT_TRUE(active);
  EXPECT_EQ(window.parent_combo().get_model()->get_path(active).to_string(), "0:0:0");

  window.name_entry().set_text("");
  EXPECT_FALSE(window.ok_button().get_sensitive());
  window.name_entry().set_text("Replies");
  EXPECT_TRUE(window.ok_button().get_sensitive());
  window.name_entry().activate();
  settle();
  EXPECT_TRUE(done);
  ASSERT_EQ(host.added.size(), 1u);
  EXPECT_EQ(host.added[0].first, letters);
  EXPECT_EQ(host.added[0].second, "Replies");
}

TEST_F(FolderEditorWindowTest, EditingStoresTheNameAndHotkey) {
  work->menu_hotkey = "17 65";
  work->menu_hotkey_enabled = 1;
  FolderEditorWindow window(host, sandbox, FolderEditorMode::Edit, work, false, false, nullptr);
  settle();
  EXPECT_EQ(window.get_title(), "Edit Folder Details");
  EXPECT_FALSE(window.parent_combo().get_sensitive());
  EXPECT_TRUE(window.hotkey_box().get_visible());
  EXPECT_TRUE(window.hotkey_enabled().get_active());
  EXPECT_EQ(window.hotkey_row().hotkey(), (HotkeyRow{true, false, false, false, 'A'}));

  window.hotkey_row().set_hotkey({false, true, false, true, 0x7B});
  window.name_entry().set_text("Office");
  window.ok_button().clicked();
  EXPECT_EQ(work->name, "Office");
  EXPECT_EQ(work->menu_hotkey, "18 91 123");
  EXPECT_EQ(host.modified, std::vector<Folder*>{work});
}

TEST_F(FolderEditorWindowTest, TextExpanderModeHidesTheParentRow) {
  FolderEditorWindow window(host, sandbox, FolderEditorMode::Add, letters, false, true, nullptr);
  settle();
  EXPECT_FALSE(window.parent_row().get_visible());
  window.ok_button().clicked();
  ASSERT_EQ(host.added.size(), 1u);
  EXPECT_EQ(host.added[0].first, all);
}

TEST_F(FolderEditorWindowTest, AContextMenuDispatchesTheChosenAction) {
  std::vector<std::string> chosen;
  std::unique_ptr<Gtk::Menu> menu = build_context_menu(abbrev_context_menu_items({}, false, false),
                                                       [&](const std::string& a) { chosen.push_back(a); });
  std::vector<Gtk::Widget*> items = menu->get_children();
  ASSERT_EQ(items.size(), 9u);
  auto* case_item = dynamic_cast<Gtk::MenuItem*>(items[5]);
  ASSERT_TRUE(case_item && case_item->get_submenu());
  dynamic_cast<Gtk::MenuItem*>(case_item->get_submenu()->get_children()[2])->activate();
  dynamic_cast<Gtk::MenuItem*>(items[0])->activate();
  EXPECT_EQ(chosen, (std::vector<std::string>{"CaseAdapt", "NewAbbreviation"}));
}

}  // namespace
}  // namespace tolvan::ui
