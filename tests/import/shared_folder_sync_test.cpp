// Shared-folder sync between computers: two data folders share one temporary folder; in
// TextExpander-compatible mode the other computer is also played by a python3 script that
// edits TextExpander's settings file with plistlib, as TextExpander on a Mac would.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/paths.h"
#include "import/shared_folder_sync.h"
#include "import/te_change_hooks.h"
#include "import/te_dictionaries.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "library/main_list_file.h"
#include "support/recording_prompts.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

namespace fs = std::filesystem;
using testing::RecordingPrompts;

class ScriptedQuestions final : public SyncQuestions {
 public:
  // Runs while a question is open, as the program's timer does inside a dialog.
  std::function<void()> while_asking;
  bool sync_answer = true;
  ExistingSyncFile existing_answer = ExistingSyncFile::SyncWithIt;
  int asked_unsaved = 0;
  int asked_existing = 0;
  bool discard_unsaved_changes_and_sync() override {
    ++asked_unsaved;
    if (while_asking) while_asking();
    return sync_answer;
  }
  ExistingSyncFile existing_sync_file(bool) override {
    ++asked_existing;
    return existing_answer;
  }
};

class FakeWindow final : public SyncWindow {
 public:
  bool unapplied = false;
  int notices = 0;
  int resets = 0;
  bool syncing = false;
  bool has_unapplied_changes() const override { return unapplied; }
  void show_syncing(bool on) override {
    syncing = on;
    notices += on;
  }
  void reset_from_main_list() override {
    EXPECT_TRUE(syncing) << "the window is reset while the notice shows";
    ++resets;
  }
};

// One computer: its own data folder and preferences, sync on with the shared folder.
struct Computer {
  Computer(const std::string& shared, SyncMode mode) : hooks(TeExportOptions{}) {
    gvar.set("current_appdata_dir", dir.path());
    gvar.set("prefs_file", dir.file("prefs.lt"));
    prefs.set("auto_backup", "1");
    prefs.set("limit_total_backup", "0");
    prefs.set("backup_dir", dir.file("backups"));
    prefs.set("use_diff_abbrev_dir", "1");
    prefs.set_int("sync_te", mode == SyncMode::TextExpander ? 1 : 0);
    prefs.set("diff_abbrev_dir", shared);
    prefs.set("aldir", "0");
    prefs.set_int("textexpander_mode", mode == SyncMode::TextExpander ? 1 : 0);
    gvar_set_all_after_prefs_loaded(gvar, prefs);
    abbr_ensure_absolute_parent(library.main_list, library.uids);
    abbr_create_sandbox(library);
    if (mode == SyncMode::TextExpander) library.hooks = &hooks;
    sync = std::make_unique<SharedFolderSync>(
        SyncContext{prefs, gvar, library, prompts, questions, &window, nullptr, nullptr, nullptr});
  }

