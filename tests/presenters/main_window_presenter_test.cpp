// The main window without its toolkit: Apply, OK and Cancel in their order of steps against
// a real library in a temporary data folder, the folder sensitivities, the geometry rules
// and the folders remembered between starts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/lookups.h"
#include "presenters/library_window/main_window_presenter.h"
#include "support/backup_scene.h"
#include "support/recording_prompts.h"

namespace tolvan {
namespace {

using testing::RecordingPrompts;
using Box = RecordingPrompts::Box;
namespace fs = std::filesystem;

// The window, the program's other Apply steps and the engine, as one log of what happened.
struct Log {
  std::vector<std::string> steps;
  bool has(const std::string& step) const {
    return std::find(steps.begin(), steps.end(), step) != steps.end();
  }
};

struct RecordingView final : MainWindowView {
  explicit RecordingView(Log& log) : log(log) {}
  void show_apply_sensitive(bool sensitive) override {
    apply_sensitive = sensitive;
    log.steps.push_back(sensitive ? "apply sensitive" : "apply insensitive");
  }
  const Folder* selected_folder() const override { return selected; }
  void hide_to_tray() override { log.steps.push_back("hide"); }
  void rebuild_from_sandbox() override { log.steps.push_back("rebuild"); }
  void reselect_folder() override { log.steps.push_back("reselect"); }
  void clear_list_selection() override { log.steps.push_back("clear list selection"); }
  void scroll_views_to_top() override { log.steps.push_back("scroll to top"); }
  Log& log;
  bool apply_sensitive = false;
  const Folder* selected = nullptr;
};

struct RecordingSteps final : ApplySteps {
  explicit RecordingSteps(Log& log) : log(log) {}
  bool sync_before_apply() override {
    log.steps.push_back("sync");
    return sync_works;
  }
  void register_sandbox_folder_hotkeys() override { log.steps.push_back("folder hotkeys"); }
  void library_saved() override { log.steps.push_back("saved"); }
  Log& log;
  bool sync_works = true;
};

// The keyboard engine hearing that the main list was replaced.
struct EngineListener final : LibraryListener {
  explicit EngineListener(Log& log) : log(log) {}
  void main_list_changed() override { log.steps.push_back("engine told"); }
  Log& log;
};

std::vector<std::string> main_list_abbreviations(const Library& library) {
  std::vector<std::string> names;
  for (const auto& a : library.main_list.at(0)->abbreviations) names.push_back(a->abbreviations.at(0));
  return names;
}

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() {
    scene.save_library_with({"old"});
    library.add_listener(&engine);
  }
  ~MainWindow() override { library.remove_listener(&engine); }

  // An edit in the working copy, as the editor makes it.
  void edit_sandbox(const char* abbreviation) {
    library.sandbox.at(0)->abbreviations.at(0)->abbreviations = {abbreviation};
    presenter.mark_unapplied();
  }

