// OK's steps on the program's real objects (no display needed): switching own-format sync
// on and off moves the library between its default file and the shared folder, the
// preferences file is saved readable by its owner only, the start-at-login entry follows
// the box, and the Typo set is found among the top-level folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/paths.h"
#include "import/sync_questions.h"
#include "library/abbrev_writer.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "settings/prefs.h"
#include "support/backup_scene.h"
#include "support/recording_prompts.h"
#include "ui/preferences_steps.h"

namespace tolvan::ui {
namespace {

class FakeAutostart final : public Autostart {
 public:
  bool is_enabled() const override { return enabled; }
  Status enable(const std::string&, const std::string&) override {
    if (fail) return Error{"cannot"};
    enabled = true;
    return Status::success();
  }
  Status disable() override {
    enabled = false;
    return Status::success();
  }
  bool enabled = false;
  bool fail = false;
};

class PreferencesStepsTest : public ::testing::Test {
 protected:
  PreferencesStepsTest() {
    gvar.set("current_appdata_dir", scene.dir.path());
    gvar.set("executable_path", "/opt/tolvan/bin/tolvan");
    scene.save_library_with({"btw", "omw"});
  }

  bool ok(PrefsForm& form) { return prefs_ok(form, prefs, steps, prompts); }

  tolvan::testing::BackupScene scene;
  Settings& prefs = scene.prefs;
  RunTimeVariables& gvar = scene.gvar;
  tolvan::testing::RecordingPrompts prompts;
  PromptsSyncQuestions questions{prompts};
  SharedFolderSync sync{SyncContext{prefs, gvar, scene.library, prompts, questions, nullptr, {}, {}, nullptr}};
  FakeAutostart autostart;
  ProgramPreferencesSteps steps{ProgramPreferencesStepsDeps{
      prefs, gvar, scene.library, prompts, nullptr, sync, scene.context(prompts), autostart, nullptr, nullptr}};
};

TEST_F(PreferencesStepsTest, OwnSyncMovesTheLibraryIntoTheSharedFolderAndBack) {
  const std::string shared = scene.dir.file("Dropbox");
  PrefsForm form = prefs_form_from_prefs(prefs, false);
  form.use_sync = true;
  form.sync_folder = shared;
  ASSERT_TRUE(ok(form));
  const std::string sync_file = path_join(path_join(shared, "Tolvan"), "abbreviations.tlv");
  EXPECT_TRUE(isfile(sync_file));
  EXPECT_EQ(gvar.get("abbreviations_file"), sync_file);
  EXPECT_EQ(prefs.get("use_diff_abbrev_dir"), "1");

  struct stat info {};
  ASSERT_EQ(::stat(gvar.get("prefs_file").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // Back to the default file, which now holds the library.
  ::unlink(scene.dir.file("abbreviations.tlv").c_str());
  form.use_sync = false;
  ASSERT_TRUE(ok(form));
  EXPECT_TRUE(isfile(scene.dir.file("abbreviations.tlv")));
  EXPECT_EQ(gvar.get("abbreviations_file"), scene.dir.file("abbreviations.tlv"));
  EXPECT_EQ(prefs.get("use_diff_abbrev_dir"), "0");
}

// The names of the main list's abbreviations.
std::vector<std::string> main_names(const Library& library) {
  std::vector<std::string> names;
  for (const Abbreviation* a : abbr_get_all_folders_and_abbrevs_from_folder_list(library.main_list).abbreviations)
    names.push_back(a->abbreviations.front());
  return names;
}

TEST_F(PreferencesStepsTest, ASharedLibraryTheUserKeepsIsLoadedWhenOkEnds) {
  const std::string shared = scene.dir.file("Dropbox");
  const std::string sync_file = path_join(path_join(shared, "Tolvan"), "abbreviations.tlv");
  {
    Library other;
    Folder& top = abbr_ensure_absolute_parent(other.main_list, other.uids);
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &top, {});
    a->abbreviations = {"brb"};
    abbr_add_abbrev_to_folder(top, std::move(a));
    ASSERT_EQ(mkdir_p(parse_out_directory(sync_file)), 0);
    tolvan::testing::write_file(sync_file, abbr_folder_list_to_xml(other.main_list));
  }
  PrefsForm form = prefs_form_from_prefs(prefs, false);
  form.use_sync = true;
  form.sync_folder = shared;
  prompts.answers = {Answer::Yes};  // sync with it
  ASSERT_TRUE(ok(form));
  EXPECT_EQ(main_names(scene.library), std::vector<std::string>{"brb"});
  EXPECT_NE(tolvan::testing::read_file(sync_file).find("brb"), std::string::npos);

  // Cancelled, the same question leaves the library and the preferences as they were.
  const Settings before = prefs;
  form.sync_folder = scene.dir.file("Elsewhere");
  ASSERT_EQ(mkdir_p(path_join(form.sync_folder, "Tolvan")), 0);
  tolvan::testing::write_file(path_join(path_join(form.sync_folder, "Tolvan"), "abbreviations.tlv"),
                              tolvan::testing::read_file(scene.dir.file("abbreviations.tlv")));
  prompts.answers = {Answer::Cancel};
  EXPECT_FALSE(ok(form));
  EXPECT_EQ(prefs, before);
  EXPECT_EQ(main_names(scene.library), std::vector<std::string>{"brb"});
}

TEST_F(PreferencesStepsTest, UnwritableSharedFolderAsksAgainAndGivingUpStoresNothing) {
  const std::string blocker = scene.dir.file("not-a-folder");
  tolvan::testing::write_file(blocker, "x");
  const Settings before = prefs;
  PrefsForm form = prefs_form_from_prefs(prefs, false);
  form.use_sync = true;
  form.sync_folder = blocker;  // a file: no folder can be made inside it
  prompts.answers = {Answer::Yes, Answer::No};
  EXPECT_FALSE(ok(form));
  EXPECT_EQ(prompts.count(tolvan::testing::RecordingPrompts::Box::YesNo), 2u);
  EXPECT_EQ(prefs, before);
}

TEST_F(PreferencesStepsTest, StartAtLoginFollowsTheBoxAndAFailureIsSaid) {
  EXPECT_FALSE(steps.starts_at_login());
  steps.set_start_at_login(true);
  EXPECT_TRUE(autostart.enabled);
  steps.set_start_at_login(false);
  EXPECT_FALSE(autostart.enabled);
  autostart.fail = true;
  steps.set_start_at_login(true);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Could not add Tolvan to the programs started when you log in.");
}

TEST_F(PreferencesStepsTest, TypoSetIsATopLevelFolderOfThatNameInAnyCase) {
  EXPECT_FALSE(steps.has_typo_autocorrection_folder());
  Folder& root = *scene.library.main_list.front();
  Folder& sets = abbr_add_subfolder_to_folder(root, abbr_new_subfolder_of(scene.library.uids, &root, "Sets"));
  abbr_add_subfolder_to_folder(sets, abbr_new_subfolder_of(scene.library.uids, &sets, "Typo AutoCorrections"));
  EXPECT_FALSE(steps.has_typo_autocorrection_folder());  // inside another folder
  abbr_add_subfolder_to_folder(root, abbr_new_subfolder_of(scene.library.uids, &root, "typo autocorrections"));
  EXPECT_TRUE(steps.has_typo_autocorrection_folder());
}

}  // namespace
}  // namespace tolvan::ui