  // A new text abbreviation in the sandbox's folder `folder` (made when missing), as the
  // main window adds one.
  void add(const char* typed, const char* text, const char* folder_name = "Mine") {
    Folder& top = *abbr_get_absolute_parent_folder(library.sandbox);
    Folder* folder = nullptr;
    for (auto& sub : top.subfolders) {
      if (sub->name == folder_name) folder = sub.get();
    }
    if (!folder) folder = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, folder_name));
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, folder, {});
    a->abbreviations = {typed};
    a->expansion() = text;
    Abbreviation& added = abbr_add_abbrev_to_folder(*folder, std::move(a));
    if (library.hooks) library.hooks->abbrev_created(added);
    window.unapplied = true;
  }

  // The main window's Apply: the sync file first, then the main list and its file.
  bool apply() {
    if (sync->write_before_apply() == SyncWrite::Failed) return false;
    abbr_flush_sandbox_to_main(library);
    if (!abbr_save_library(library, gvar.get("abbreviations_file"), &prompts)) return false;
    sync->library_saved();
    window.unapplied = false;
    return true;
  }

  // The expansion of `typed` in the main list, or "(none)".
  std::string main_expansion(const std::string& typed) const {
    std::string found = "(none)";
    std::function<void(const Folder&)> walk = [&](const Folder& f) {
      for (const auto& a : f.abbreviations) {
        for (const auto& s : a->abbreviations) {
          if (s == typed && a->type() == ABBR_TYPE_TEXT) found = a->expansion();
        }
      }
      for (const auto& sub : f.subfolders) walk(*sub);
    };
    for (const auto& top : library.main_list) walk(*top);
    return found;
  }

  // What the saved library file holds for `typed`, loaded as at the next start.
  std::string saved_expansion(const std::string& typed) {
    Computer reader_side(*this);
    return reader_side.main_expansion(typed);
  }

  const std::string& te_file() const { return gvar.get("te_sync_file"); }
  const std::string& own_file() const { return gvar.get("nm_sync_file"); }

  testing::TempDir dir;
  Settings prefs;
  RunTimeVariables gvar;
  Library library;
  RecordingPrompts prompts;
  ScriptedQuestions questions;
  FakeWindow window;
  TeChangeHooks hooks;
  std::unique_ptr<SharedFolderSync> sync;

 private:
  // A reader of another computer's saved library file.
  explicit Computer(Computer& other) : hooks(TeExportOptions{}) {
    RecordingPrompts quiet;
    (void)abbr_load_main_list_from_file(library, other.gvar.get("abbreviations_file"), quiet);
  }
};

std::pair<int, std::string> peer(const std::string& args) {
  return testing::run_command("/usr/bin/python3 " +
                              testing::shell_quoted(std::string(TOLVAN_SOURCE_DIR) +
                                                    "/tests/import/te_sync_peer.py") +
                              " " + args);
}

void move_time_on(const std::string& path, int seconds) {
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
}

// The sync file vanishes (a poll then reads nothing) and comes back as it was, with the
// very time recorded for it: the next poll reads it.
void vanish_and_come_back(Computer& computer, const std::string& file) {
  const std::string contents = testing::read_file(file);
  const auto time = fs::last_write_time(file);
  fs::remove(file);
  EXPECT_FALSE(computer.sync->read_changes_if_necessary());
  testing::write_file(file, contents);
  fs::last_write_time(file, time);
  EXPECT_TRUE(computer.sync->read_changes_if_necessary());
}

TEST(SharedFolderSync, FilesLieInTheModesSubfolderOfTheSharedFolder) {
  Settings prefs;
  prefs.set("diff_abbrev_dir", "/box");
  prefs.set("aldir", "0");
  EXPECT_EQ(sync_file_path_from_prefs_dir(prefs, SyncMode::TextExpander, std::nullopt),
            "/box/TextExpander/Settings.textexpander");
  EXPECT_EQ(sync_file_path_from_prefs_dir(prefs, SyncMode::Own, std::nullopt),
            "/box/Tolvan/abbreviations.tlv");
  prefs.set("aldir", "1");
  EXPECT_EQ(sync_file_path_from_prefs_dir(prefs, SyncMode::Own, "/other"), "/other/abbreviations.tlv");
}

TEST(SharedFolderSync, TheChangeTestComparesToTheSecondAndSeesAFileComeBack) {
  testing::TempDir dir;
  Settings prefs;
  RunTimeVariables gvar;
  gvar.set("te_sync_file", dir.file("Settings.textexpander"));
  // No file: no change.
  EXPECT_FALSE(sync_file_changed_since(prefs, gvar, SyncMode::TextExpander));
  testing::write_file(dir.file("Settings.textexpander"), "x");
  // The file came after a poll found none.
  EXPECT_TRUE(sync_file_changed_since(prefs, gvar, SyncMode::TextExpander));
  sync_update_timestamp(prefs, SyncMode::TextExpander, dir.file("Settings.textexpander"));
  EXPECT_FALSE(sync_file_changed_since(prefs, gvar, SyncMode::TextExpander));
  // Rewritten within the same second: not seen.
  testing::write_file(dir.file("Settings.textexpander"), "y");
  fs::last_write_time(dir.file("Settings.textexpander"),
                      fs::last_write_time(dir.file("Settings.textexpander")));
  const AbbrTime recorded = abbr_time_str_to_abbrtime(prefs.get("te_sync_ts"));
  if (sync_file_time(dir.file("Settings.textexpander")) == recorded) {
    EXPECT_FALSE(sync_file_changed_since(prefs, gvar, SyncMode::TextExpander));
  }
  move_time_on(dir.file("Settings.textexpander"), 2);
  EXPECT_TRUE(sync_file_changed_since(prefs, gvar, SyncMode::TextExpander));
  sync_reset_timestamps(prefs);
  EXPECT_FALSE(prefs.does_exist("te_sync_ts"));
}

