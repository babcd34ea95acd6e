// Backups: names, the list in the preferences, limits, restore, moving and deleting.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "library/abbrev_writer.h"
#include "library/backups.h"
#include "library/folder_tree.h"
#include "settings/settings_file.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::RecordingPrompts;
using testing::TempDir;
using testing::write_file;
namespace fs = std::filesystem;

class Backups : public ::testing::Test {
 protected:
  Backups() {
    gvar.set("prefs_file", dir.file("prefs.lt"));
    gvar.set("abbreviations_file", dir.file("abbreviations.tlv"));
    prefs.set("auto_backup", "1");
    prefs.set("limit_total_backup", "1");
    prefs.set("backup_max_count", "10");
    prefs.set("backup_dir", dir.file("backups"));
    Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
    for (const char* name : {"a", "b"}) {
      auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &top, {});
      a->abbreviations = {name};
      abbr_add_abbrev_to_folder(top, std::move(a));
    }
    write_file(gvar.get("abbreviations_file"), abbr_folder_list_to_xml(library.main_list));
    abbr_create_sandbox(library);
  }

  Settings saved_prefs() const {
    auto loaded = settings_load_from_file(dir.file("prefs.lt"));
    return loaded ? *loaded : Settings{};
  }

  TempDir dir;
  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  RecordingPrompts prompts;
  int list_changes = 0;
  BackupContext ctx{prefs, gvar, library, prompts, [this] { ++list_changes; }, nullptr};
};

TEST_F(Backups, ABackupCopiesTheFileAndIsRecordedFirstInTheSavedPreferences) {
  std::string first = backup_create_new(ctx, false);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(read_file(first), read_file(gvar.get("abbreviations_file")));
  EXPECT_EQ(fs::path(first).parent_path(), fs::path(dir.file("backups")));
  EXPECT_EQ(fs::path(first).extension(), ".tlv");

  // Written from the working copy this time: the sandbox has one abbreviation more.
  auto extra = abbr_create_new_abbrev(ABBR_TYPE_TEXT, library.sandbox[0].get(), {});
  abbr_add_abbrev_to_folder(*library.sandbox[0], std::move(extra));
  std::string second = backup_create_new(ctx, true);
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(read_file(second), abbr_folder_list_to_xml(library.sandbox));

  auto list = backup_get_file_list(saved_prefs());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path, second);
  EXPECT_EQ(list[1].path, first);
  EXPECT_EQ(list[0].count, 2);  // the main list's count, as recorded
  EXPECT_GT(list_changes, 0);
}

TEST_F(Backups, NothingHappensWithAutomaticBackupsOff) {
  prefs.set("auto_backup", "0");
  EXPECT_EQ(backup_create_new(ctx, false), "");
  EXPECT_FALSE(fs::exists(dir.file("backups")));
  EXPECT_EQ(prefs.get("backups"), "");
}

TEST_F(Backups, NamesWithinOneSecondGetACounter) {
  AbbrTime t{3, 15, 2012, 14, 5, 9};
  std::string backups = dir.file("backups");
  fs::create_directory(backups);
  EXPECT_EQ(backup_file_name_for(backups, t), backups + "/03_15_2012_14_05_09.tlv");
  write_file(backups + "/03_15_2012_14_05_09.tlv", "");
  EXPECT_EQ(backup_file_name_for(backups, t), backups + "/03_15_2012_14_05_091.tlv");
  write_file(backups + "/03_15_2012_14_05_091.tlv", "");
  EXPECT_EQ(backup_file_name_for(backups, t), backups + "/03_15_2012_14_05_092.tlv");
}

TEST_F(Backups, TheLimitDeletesTheOldestFirst) {
  prefs.set("backup_max_count", "3");
  std::vector<std::string> made;
  for (int i = 0; i < 4; ++i) made.push_back(backup_create_new(ctx, false));
  // Three files remain (within one second the newest may reuse the freed oldest name).
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("backups")), fs::directory_iterator()),
            3);
  auto list = backup_get_file_list(prefs);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].path, made[3]);
  EXPECT_EQ(list[2].path, made[1]);

  prefs.set("limit_total_backup", "0");
  backup_create_new(ctx, false);
  EXPECT_EQ(backup_get_file_list(prefs).size(), 4u);
}

TEST_F(Backups, AnEntryWhoseFileWasDeletedDisappearsAtTheNextBackup) {
  std::string gone = backup_create_new(ctx, false);
  fs::remove(gone);
  std::string kept = backup_create_new(ctx, false);
  auto list = backup_get_file_list(prefs);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, kept);
}

TEST_F(Backups, TheListTextIsReadPieceByPiece) {
  std::string file = dir.file("old.tlv");
  write_file(file, "x");
  struct timespec times[2] = {{1331820309, 0}, {1331820309, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  auto list = backup_list_from_string("\n/b/one.tlv*12*030f07dc0e0509\n\n" + file + "\n/c*x");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], (BackupEntry{"/b/one.tlv", 12, {3, 15, 2012, 14, 5, 9}}));
  EXPECT_EQ(list[1].count, 0);
  EXPECT_EQ(list[1].time, abbr_time_from_unix(1331820309));
  EXPECT_EQ(list[2].count, 0);  // "x" is not a number
  EXPECT_EQ(backup_list_to_string({list[0], {"/p", 3, {1, 2, 2003, 4, 5, 6}}}),
            "/b/one.tlv*12*030f07dc0e0509\n/p*3*010207d3040506");
}