  testing::BackupScene scene;
  Settings& prefs = scene.prefs;
  Library& library = scene.library;
  RecordingPrompts prompts;
  Log log;
  RecordingView view{log};
  RecordingSteps steps{log};
  EngineListener engine{log};
  MainWindowPresenter presenter{view, steps, scene.context(prompts)};
};

TEST_F(MainWindow, ApplyRunsItsStepsInOrderAndTheEngineHearsTheNewList) {
  edit_sandbox("new");
  EXPECT_TRUE(view.apply_sensitive);
  log.steps.clear();

  ASSERT_TRUE(presenter.apply());

  EXPECT_EQ(log.steps, (std::vector<std::string>{"sync", "folder hotkeys", "engine told",
                                                 "saved", "apply insensitive"}));
  EXPECT_EQ(main_list_abbreviations(library), std::vector<std::string>{"new"});
  EXPECT_NE(testing::read_file(scene.gvar.get("abbreviations_file")).find("new"),
            std::string::npos);
  EXPECT_EQ(backup_get_file_list(prefs).size(), 1u);  // a backup of what was saved
  EXPECT_FALSE(presenter.has_unapplied_changes());
}

TEST_F(MainWindow, ApplyStopsBeforeFlushingWhenTheSyncStepSaysSo) {
  edit_sandbox("new");
  steps.sync_works = false;
  EXPECT_FALSE(presenter.apply());
  EXPECT_EQ(main_list_abbreviations(library), std::vector<std::string>{"old"});
  EXPECT_FALSE(log.has("folder hotkeys"));
  EXPECT_TRUE(view.apply_sensitive);
  EXPECT_TRUE(backup_get_file_list(prefs).empty());
}

TEST_F(MainWindow, AFailedSaveShowsTheErrorKeepsApplySensitiveAndTheWorkingCopy) {
  // A file stands where its folder would have to be.
  scene.gvar.set("abbreviations_file", scene.gvar.get("abbreviations_file") + "/abbreviations.tlv");
  edit_sandbox("new");
  EXPECT_FALSE(presenter.apply_changes());
  ASSERT_EQ(prompts.count(Box::Error), 1u);
  EXPECT_EQ(prompts.shown.at(0).text.rfind("Unable to save abbreviations to file '", 0), 0u);
  EXPECT_TRUE(view.apply_sensitive);
  EXPECT_TRUE(presenter.has_unapplied_changes());
  EXPECT_FALSE(log.has("saved"));
  EXPECT_EQ(library.sandbox.at(0)->abbreviations.at(0)->abbreviations.at(0), "new");
  EXPECT_TRUE(backup_get_file_list(prefs).empty());
}

TEST_F(MainWindow, OkAppliesOnlyWhenThereIsSomethingToApplyAndHides) {
  presenter.ok();
  EXPECT_EQ(log.steps, (std::vector<std::string>{"hide", "clear list selection"}));
  log.steps.clear();
  edit_sandbox("new");
  presenter.ok();
  EXPECT_TRUE(log.has("sync"));
  EXPECT_EQ(log.steps.back(), "clear list selection");
  EXPECT_EQ(main_list_abbreviations(library), std::vector<std::string>{"new"});
}

TEST_F(MainWindow, CancelWithoutChangesNeverAsks) {
  presenter.cancel();
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(log.steps, (std::vector<std::string>{"hide", "reselect", "scroll to top"}));
}

TEST_F(MainWindow, CancelAsksUntilTheBoxIsTickedAndThenNeverAgain) {
  edit_sandbox("new");
  prompts.answers = {Answer::No};
  presenter.cancel();  // No: back to the window, nothing lost
  EXPECT_EQ(prompts.shown.at(0).text, kDiscardChangesQuestion);
  EXPECT_FALSE(log.has("hide"));
  EXPECT_TRUE(view.apply_sensitive);
  EXPECT_EQ(prefs.get("dont_ask_cancel"), "0");

  prompts.answers = {Answer::Yes};
  prompts.check_box = true;
  presenter.cancel();  // Yes, and do not ask again: the working copy is rebuilt
  EXPECT_EQ(prompts.count(Box::AskAgain), 2u);
  EXPECT_EQ(prefs.get("dont_ask_cancel"), "1");
  EXPECT_TRUE(log.has("rebuild"));
  EXPECT_FALSE(view.apply_sensitive);
  EXPECT_EQ(library.sandbox.at(0)->abbreviations.at(0)->abbreviations.at(0), "old");

  edit_sandbox("again");
  presenter.cancel();
  EXPECT_EQ(prompts.count(Box::AskAgain), 2u);
  EXPECT_EQ(library.sandbox.at(0)->abbreviations.at(0)->abbreviations.at(0), "old");
}

TEST(MainWindowRules, FolderSelectionSensitivities) {
  EXPECT_EQ(folder_sensitivities(0, false), (FolderSensitivities{false, false}));
  // The All row: nothing to delete, but new abbreviations may be made in it.
  EXPECT_EQ(folder_sensitivities(1, true), (FolderSensitivities{false, true}));
  EXPECT_EQ(folder_sensitivities(1, false), (FolderSensitivities{true, true}));
  EXPECT_EQ(folder_sensitivities(2, true), (FolderSensitivities{true, true}));
}

TEST(MainWindowRules, TitleSaysWhenTolvanRunsPortable) {
  EXPECT_EQ(MainWindowPresenter::title(false), "Tolvan");
  EXPECT_EQ(MainWindowPresenter::title(true), "Tolvan (Portable Mode)");
}

TEST_F(MainWindow, GeometryIsKeptOnlyForAVisibleUnmaximisedPlace) {
  presenter.window_configured({10, 20, 800, 600}, 1920, 1080, false);
  EXPECT_EQ(prefs.get("win_x") + "," + prefs.get("win_y") + "," + prefs.get("win_width") + "," +
                prefs.get("win_height"),
            "10,20,800,600");
  presenter.window_configured({-900, 20, 800, 600}, 1920, 1080, false);  // off the left edge
  presenter.window_configured({10, -700, 800, 600}, 1920, 1080, false);  // off the top edge
  presenter.window_configured({2000, 20, 800, 600}, 1920, 1080, false);  // beyond the right
  presenter.window_configured({0, 0, 1920, 1080}, 1920, 1080, true);     // maximised
  EXPECT_EQ(prefs.get("win_x") + "," + prefs.get("win_y"), "10,20");
  presenter.window_maximized(true);
  presenter.window_configured({30, 40, 500, 400}, 1920, 1080, false);
  EXPECT_EQ(prefs.get("win_x"), "10");
  presenter.window_maximized(false);
  presenter.window_configured({-100, 40, 500, 400}, 1920, 1080, false);  // partly visible
  EXPECT_EQ(prefs.get("win_x"), "-100");

  InitialGeometry g = presenter.initial_geometry();
  EXPECT_EQ(g.position, (std::pair{-100, 40}));
  EXPECT_EQ(g.size, (std::pair{500, 400}));
  EXPECT_FALSE(g.maximized);
}

TEST_F(MainWindow, AFirstStartHasNoGeometryAndNoPanePositions) {
  InitialGeometry g = presenter.initial_geometry();
  EXPECT_FALSE(g.position);
  EXPECT_FALSE(g.size);
  EXPECT_FALSE(presenter.pane_position(Pane::Folders));
  prefs.set("win_width", "0");
  prefs.set("win_height", "500");
  EXPECT_FALSE(presenter.initial_geometry().size);
  presenter.pane_moved(Pane::Folders, 250);
  presenter.pane_moved(Pane::Abbreviations, -1);
  EXPECT_EQ(presenter.pane_position(Pane::Folders), 250);
  EXPECT_EQ(prefs.get("f_pos"), "250");
  EXPECT_FALSE(presenter.pane_position(Pane::Abbreviations));
}

// A library of the absolute parent (uid 0), "A" (1) with "A1" (2), and "B" (3).
class RememberedFolders : public MainWindow {
 protected:
  RememberedFolders() {
    Folder& top = *library.sandbox.at(0);
    a = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "A"));
    a1 = &abbr_add_subfolder_to_folder(*a, abbr_new_subfolder_of(library.uids, a, "A1"));
    b = &abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "B"));
  }
  Folder* a;
  Folder* a1;
  Folder* b;
};