TEST(SharedFolderSync, TextExpanderSnippetsTravelBothWaysWithTheOtherSidesDataKept) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());
  ASSERT_TRUE(fs::exists(here.te_file()));
  EXPECT_TRUE(here.prompts.shown.empty());
  // Nothing changed since this computer's own write.
  EXPECT_FALSE(here.sync->read_changes_if_necessary());

  // A snippet added on the other computer appears after a poll and is saved.
  ASSERT_EQ(peer("add " + testing::shell_quoted(here.te_file()) + " addr '1 Main St'").first, 0);
  EXPECT_TRUE(here.sync->poll());
  EXPECT_EQ(here.main_expansion("addr"), "1 Main St");
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(here.saved_expansion("addr"), "1 Main St");
  EXPECT_EQ(here.window.notices, 1);
  EXPECT_EQ(here.window.resets, 1);
  EXPECT_FALSE(here.window.syncing);
  // The sandbox is the new main list.
  EXPECT_EQ(abbr_get_n_abbrevs_in_folder(*abbr_get_absolute_parent_folder(here.library.sandbox)),
            abbr_get_n_abbrevs_in_folder(*abbr_get_absolute_parent_folder(here.library.main_list)));
  // Read once only.
  EXPECT_FALSE(here.sync->read_changes_if_necessary());

  // A write here rewrites the file; plistlib reads it with the other side's data intact.
  here.add("tel", "555-0100");
  ASSERT_TRUE(here.apply());
  auto [status, dump] = peer("dump " + testing::shell_quoted(here.te_file()));
  ASSERT_EQ(status, 0) << dump;
  EXPECT_NE(dump.find("extra=from the other computer"), std::string::npos) << dump;
  EXPECT_NE(dump.find("addr\t1 Main St\tkept addr"), std::string::npos) << dump;
  EXPECT_NE(dump.find("sig\tBest, Ann\t"), std::string::npos) << dump;
  EXPECT_NE(dump.find("tel\t555-0100\t"), std::string::npos) << dump;

  // A second computer switching sync on with the file there takes it over.
  Computer there(shared.path(), SyncMode::TextExpander);
  there.questions.existing_answer = ExistingSyncFile::SyncWithIt;
  EXPECT_EQ(there.sync->te_sync_just_enabled(there.te_file()), SyncEnabling::SyncWithExisting);
  sync_reset_timestamps(there.prefs);
  EXPECT_TRUE(there.sync->read_changes_if_necessary());
  for (const char* typed : {"sig", "addr", "tel"}) {
    EXPECT_EQ(there.main_expansion(typed), here.main_expansion(typed)) << typed;
  }
}

