#include "settings/prefs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using testing::read_file;
using testing::TempDir;
using testing::write_file;

RunTimeVariables gvar_for(const std::string& data_dir) {
  RunTimeVariables gvar;
  gvar.set("current_appdata_dir", data_dir);
  gvar.set("prefs_file", data_dir + "/prefs.lt");
  return gvar;
}

Settings load(RunTimeVariables& gvar) {
  Settings prefs;
  (void)prefs_load(prefs, gvar);
  return prefs;
}

TEST(Prefs, FirstStartSavesExactlyTheDefaultsInOrder) {
  TempDir dir;
  RunTimeVariables gvar = gvar_for(dir.path());
  Settings prefs;
  Status loaded = prefs_load(prefs, gvar);
  EXPECT_EQ(loaded.error(), "Unable to open setting file for reading.");
  ASSERT_TRUE(prefs_save(prefs, gvar).ok());
  const std::string expected =
      "\"trigger_hotkey\"=\"17\"\r\n"
      "\"delim_chars\"=\",.?!()<>[]{}:;\\\"/\\\\-' \r\n\t\"\r\n"
      "\"uc_check\"=\"1\"\r\n"
      "\"uc_check_days\"=\"7\"\r\n"
      "\"launchpad_hotkey\"=\"17 32\"\r\n"
      "\"launchpad_enable\"=\"1\"\r\n"
      "\"norm_view\"=\"1\"\r\n"
      "\"contfol_col\"=\"1\"\r\n"
      "\"remember_sel_folder\"=\"1\"\r\n"
      "\"auto_backup\"=\"1\"\r\n"
      "\"limit_total_backup\"=\"1\"\r\n"
      "\"backup_max_count\"=\"10\"\r\n"
      "\"backup_dir\"=\"" + dir.path() + "/backups\"\r\n"
      "\"show_bottom_buttons\"=\"0\"\r\n"
      "\"output_method\"=\"0\"\r\n"
      "\"clipboard_more_than_chars\"=\"3500\"\r\n"
      "\"terminal_classes\"=\"" + std::string(kDefaultTerminalClasses) + "\"\r\n"
      "\"primary_paste_classes\"=\"" + std::string(kDefaultPrimaryPasteClasses) + "\"\r\n"
      "\"lazy_input_classes\"=\"" + std::string(kDefaultLazyInputClasses) + "\"\r\n"
      "\"3\"=\"1\"\r\n"
      "\"win_height\"=\"577\"\r\n"
      "\"v\"=\"3.15\"\r\n";
  EXPECT_EQ(read_file(dir.file("prefs.lt")), expected);
  // Only its owner may read it: it holds the proxy password.
  struct stat info {};
  ASSERT_EQ(::stat(dir.file("prefs.lt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(gvar.get("backup_srsly"), "1");
  EXPECT_FALSE(gvar.does_exist("te_resync"));

  // A second start reads the same list back and changes nothing.
  RunTimeVariables again = gvar_for(dir.path());
  Settings reloaded;
  EXPECT_TRUE(prefs_load(reloaded, again).ok());
  EXPECT_EQ(reloaded, prefs);
  EXPECT_FALSE(again.does_exist("backup_srsly"));
}

TEST(Prefs, InvalidFileIsReplacedByDefaultsWithoutLosingTheLoad) {
  TempDir dir;
  write_file(dir.file("prefs.lt"), "\"a\"=\"1\" \"b\"=\"2\"\r\n");
  RunTimeVariables gvar = gvar_for(dir.path());
  Settings prefs;
  Status loaded = prefs_load(prefs, gvar);
  EXPECT_EQ(loaded.error(), "Invalid setting file.");
  EXPECT_FALSE(prefs.does_exist("a"));
  EXPECT_EQ(prefs.get("show_bottom_buttons"), "0");  // treated as a first start
  EXPECT_EQ(prefs.get("trigger_hotkey"), "17");
}

TEST(Prefs, ExistingValuesAreKeptAndOnlyMissingOnesFilled) {
  TempDir dir;
  write_file(dir.file("prefs.lt"),
             "\"trigger_hotkey\"=\"\"\r\n\"adv_view\"=\"1\"\r\n\"uc_check\"=\"0\"\r\n"
             "\"backup_dir\"=\"/elsewhere\"\r\n\"win_width\"=\"754\"\r\n\"win_height\"=\"700\"\r\n");
  RunTimeVariables gvar = gvar_for(dir.path());
  Settings prefs = load(gvar);
  EXPECT_EQ(prefs.get("trigger_hotkey"), "17");  // present but empty
  EXPECT_EQ(prefs.get("adv_view"), "1");
  EXPECT_FALSE(prefs.does_exist("norm_view"));  // the advanced view stays
  EXPECT_EQ(prefs.get("uc_check"), "0");
  EXPECT_EQ(prefs.get("backup_dir"), "/elsewhere");
  EXPECT_EQ(prefs.get("show_bottom_buttons"), "1");  // the file held entries
  EXPECT_EQ(prefs.get("win_width"), "754");
  EXPECT_EQ(prefs.get("win_height"), "700");
  EXPECT_FALSE(prefs.does_exist("v"));
}

TEST(Prefs, WindowSizeUpgrade) {
  Settings prefs;
  prefs.set("win_width", "753");
  prefs.set("win_height", "600");
  prefs_do_backwards_compat(prefs);
  EXPECT_EQ(prefs.get("win_width"), "796");
  EXPECT_EQ(prefs.get("win_height"), "600");
  EXPECT_EQ(prefs.get("v"), "3.15");

  Settings upgraded;
  upgraded.set("v", "3.15");
  upgraded.set("win_width", "753");
  upgraded.set("win_height", "100");
  prefs_do_backwards_compat(upgraded);
  EXPECT_EQ(upgraded.get("win_width"), "753");
  EXPECT_EQ(upgraded.get("win_height"), "100");
}

TEST(Prefs, OldSharedFolderFileGainsSyncKeysAndLibraryInTheSharedFolder) {
  RunTimeVariables gvar = gvar_for("/home/u/.config/tolvan");
  Settings prefs;
  prefs.set("use_diff_abbrev_dir", "1");
  prefs.set("diff_abbrev_dir", "/home/u/Dropbox");
  prefs_set_defaults(prefs, gvar);
  EXPECT_EQ(prefs.get("sync_norm"), "1");
  EXPECT_EQ(prefs.get("sync_te"), "0");
  EXPECT_EQ(prefs.get("aldir"), "1");
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  EXPECT_EQ(gvar.get("abbreviations_dir"), "/home/u/Dropbox/");
  EXPECT_EQ(gvar.get("abbreviations_file"), "/home/u/Dropbox/abbreviations.tlv");
  EXPECT_EQ(gvar.get("nm_sync_file"), "/home/u/Dropbox/abbreviations.tlv");
}

TEST(Prefs, TextExpanderSyncTurnsOnTextExpanderModeAndResyncsOldFilesOnce) {
  RunTimeVariables gvar = gvar_for("/d");
  Settings prefs;
  prefs.set("use_diff_abbrev_dir", "1");
  prefs.set("sync_te", "1");
  prefs_set_defaults(prefs, gvar);
  EXPECT_EQ(prefs.get("textexpander_mode"), "1");
  EXPECT_EQ(prefs.get("tesyncalready"), "1");
  EXPECT_EQ(gvar.get("te_resync"), "1");
  EXPECT_FALSE(prefs.does_exist("aldir"));

  RunTimeVariables later = gvar_for("/d");
  Settings current = prefs;
  current.delete_key("tesyncalready");
  prefs_set_defaults(current, later);  // the "3" marker is there now
  EXPECT_FALSE(current.does_exist("tesyncalready"));
  EXPECT_FALSE(later.does_exist("te_resync"));
}

TEST(Prefs, FileLocationsFollowTheSyncMode) {
  RunTimeVariables gvar = gvar_for("/cfg");
  Settings prefs;
  prefs.set("diff_abbrev_dir", "/box");
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  EXPECT_EQ(gvar.get("abbreviations_file"), "/cfg/abbreviations.tlv");  // sync off
  EXPECT_EQ(gvar.get("te_sync_file"), "/box/TextExpander/Settings.textexpander");
  EXPECT_EQ(gvar.get("nm_sync_file"), "/box/Tolvan/abbreviations.tlv");

  prefs.set("use_diff_abbrev_dir", "1");
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  EXPECT_EQ(gvar.get("abbreviations_dir"), "/box/Tolvan");
  EXPECT_EQ(gvar.get("abbreviations_file"), "/box/Tolvan/abbreviations.tlv");

  prefs.set("sync_te", "1");  // TextExpander-compatible sync keeps the library local
  gvar_restore_default_abbrev_file_paths(gvar, prefs);
  EXPECT_EQ(gvar.get("abbreviations_file"), "/cfg/abbreviations.tlv");

  EXPECT_EQ(prefs_get_correct_diff_dir(prefs, "/other", true), "/other/TextExpander");
  EXPECT_EQ(gvar_get_abbrev_file_from_dir(gvar, "/x"), "/x/abbreviations.tlv");
  EXPECT_EQ(gvar_get_abbrev_file_from_dir(gvar), "/cfg/abbreviations.tlv");
}

TEST(Prefs, DefaultCaseModeForLaunchersAndTexts) {
  Settings prefs;
  EXPECT_EQ(prefs_get_default_case_mode(prefs, 0), 2);
  EXPECT_EQ(prefs.get("default_case_mode"), "2");  // stored on first use
  EXPECT_EQ(prefs_get_default_case_mode(prefs, 1), 1);
  EXPECT_EQ(prefs_get_default_case_mode(prefs, 2), 1);
  prefs.set("default_case_mode", "0");
  EXPECT_EQ(prefs_get_default_case_mode(prefs, 1), 0);
  prefs.set("default_case_mode", "3");
  EXPECT_EQ(prefs_get_default_case_mode(prefs, 1), 1);
  EXPECT_EQ(prefs.get("default_case_mode"), "2");  // out of range is replaced
}

TEST(Prefs, DefaultTriggerMode) {
  Settings prefs;
  EXPECT_EQ(prefs_get_default_trigger_mode(prefs), 3);
  EXPECT_EQ(prefs.get("default_trigger_mode"), "3");
  prefs.set("default_trigger_mode", "5");
  EXPECT_EQ(prefs_get_default_trigger_mode(prefs), 5);
  prefs.set("default_trigger_mode", "2");
  EXPECT_EQ(prefs_get_default_trigger_mode(prefs), 3);
  EXPECT_EQ(prefs.get("default_trigger_mode"), "3");
}

TEST(Prefs, PortableBackupFolderIsStoredWithoutTheMountPoint) {
  RunTimeVariables gvar = gvar_for("/media/usb/Tolvan/data");
  gvar.set("portable_mode", "1");
  gvar.set("portable_drive", "/media/usb");
  Settings prefs;
  prefs_set_defaults(prefs, gvar);
  EXPECT_EQ(prefs.get("backup_dir"), "/Tolvan/data/backups");
}

}  // namespace
}  // namespace tolvan
