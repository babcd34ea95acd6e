// The Backup Manager on a real display, over real backups in a temporary data folder: its
// texts and list, the Restore button following the selection, hiding instead of closing,
// showing again with a fresh list, and a restore answered through its boxes.
#include <gtkmm/treeviewcolumn.h>

#include "gtk_test_support.h"
#include "support/backup_scene.h"
#include "ui/backup_manager_window.h"

namespace tolvan::ui {
namespace {

using testing::BoxAnswers;
using testing::turn_until;

struct NoPendingChanges final : PendingChanges {
  bool has_unapplied_changes() const override { return false; }
  bool apply_changes() override { return true; }
};

class BackupManagerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    scene.save_library_with({"btw"});
    backup_create_new(ctx, false);
    backup_create_new(ctx, false);
  }

  size_t rows(BackupManagerWindow& window) { return window.list().get_model()->children().size(); }

  tolvan::testing::BackupScene scene;
  Settings& prefs = scene.prefs;
  Library& library = scene.library;
  StreamPrompts unused_prompts{std::cerr};
  BackupContext ctx = scene.context(unused_prompts);
  NoPendingChanges pending;
};

TEST_F(BackupManagerWindowTest, ListsTheBackupsWithItsTextsAndRestoreFollowsTheSelection) {
  Gtk::Window main_window;
  BackupManagerWindow manager(ctx, pending);
  manager.show_over(&main_window);
  ASSERT_TRUE(turn_until([&] { return manager.get_mapped(); }));

  EXPECT_EQ(manager.get_title(), "Backup Manager");
  int width = 0, height = 0;
  manager.get_default_size(width, height);
  EXPECT_EQ(width, 425);
  EXPECT_EQ(height, 375);
  EXPECT_EQ(manager.get_transient_for(), &main_window);
  EXPECT_FALSE(manager.get_modal());
  EXPECT_EQ(manager.list().get_column(0)->get_title(), " Backup Creation Time");
  EXPECT_EQ(manager.list().get_column(1)->get_title(), " Abbreviations");
  EXPECT_EQ(manager.restore_button().get_label(), "_Restore Selected Backup");
  EXPECT_TRUE(manager.restore_button().get_use_underline());
  EXPECT_EQ(manager.restore_button().get_tooltip_text(), "Restores the selected backup.");
  EXPECT_EQ(manager.close_button().get_label(), "_Close");
  EXPECT_EQ(manager.close_button().get_tooltip_text(), "Closes the Backup Manager.");
  EXPECT_NEAR(manager.restore_button().get_allocated_width(),
              manager.close_button().get_allocated_width(), 1);
  EXPECT_EQ(manager.get_focus(), &manager.close_button()) << "Enter closes; nothing is preselected";

  ASSERT_EQ(rows(manager), 2u);
  Gtk::TreeRow first = *manager.list().get_model()->children().begin();
  EXPECT_EQ(first.get_value(manager.columns.time).substr(0, 7), "Today, ");
  EXPECT_EQ(first.get_value(manager.columns.count), 1);
  EXPECT_EQ(first.get_value(manager.columns.path), backup_get_file_list(prefs).at(0).path);

  EXPECT_FALSE(manager.restore_button().get_sensitive());
  manager.list().get_selection()->select(first);
  EXPECT_TRUE(manager.restore_button().get_sensitive());
  manager.list().get_selection()->unselect_all();
  EXPECT_FALSE(manager.restore_button().get_sensitive());
}

TEST_F(BackupManagerWindowTest, ClosingHidesItAndShowingItAgainRefreshesTheList) {
  BackupManagerWindow manager(ctx, pending);
  manager.show_over(nullptr);
  ASSERT_TRUE(turn_until([&] { return manager.get_mapped(); }));
  manager.close();  // the title bar's close button
  ASSERT_TRUE(turn_until([&] { return !manager.get_visible(); }));

  backup_create_new(ctx, false);  // meanwhile the program made another
  manager.show_over(nullptr);
  ASSERT_TRUE(turn_until([&] { return manager.get_mapped(); }));
  EXPECT_EQ(rows(manager), 3u);
  manager.close_button().clicked();
  EXPECT_FALSE(manager.get_visible());
}

TEST_F(BackupManagerWindowTest, RestoringAsksInItsOwnBoxesAndHidesWhenDone) {
  BackupManagerWindow manager(ctx, pending);
  manager.show_over(nullptr);
  ASSERT_TRUE(turn_until([&] { return manager.get_mapped(); }));
  // The library changed since: the backups hold "btw", the working copy something else.
  library.sandbox.at(0)->abbreviations.front()->abbreviations = {"changed"};
  manager.list().get_selection()->select(*manager.list().get_model()->children().begin());

  BoxAnswers answers({Response::Yes, Response::Ok});
  manager.restore_button().clicked();
  EXPECT_EQ(answers.texts,
            (std::vector<std::string>{
                kBackupBeforeRestoreQuestion,
                "Backup successfully restored. Make sure you click the Apply button to apply "
                "the changes (or Cancel to cancel them)."}));
  EXPECT_EQ(library.sandbox.at(0)->abbreviations.front()->abbreviations.at(0), "btw");
  EXPECT_EQ(backup_get_file_list(prefs).size(), 3u);
  EXPECT_FALSE(manager.get_visible());
}

}  // namespace
}  // namespace tolvan::ui