TEST(SharedFolderSync, AChangeWhileEditsAreUnappliedAsksBacksUpAndReloadsOrKeeps) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());

  // Keep the edits: the file is not read, and the same change is not offered again.
  here.add("draft", "unapplied");
  here.questions.sync_answer = false;
  ASSERT_EQ(peer("add " + testing::shell_quoted(here.te_file()) + " one first").first, 0);
  EXPECT_FALSE(here.sync->read_changes_if_necessary());
  EXPECT_EQ(here.questions.asked_unsaved, 1);
  EXPECT_EQ(here.main_expansion("one"), "(none)");
  EXPECT_FALSE(here.sync->read_changes_if_necessary());
  EXPECT_EQ(here.questions.asked_unsaved, 1);
  EXPECT_EQ(here.prefs.get("backups"), "");
  // Applying them then overwrites the sync file.
  ASSERT_TRUE(here.apply());
  auto [status, dump] = peer("dump " + testing::shell_quoted(here.te_file()));
  ASSERT_EQ(status, 0) << dump;
  EXPECT_NE(dump.find("draft\tunapplied"), std::string::npos) << dump;

  // Sync: the unapplied edits are backed up first, then the file replaces them. The timer
  // firing while the question is open asks nothing more.
  here.add("lost", "not applied");
  here.questions.sync_answer = true;
  here.questions.while_asking = [&] { here.sync->poll(); };
  ASSERT_EQ(peer("add " + testing::shell_quoted(here.te_file()) + " two second").first, 0);
  EXPECT_TRUE(here.sync->poll());
  EXPECT_EQ(here.questions.asked_unsaved, 2);
  EXPECT_EQ(here.main_expansion("two"), "second");
  EXPECT_EQ(here.main_expansion("lost"), "(none)");
  bool backed_up = false;
  for (const auto& entry : fs::directory_iterator(here.prefs.get("backup_dir"))) {
    backed_up |= testing::read_file(entry.path().string()).find("not applied") != std::string::npos;
  }
  EXPECT_TRUE(backed_up);
}

TEST(SharedFolderSync, ADamagedTextExpanderFileNeverReplacesTheLibraryAndAVanishedOneComesBack) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());
  const std::string whole = testing::read_file(here.te_file());
  const std::string saved = testing::read_file(here.gvar.get("abbreviations_file"));

  ASSERT_EQ(peer("cut " + testing::shell_quoted(here.te_file())).first, 0);
  EXPECT_TRUE(here.sync->poll());
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(testing::read_file(here.gvar.get("abbreviations_file")), saved);
  ASSERT_GE(here.prompts.count(RecordingPrompts::Box::Error), 1u);
  EXPECT_NE(here.prompts.shown.back().text.find("TextExpander snippet sync (read) failed: "),
            std::string::npos);

  // An empty file (a write that has just begun) is no library either.
  testing::write_file(here.te_file(), "");
  move_time_on(here.te_file(), 4);
  here.prompts.shown.clear();
  here.sync->poll();
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(here.prompts.count(RecordingPrompts::Box::Error), 1u);

  // Bytes that are no property list at all, and a folder where the file should be.
  testing::write_file(here.te_file(), std::string("\x00\xff<plist><dict><key>", 21) + std::string(5000, '<'));
  move_time_on(here.te_file(), 5);
  here.sync->poll();
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  fs::remove(here.te_file());
  fs::create_directory(here.te_file());
  EXPECT_FALSE(here.sync->read_changes_if_necessary());
  fs::remove(here.te_file());
  EXPECT_EQ(testing::read_file(here.gvar.get("abbreviations_file")), saved);

  // The whole file again: read. Then it vanishes (nothing happens) and comes back with
  // the very time recorded for it: read again.
  testing::write_file(here.te_file(), whole);
  move_time_on(here.te_file(), 6);
  EXPECT_TRUE(here.sync->read_changes_if_necessary());
  vanish_and_come_back(here, here.te_file());
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
}

TEST(SharedFolderSync, AFailedWriteKeepsTheChangesPending) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  // The sync folder's place is taken by a file: nothing can be written there.
  testing::write_file(parse_out_directory(here.te_file()), "in the way");
  here.add("sig", "Best, Ann");
  EXPECT_FALSE(here.apply());
  EXPECT_EQ(here.main_expansion("sig"), "(none)");
  ASSERT_EQ(here.prompts.count(RecordingPrompts::Box::Error), 1u);
  EXPECT_EQ(here.prompts.shown[0].text.rfind("TextExpander export sync with Dropbox failed: ", 0), 0u);
}