TEST_F(RememberedFolders, PositionsAreCountedDepthFirst) {
  presenter.remember_expanded_folders({library.sandbox.at(0).get(), a, b});
  EXPECT_EQ(prefs.get("expanded_folders"), "0,1,3,");
  view.selected = a1;
  presenter.send_to_tray();
  EXPECT_EQ(prefs.get("last_sel_folder"), "2");
  view.selected = nullptr;
  presenter.send_to_tray();
  EXPECT_EQ(prefs.get("last_sel_folder"), "none");
}

TEST_F(RememberedFolders, TheSelectionIsRestoredOnlyWhenTheUserWantsIt) {
  prefs.set("expanded_folders", "0,3,x,");
  prefs.set("last_sel_folder", "2");
  FolderRestore restore = presenter.folders_to_restore();
  EXPECT_EQ(restore.expanded, (std::vector<uint32_t>{0, 3}));
  EXPECT_EQ(restore.select, FolderRestore::Select::FirstRow);

  prefs.set("remember_sel_folder", "1");
  restore = presenter.folders_to_restore();
  EXPECT_EQ(restore.select, FolderRestore::Select::Folder);
  EXPECT_EQ(restore.folder_uid, 2u);

  prefs.set("last_sel_folder", "none");
  EXPECT_EQ(presenter.folders_to_restore().select, FolderRestore::Select::Nothing);
}

TEST_F(RememberedFolders, TheStarterSetIsSelectedOnceAfterItWasInstalled) {
  prefs.set("lddex", "1");
  FolderRestore restore = presenter.folders_to_restore();
  EXPECT_EQ(restore.select, FolderRestore::Select::Folder);
  EXPECT_EQ(restore.folder_uid, 1u);
  EXPECT_EQ(prefs.get("lddex"), "0");
  EXPECT_EQ(presenter.folders_to_restore().select, FolderRestore::Select::FirstRow);
}

TEST_F(MainWindow, FolderSortIsKept) {
  EXPECT_FALSE(presenter.folders_sorted_descending());
  presenter.remember_folder_sort(true);
  EXPECT_EQ(prefs.get("f_sc"), "f");
  EXPECT_TRUE(presenter.folders_sorted_descending());
  presenter.remember_folder_sort(false);
  EXPECT_EQ(prefs.get("f_so"), "asc");
}

}  // namespace
}  // namespace tolvan
