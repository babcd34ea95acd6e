// The Backup Manager without a window: its rows, the Restore button's sensitivity and the
// restore flow's questions, in order, against real backups in a temporary data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "presenters/backup_manager_presenter.h"
#include "support/backup_scene.h"
#include "support/recording_prompts.h"

namespace tolvan {
namespace {

using testing::RecordingPrompts;
using Box = RecordingPrompts::Box;
namespace fs = std::filesystem;

struct RecordingView final : BackupManagerView {
  void show_rows(const std::vector<BackupRow>& shown) override {
    rows = shown;
    restore_sensitive = false;
  }
  void set_restore_sensitive(bool sensitive) override { restore_sensitive = sensitive; }
  void hide_manager() override { ++hides; }
  std::vector<BackupRow> rows;
  bool restore_sensitive = true;
  int hides = 0;
};

// The main window's Apply: what it would report, and whether applying works.
struct FakePendingChanges final : PendingChanges {
  bool has_unapplied_changes() const override { return unapplied; }
  bool apply_changes() override {
    ++applied;
    return apply_works;
  }
  bool unapplied = false;
  bool apply_works = true;
  int applied = 0;
};

constexpr AbbrTime kToday{4, 1, 2024, 15, 0, 0};

std::vector<std::string> sandbox_abbreviations(const Library& library) {
  std::vector<std::string> names;
  for (const auto& a : library.sandbox.at(0)->abbreviations) names.push_back(a->abbreviations.at(0));
  std::sort(names.begin(), names.end());
  return names;
}

class BackupManager : public ::testing::Test {
 protected:
  BackupManager() {
    scene.save_library_with({"a", "b"});
    backed_up = backup_create_new(ctx, false);
    // The user has since changed the library: only "c" is left.
    scene.save_library_with({"c"});
    presenter.refresh();
  }

  size_t backups() const { return backup_get_file_list(prefs).size(); }

  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& s : prompts.shown) out.push_back(s.text);
    return out;
  }

  testing::BackupScene scene;
  Settings& prefs = scene.prefs;
  RunTimeVariables& gvar = scene.gvar;
  Library& library = scene.library;
  RecordingPrompts prompts;
  BackupContext ctx = scene.context(prompts);
  std::string backed_up;
  RecordingView view;
  FakePendingChanges pending;
  BackupManagerPresenter presenter{view, ctx, pending, [] { return kToday; }};
};

const std::string kRestored =
    "Backup successfully restored. Make sure you click the Apply button to apply the changes "
    "(or Cancel to cancel them).";

TEST_F(BackupManager, RowsSayWhenEachBackupWasMadeNewestFirstAndRestoreNeedsASelection) {
  prefs.set("backups",
            "/b/new.tlv*12*040107e80f0509\n"   // today 15:05:09
            "/b/mid.tlv*3*031f07e8000000\n"      // 31 March: the previous month, so a date
            "/b/old.tlv*0*0b0207db0c1e00");      // 2 November 2011, half past noon
  presenter.refresh();
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[0], (BackupRow{"Today, 3:05:09 PM", "/b/new.tlv", 12}));
  EXPECT_EQ(view.rows[1], (BackupRow{"3/31/2024 12:00:00 AM", "/b/mid.tlv", 3}));
  EXPECT_EQ(view.rows[2], (BackupRow{"11/2/2011 12:30:00 PM", "/b/old.tlv", 0}));
  EXPECT_FALSE(view.restore_sensitive);

  presenter.select(1);
  EXPECT_TRUE(view.restore_sensitive);
  presenter.select(std::nullopt);
  EXPECT_FALSE(view.restore_sensitive);
  presenter.select(3);  // a row that is no longer there
  EXPECT_FALSE(view.restore_sensitive);

  presenter.select(0);
  presenter.refresh();  // the list is refilled: nothing is selected any more
  EXPECT_FALSE(view.restore_sensitive);
  presenter.restore_selected();
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(BackupManager, YesBacksUpTheCurrentLibraryThenRestoresIntoTheWorkingCopyOnly) {
  ASSERT_EQ(view.rows.size(), 1u);
  presenter.select(0);
  prompts.answers = {Answer::Yes};
  presenter.restore_selected();

  EXPECT_EQ(texts(), (std::vector<std::string>{kBackupBeforeRestoreQuestion, kRestored}));
  EXPECT_EQ(prompts.shown[0].box, Box::YesNo);
  EXPECT_EQ(prompts.shown[1].box, Box::Info);
  auto list = backup_get_file_list(prefs);
  ASSERT_EQ(list.size(), 2u) << "the current library was backed up first";
  EXPECT_EQ(testing::read_file(list[0].path), testing::read_file(gvar.get("abbreviations_file")));
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(library.main_list.at(0)->abbreviations.size(), 1u) << "the main list waits for Apply";
  EXPECT_EQ(view.hides, 1);
  EXPECT_EQ(view.rows.size(), 2u) << "the new backup shows in the list";
}