TEST(SharedFolderSync, OwnFormatComputersShareTheAbbreviationFile) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::Own);
  Computer there(shared.path(), SyncMode::Own);
  ASSERT_EQ(here.gvar.get("abbreviations_file"), here.own_file());

  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());
  EXPECT_FALSE(here.sync->read_changes_if_necessary());  // its own write
  move_time_on(here.own_file(), 2);
  EXPECT_TRUE(there.sync->poll());
  EXPECT_EQ(there.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(there.window.resets, 1);

  // A half-written file: the library stays, the user is told, and the next save keeps
  // the damaged file aside before writing.
  const std::string whole = testing::read_file(here.own_file());
  testing::write_file(here.own_file(), whole.substr(0, whole.size() / 2));
  move_time_on(here.own_file(), 4);
  there.prompts.shown.clear();
  there.sync->poll();
  EXPECT_EQ(there.main_expansion("sig"), "Best, Ann");
  ASSERT_GE(there.prompts.count(RecordingPrompts::Box::Error), 1u);
  EXPECT_NE(there.prompts.shown.back().text.find("Abbreviation file sync (read) failed: "),
            std::string::npos);
  there.add("tel", "555-0100");
  ASSERT_TRUE(there.apply());
  bool kept_aside = false;
  for (const auto& entry : fs::directory_iterator(parse_out_directory(here.own_file()))) {
    if (entry.path().filename().string().find("_damaged_") != std::string::npos) {
      kept_aside = testing::read_file(entry.path().string()) == whole.substr(0, whole.size() / 2);
    }
  }
  EXPECT_TRUE(kept_aside);

  // Vanished and back with the recorded time: read again.
  move_time_on(here.own_file(), 2);
  EXPECT_TRUE(here.sync->read_changes_if_necessary());
  EXPECT_EQ(here.main_expansion("tel"), "555-0100");
  vanish_and_come_back(here, here.own_file());
  EXPECT_EQ(here.main_expansion("tel"), "555-0100");
}

TEST(SharedFolderSync, SwitchingSyncOnAsksAboutAnExistingFile) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());

  Computer there(shared.path(), SyncMode::TextExpander);
  there.add("own", "mine");
  abbr_flush_sandbox_to_main(there.library);
  there.questions.existing_answer = ExistingSyncFile::Cancel;
  EXPECT_EQ(there.sync->te_sync_just_enabled(there.te_file()), SyncEnabling::Cancelled);
  there.questions.existing_answer = ExistingSyncFile::Overwrite;
  EXPECT_EQ(there.sync->te_sync_just_enabled(there.te_file()), SyncEnabling::Done);
  EXPECT_EQ(there.questions.asked_existing, 2);
  // Overwritten with this computer's library; its folders are now TextExpander groups.
  const std::string text = testing::read_file(there.te_file());
  EXPECT_NE(text.find("mine"), std::string::npos);
  EXPECT_EQ(text.find("Best, Ann"), std::string::npos);
  for (const auto& sub : abbr_get_absolute_parent_folder(there.library.main_list)->subfolders) {
    EXPECT_EQ(sub->te_group, 1) << sub->name;
  }

  // Own format: the original is moved aside in the shared folder, under the backup name
  // other computers' Tolvan know, before it is replaced.
  testing::TempDir own_shared;
  Computer first(own_shared.path(), SyncMode::Own);
  first.add("a", "first");
  ASSERT_TRUE(first.apply());
  Computer second(own_shared.path(), SyncMode::Own);
  second.questions.existing_answer = ExistingSyncFile::Overwrite;
  second.add("b", "second");
  abbr_flush_sandbox_to_main(second.library);
  EXPECT_EQ(second.sync->own_sync_just_enabled(second.own_file()), SyncEnabling::Done);
  std::vector<std::string> aside;
  for (const auto& entry : fs::directory_iterator(parse_out_directory(second.own_file()))) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("abbreviations_backup0", 0) == 0) aside.push_back(entry.path().string());
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_NE(testing::read_file(aside[0]).find("first"), std::string::npos);
  EXPECT_NE(testing::read_file(second.own_file()).find("second"), std::string::npos);
}