TEST_F(Backups, AFailedBackupAsksToTryAgain) {
  write_file(dir.file("backups"), "a file where the folder should be");
  prompts.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(backup_create_new(ctx, false), "");
  ASSERT_EQ(prompts.count(RecordingPrompts::Box::YesNo), 2u);
  EXPECT_EQ(prompts.shown[0].text.rfind("Unable to save a backup copy of your abbreviations to ",
                                        0),
            0u);
  EXPECT_NE(prompts.shown[0].text.find("Would you like me to try again?"), std::string::npos);
}

TEST_F(Backups, RestoringChangesOnlyTheSandbox) {
  std::string backup = backup_create_new(ctx, false);
  Folder* main_top = library.main_list[0].get();
  library.sandbox[0]->abbreviations.clear();
  bool restored_called = false;
  ctx.sandbox_restored = [&] { restored_called = true; };

  ASSERT_TRUE(backup_restore_from_file(ctx, backup));
  EXPECT_TRUE(restored_called);
  EXPECT_EQ(library.sandbox[0]->name, "All Abbreviations / Folders");
  EXPECT_EQ(library.sandbox[0]->abbreviations.size(), 2u);
  EXPECT_EQ(library.main_list[0].get(), main_top);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text.rfind("Backup successfully restored.", 0), 0u);

  // A file whose root is some other folder ends up inside a new absolute parent.
  write_file(dir.file("set.tlv"), "<Tolvan n=\"Set\"><a a=\"s\"/></Tolvan>");
  ASSERT_TRUE(backup_restore_from_file(ctx, dir.file("set.tlv")));
  ASSERT_EQ(library.sandbox[0]->subfolders.size(), 1u);
  EXPECT_EQ(library.sandbox[0]->subfolders[0]->name, "Set");
}

TEST_F(Backups, AFailedRestoreCanBeRetriedAndOtherwiseChangesNothing) {
  write_file(dir.file("cut.tlv"), "<Tolvan><a a=");
  prompts.answers = {Answer::Yes, Answer::No};
  EXPECT_FALSE(backup_restore_from_file(ctx, dir.file("cut.tlv")));
  EXPECT_EQ(prompts.count(RecordingPrompts::Box::YesNo), 2u);
  EXPECT_EQ(prompts.shown[0].text.rfind("Unable to load backup file '" + dir.file("cut.tlv") +
                                            "': Malformed file at line 1",
                                        0),
            0u);
  EXPECT_EQ(library.sandbox[0]->abbreviations.size(), 2u);
}

TEST_F(Backups, MovingToANewFolderNeverReplacesAFile) {
  std::string a = backup_create_new(ctx, false);
  std::string b = backup_create_new(ctx, false);
  std::string target = dir.file("elsewhere/deeper");
  fs::create_directories(target);
  write_file(target + "/" + fs::path(b).filename().string(), "someone else's");

  backups_move_from_old_to_new_dir(ctx, target);
  auto list = backup_get_file_list(saved_prefs());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].path, target + "/" + fs::path(a).filename().string());
  EXPECT_TRUE(fs::exists(list[1].path));
  EXPECT_EQ(list[0].path, b);  // stayed where it was
  EXPECT_TRUE(fs::exists(b));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text.rfind("There was a problem moving some of your backup files", 0),
            0u);
}

TEST_F(Backups, DeletingAllEmptiesTheList) {
  std::string a = backup_create_new(ctx, false);
  std::string b = backup_create_new(ctx, false);
  fs::remove(a);  // already gone is no failure
  backup_delete_all(ctx);
  EXPECT_FALSE(fs::exists(b));
  EXPECT_TRUE(backup_get_file_list(saved_prefs()).empty());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST(BackupTime, TodayYesterdayOrTheDate) {
  AbbrTime today{4, 1, 2012, 9, 0, 0};
  AbbrTime t{4, 1, 2012, 0, 5, 9};
  EXPECT_EQ(abbr_time_to_backup_time_string(&t, today), "Today, 12:05:09 AM");
  t = {3, 31, 2012, 13, 5, 9};  // the last day of the previous month
  EXPECT_EQ(abbr_time_to_backup_time_string(&t, today), "3/31/2012 1:05:09 PM");
  today = {4, 2, 2012, 0, 0, 0};
  t = {4, 1, 2012, 12, 0, 0};
  EXPECT_EQ(abbr_time_to_backup_time_string(&t, today), "Yesterday, 12:00:00 PM");
  t = {4, 2, 2011, 12, 0, 0};
  EXPECT_EQ(abbr_time_to_backup_time_string(&t, today), "4/2/2011 12:00:00 PM");
}

}  // namespace
}  // namespace tolvan