TEST_F(BackupManager, NoRestoresWithoutABackup) {
  presenter.select(0);
  prompts.answers = {Answer::No};
  presenter.restore_selected();
  EXPECT_EQ(texts(), (std::vector<std::string>{kBackupBeforeRestoreQuestion, kRestored}));
  EXPECT_EQ(backups(), 1u);
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(view.hides, 1);
}

TEST_F(BackupManager, WithoutALibraryFileThereIsNothingToBackUpAndNoQuestion) {
  fs::remove(gvar.get("abbreviations_file"));
  presenter.select(0);
  presenter.restore_selected();
  EXPECT_EQ(texts(), (std::vector<std::string>{kRestored}));
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"a", "b"}));
}

TEST_F(BackupManager, UnappliedChangesTheUserKeepsAreAppliedInsteadOfBackingUpTheOldFile) {
  pending.unapplied = true;
  presenter.select(0);
  prompts.answers = {Answer::Yes, Answer::Yes};
  presenter.restore_selected();
  EXPECT_EQ(texts(), (std::vector<std::string>{kBackupBeforeRestoreQuestion,
                                               kSaveBeforeBackupQuestion, kRestored}));
  EXPECT_EQ(pending.applied, 1);
  EXPECT_EQ(backups(), 1u) << "applying makes the backup; the manager makes none of its own";
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"a", "b"}));
}

TEST_F(BackupManager, UnappliedChangesTheUserDropsLeaveABackupOfTheSavedFile) {
  pending.unapplied = true;
  presenter.select(0);
  prompts.answers = {Answer::Yes, Answer::No};
  presenter.restore_selected();
  EXPECT_EQ(pending.applied, 0);
  EXPECT_EQ(backups(), 2u);
  EXPECT_EQ(view.hides, 1);
}

TEST_F(BackupManager, WhenApplyingFailsNothingIsBackedUpOrRestored) {
  pending.unapplied = true;
  pending.apply_works = false;
  presenter.select(0);
  prompts.answers = {Answer::Yes, Answer::Yes};
  presenter.restore_selected();
  EXPECT_EQ(texts(), (std::vector<std::string>{kBackupBeforeRestoreQuestion,
                                               kSaveBeforeBackupQuestion,
                                               kSaveBeforeRestoreFailed}));
  EXPECT_EQ(prompts.shown.back().box, Box::Error);
  EXPECT_EQ(backups(), 1u);
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"c"}));
  EXPECT_EQ(view.hides, 0);
}

TEST_F(BackupManager, ABackupThatCannotBeReadLeavesEverythingAsItWas) {
  fs::remove(backed_up);
  presenter.select(0);
  prompts.answers = {Answer::No, Answer::No};  // no backup first; no second try
  presenter.restore_selected();
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].box, Box::YesNo);
  EXPECT_NE(prompts.shown[1].text.find("Unable to load backup file '" + backed_up + "'"),
            std::string::npos);
  EXPECT_EQ(sandbox_abbreviations(library), (std::vector<std::string>{"c"}));
  EXPECT_EQ(view.hides, 0);
}

}  // namespace
}  // namespace tolvan