TEST(SharedFolderSync, ThePollSwitchesTextExpanderModeOnAndIsIdleWhileDisabled) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.prefs.set_int("textexpander_mode", 0);
  Folder& top = *abbr_get_absolute_parent_folder(here.library.main_list);
  abbr_add_abbrev_to_folder(top, abbr_create_new_abbrev(ABBR_TYPE_TEXT, &top, {}));
  here.sync->set_temp_disabled(true);
  EXPECT_TRUE(here.sync->poll());
  EXPECT_EQ(here.prefs.get_int("textexpander_mode"), 0);
  here.sync->set_temp_disabled(false);
  EXPECT_TRUE(here.sync->poll());
  EXPECT_EQ(here.prefs.get_int("textexpander_mode"), 1);
  EXPECT_TRUE(top.abbreviations.empty());
  EXPECT_EQ(top.subfolders.back()->name, "(Uncategorized)");
}


TEST(SharedFolderSync, ChangedPreferencesRewriteTheFileOnceOnly) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());
  auto delimiters_in_file = [&] {
    auto [status, out] = testing::run_command(
        "/usr/bin/python3 -c 'import plistlib,sys; print(plistlib.load(open(sys.argv[1],\"rb\"))[\"Delimiters\"])' " +
        testing::shell_quoted(here.te_file()));
    EXPECT_EQ(status, 0) << out;
    return out;
  };
  here.prefs.set("delim_chars", " ;");
  here.sync->prefs_modified();
  EXPECT_EQ(delimiters_in_file(), " ;\n");
  const auto written = fs::last_write_time(here.te_file());
  fs::last_write_time(here.te_file(), written - std::chrono::seconds(10));
  here.sync->prefs_modified();
  EXPECT_EQ(fs::last_write_time(here.te_file()), written - std::chrono::seconds(10));
}

TEST(SharedFolderSync, AReadThatCannotBeSavedIsRetriedInALaterRunOnly) {
  testing::TempDir shared;
  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("sig", "Best, Ann");
  ASSERT_TRUE(here.apply());
  // The library file's place is taken by a folder: the read cannot be saved.
  fs::remove(here.gvar.get("abbreviations_file"));
  fs::create_directory(here.gvar.get("abbreviations_file"));
  ASSERT_EQ(peer("add " + testing::shell_quoted(here.te_file()) + " addr '1 Main St'").first, 0);
  EXPECT_TRUE(here.sync->read_changes_if_necessary());
  EXPECT_EQ(here.main_expansion("addr"), "1 Main St");
  EXPECT_TRUE(here.prefs.does_exist("rdfail"));
  EXPECT_FALSE(here.sync->read_changes_if_necessary());

  // The next run (fresh run-time flags) reads again and, now that it can save, clears it.
  fs::remove(here.gvar.get("abbreviations_file"));
  here.gvar.delete_key("rdfail_notthisrun");
  EXPECT_TRUE(here.sync->read_changes_if_necessary());
  EXPECT_FALSE(here.prefs.does_exist("rdfail"));
  EXPECT_EQ(here.saved_expansion("addr"), "1 Main St");
}

TEST(SharedFolderSync, AnUpgradedConfigurationMergesOnceKeepingItsOwnFolders) {
  testing::TempDir shared;
  Computer mac_side(shared.path(), SyncMode::TextExpander);
  mac_side.add("sig", "Best, Ann", "Mail");
  ASSERT_TRUE(mac_side.apply());

  Computer here(shared.path(), SyncMode::TextExpander);
  here.add("local", "mine", "Local");
  abbr_flush_sandbox_to_main(here.library);
  here.prefs.set("tesyncalready", "1");
  here.gvar.set_int("te_resync", 1);
  here.sync->read_te_at_start();
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(here.main_expansion("local"), "mine");
  EXPECT_FALSE(here.prefs.does_exist("tesyncalready"));
  EXPECT_EQ(here.gvar.get_int("te_resync"), 0);

  // From now on a read replaces the whole library with the file's.
  move_time_on(here.te_file(), 2);
  EXPECT_TRUE(here.sync->read_changes_if_necessary());
  EXPECT_EQ(here.main_expansion("sig"), "Best, Ann");
  EXPECT_EQ(here.main_expansion("local"), "(none)");
}

}  // namespace
}  // namespace tolvan
