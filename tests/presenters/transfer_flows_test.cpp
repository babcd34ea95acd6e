// The main window's imports and exports without windows: which questions come in which
// order, what each answer does to the sandbox and the preferences, what the window is told,
// and the boxes of every failure. TextExpander files are real ones of the corpus.
#include <gtest/gtest.h>

#include <filesystem>

#include "import/native_import_export.h"
#include "import/te_import.h"
#include "import/te_mode.h"
#include "library/folder_tree.h"
#include "library/lookups.h"
#include "presenters/library_window/export_flows.h"
#include "presenters/library_window/import_flows.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"
#include "support/transfer_doubles.h"

namespace tolvan {
namespace {

using testing::RecordingPrompts;
using Box = RecordingPrompts::Box;
namespace fs = std::filesystem;

const AbbrTime kNow{1, 2, 2024, 10, 0, 0};

std::string corpus(const char* name) {
  return (fs::path(TOLVAN_CORPORA_DIR) / "textexpander" / name).string();
}
// A settings file: groups "Sample Snippets" (11 snippets) and "Evernote" (1), a snippet no
// group lists, TextExpander's preferences with "Auditory Feedback" true.
const std::string kSettingsFile = corpus("bachya__ExpandSync__res__Settings.textexpander");
// A group file: the group "CSS" with two snippets.
const std::string kGroupFile = corpus("ccharlton__TextExpander-Packs__CSS.textexpander");

Folder& add_folder(Library& library, Folder& parent, const char* name) {
  return abbr_add_subfolder_to_folder(parent, abbr_new_subfolder_of(library.uids, &parent, name));
}

void add_abbrev(Folder& folder, const char* abbreviation, const char* text) {
  auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &folder, {});
  a->abbreviations = {abbreviation};
  a->expansion() = text;
  abbr_add_abbrev_to_folder(folder, std::move(a));
}

class TransferFlows : public ::testing::Test {
 protected:
  TransferFlows() {
    // The library: "Old" with "btw"; applied, so the sandbox is its copy.
    Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
    add_abbrev(add_folder(library, top, "Old"), "btw", "by the way");
    abbr_create_sandbox(library);
  }

  Folder& sandbox_top() { return *abbr_get_absolute_parent_folder(library.sandbox); }
  std::vector<std::string> sandbox_folders() {
    std::vector<std::string> names;
    for (const auto& f : sandbox_top().subfolders) names.push_back(f->name);
    return names;
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& s : prompts.shown) out.push_back(s.text);
    return out;
  }
  ImportMode ask_mode(bool textexpander) {
    modes_asked.push_back(textexpander);
    ImportMode answer = mode_answers.empty() ? ImportMode::Cancel : mode_answers.front();
    if (!mode_answers.empty()) mode_answers.pop_front();
    return answer;
  }
  // Whole library exported to a file: "Work" (with "Letters" inside) and "Home".
  std::string exported_library(bool whole) {
    Library other;
    Folder& top = abbr_ensure_absolute_parent(other.main_list, other.uids);
    Folder& work = add_folder(other, top, "Work");
    add_abbrev(add_folder(other, work, "Letters"), "sig", "Regards");
    add_abbrev(add_folder(other, top, "Home"), "addr", "1 Main St");
    const std::string path = dir.file(whole ? "library.tlv" : "work.tlv");
    EXPECT_TRUE(export_abbrevs_to_file(whole ? top : work, path, false));
    return path;
  }

  testing::TempDir dir;
  Library library;
  Settings prefs;
  RunTimeVariables gvar;
  RecordingPrompts prompts;
  testing::QueuedFileDialogs dialogs;
  testing::CountingPendingChanges pending;
  testing::LoggingImportTarget target;
  testing::ImmediateRunner runner;
  std::deque<ImportMode> mode_answers;
  std::vector<bool> modes_asked;
  TransferContext ctx{{library, prefs, gvar, prompts, dialogs, pending, target},
                      runner,
                      [this](bool te) { return ask_mode(te); },
                      [] { return kNow; }};
};

// ---------------------------------------------------------------- TextExpander import

TEST_F(TransferFlows, TeImportWithoutAFileAsksForOneAndACancelledDialogChangesNothing) {
  EXPECT_EQ(import_te_snippets(ctx, std::nullopt), TeImportResult::Imported);
  ASSERT_EQ(dialogs.open_requests.size(), 1u);
  EXPECT_EQ(dialogs.open_requests[0].filters.at(0).patterns.at(0), "*.textexpander");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_TRUE(runner.titles.empty());
  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
}

TEST_F(TransferFlows, TheFirstSettingsImportSwitchesTheModeTakesThePreferencesAndNeverAsksTheMode) {
  dialogs.open_answers = {kSettingsFile};
  prompts.answers = {Answer::Yes, Answer::Yes};  // TextExpander mode, preferences
  EXPECT_EQ(import_te_snippets(ctx, std::nullopt), TeImportResult::Imported);

  EXPECT_EQ(texts(), (std::vector<std::string>{kSwitchToTeModeQuestion,
                                               kImportTePreferencesQuestion,
                                               "Successfully imported 13 snippets from 2 groups."}));
  EXPECT_TRUE(modes_asked.empty());
  EXPECT_TRUE(prefs.does_exist("imptebef"));
  EXPECT_EQ(prefs.get_int("textexpander_mode"), 1);
  EXPECT_EQ(prefs.get_int("play_sound"), 1);  // "Auditory Feedback" true
  EXPECT_EQ(gvar.get_int("expabs"), 1);
  ASSERT_TRUE(sandbox_top().te_general.has_value());  // TextExpander's own keys kept
  // Appended beside what was there; in TextExpander mode the snippet no group lists goes
  // into a folder. The window was told of the mode, then of each folder.
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Old", "Sample Snippets", "Evernote",
                                                         kUncategorizedFolderName}));
  EXPECT_EQ(target.log, (std::vector<std::string>{"te mode", "folder Sample Snippets",
                                                  "folder Evernote"}));
  // The worker's stages reached the progress window's text, in order.
  EXPECT_EQ(runner.titles, std::vector<std::string>{kTeImportTitle});
  EXPECT_EQ(runner.said, (std::vector<std::string>{
                             te_import_stage_text(TeImportStage::Loading),
                             te_import_stage_text(TeImportStage::Loading),
                             te_import_stage_text(TeImportStage::Verifying),
                             te_import_stage_text(TeImportStage::Importing),
                             te_import_stage_text(TeImportStage::Done)}));
}

TEST_F(TransferFlows, ALaterSettingsImportAsksTheModeInTextExpandersWordingAndReplaceEmptiesTheSandbox) {
  prefs.set_int("imptebef", 1);
  prefs.set_int("textexpander_mode", 1);
  prefs.set_int("play_sound", 0);
  mode_answers = {ImportMode::Replace};
  prompts.answers = {Answer::No};  // no preferences
  EXPECT_EQ(import_te_snippets(ctx, kSettingsFile), TeImportResult::Imported);

  EXPECT_EQ(modes_asked, std::vector<bool>{true});
  EXPECT_TRUE(dialogs.open_requests.empty());
  EXPECT_EQ(texts(), (std::vector<std::string>{kImportTePreferencesQuestion,
                                               "Successfully imported 13 snippets from 2 groups."}));
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Sample Snippets", "Evernote",
                                                         kUncategorizedFolderName}));
  EXPECT_EQ(target.log.at(0), "replaced");
  EXPECT_EQ(prefs.get_int("play_sound"), 0);
  EXPECT_FALSE(sandbox_top().te_general.has_value());  // the declined preferences stay behind
  // The main list is only changed by Apply.
  EXPECT_EQ(abbr_get_absolute_parent_folder(library.main_list)->subfolders.at(0)->name, "Old");
}

TEST_F(TransferFlows, AnythingButReplaceAppendsBecauseTextExpandersQuestionCannotBeCancelled) {
  prefs.set_int("imptebef", 1);
  prompts.answers = {Answer::No};  // stay out of TextExpander mode: no preferences question
  mode_answers = {ImportMode::Cancel};
  EXPECT_EQ(import_te_snippets(ctx, kSettingsFile), TeImportResult::Imported);
  EXPECT_EQ(texts(), (std::vector<std::string>{kSwitchToTeModeQuestion,
                                               "Successfully imported 13 snippets from 2 groups."}));
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Old", "Sample Snippets", "Evernote"}));
  EXPECT_EQ(sandbox_top().abbreviations.size(), 1u);  // the snippet no group lists
  EXPECT_EQ(prefs.get_int("textexpander_mode"), 0);
}

TEST_F(TransferFlows, AGroupFileIsAppendedWithoutTheModeOrThePreferencesQuestion) {
  prefs.set_int("imptebef", 1);
  prefs.set_int("textexpander_mode", 1);
  EXPECT_EQ(import_te_snippets(ctx, kGroupFile), TeImportResult::Imported);
  EXPECT_TRUE(modes_asked.empty());
  EXPECT_EQ(texts(), std::vector<std::string>{"Successfully imported 2 snippets from 1 group."});
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Old", "CSS"}));
  EXPECT_EQ(target.log, std::vector<std::string>{"folder CSS"});
}

TEST_F(TransferFlows, SwitchingTheModeOnReshapesBothListsBeforeTheImport) {
  // A nested folder and a loose abbreviation, which TextExpander's groups cannot hold.
  for (ListIndex index : {MAIN_LIST, SANDBOX}) {
    Folder& top = *abbr_get_absolute_parent_folder(library.list(index));
    add_folder(library, *top.subfolders.at(0), "Nested");
    add_abbrev(top, "loose", "loose text");
  }
  prompts.answers = {Answer::Yes, Answer::No};
  import_te_snippets(ctx, kGroupFile);
  for (ListIndex index : {MAIN_LIST, SANDBOX}) {
    const Folder& top = *abbr_get_absolute_parent_folder(library.list(index));
    EXPECT_TRUE(top.abbreviations.empty());
    for (const auto& folder : top.subfolders) EXPECT_TRUE(folder->subfolders.empty()) << folder->name;
  }
  EXPECT_EQ(target.log.at(0), "te mode");
}

TEST_F(TransferFlows, TeImportFailuresLeaveTheSandboxAndSayWhy) {
  // Missing: told at once, without the mode question.
  const std::string missing = dir.file("gone.textexpander");
  EXPECT_EQ(import_te_snippets(ctx, missing), TeImportResult::Missing);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].box, Box::Error);
  EXPECT_TRUE(prompts.shown[0].text.starts_with("Unable to open TextExpander snippet file " + missing +
                                                " for reading: "));
  // Empty: the no-snippets message.
  prompts.shown.clear();
  const std::string empty = dir.file("empty.textexpander");
  testing::write_file(empty, "");
  EXPECT_EQ(import_te_snippets(ctx, empty), TeImportResult::Empty);
  EXPECT_EQ(texts(), (std::vector<std::string>{kSwitchToTeModeQuestion, kTeNoSnippetsMessage}));
  // Not a property list: the reader's reason inside the import's message.
  prompts.shown.clear();
  const std::string broken = dir.file("broken.textexpander");
  testing::write_file(broken, "<?xml version=\"1.0\"?><plist><dict><key>x</key>");
  EXPECT_EQ(import_te_snippets(ctx, broken), TeImportResult::Failed);
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].box, Box::Error);
  EXPECT_TRUE(prompts.shown[1].text.starts_with("Error importing TextExpander snippet file " +
                                                broken + ": "));
  EXPECT_NE(prompts.shown[1].text.find(kTeSupportAddress), std::string::npos);

  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
  EXPECT_TRUE(target.log.empty());
  EXPECT_FALSE(gvar.does_exist("expabs"));
}

// ---------------------------------------------------------------- Tolvan files

TEST_F(TransferFlows, AWholeLibraryAsksTheModeAndCancelLeavesTheSandbox) {
  dialogs.open_answers = {exported_library(true)};
  EXPECT_FALSE(import_abbrevs(ctx, std::nullopt));
  EXPECT_EQ(dialogs.open_requests.at(0).filters.at(0).name, "Tolvan Abbreviation Files");
  EXPECT_EQ(modes_asked, std::vector<bool>{false});
  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
  EXPECT_TRUE(target.log.empty());
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(TransferFlows, ReplaceMakesTheFilesLibraryTheSandboxAndAppendAddsItBesideTheOld) {
  const std::string file = exported_library(true);
  mode_answers = {ImportMode::Append, ImportMode::Replace};
  EXPECT_TRUE(import_abbrevs(ctx, file));
  ASSERT_EQ(sandbox_folders().size(), 2u);
  EXPECT_EQ(sandbox_folders().at(0), "Old");
  EXPECT_EQ(target.log.size(), 1u);

  target.log.clear();
  EXPECT_TRUE(import_abbrevs(ctx, file));
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Work", "Home"}));
  EXPECT_EQ(target.log.at(0), "replaced");
  EXPECT_EQ(target.log.size(), 2u);
}

TEST_F(TransferFlows, AFolderFileIsAppendedWithoutAskingAndFlattenedInTextExpanderMode) {
  prefs.set_int("textexpander_mode", 1);
  EXPECT_TRUE(import_abbrevs(ctx, exported_library(false)));
  EXPECT_TRUE(modes_asked.empty());
  const Folder& top = sandbox_top();
  for (const auto& folder : top.subfolders) EXPECT_TRUE(folder->subfolders.empty()) << folder->name;
  EXPECT_EQ(top.subfolders.size(), 3u);  // Old, Work and Letters beside it
  EXPECT_EQ(target.log.size(), 1u);
}

TEST_F(TransferFlows, AFileThatDoesNotLoadIsReported) {
  const std::string bad = dir.file("bad.tlv");
  testing::write_file(bad, "not a library");
  EXPECT_FALSE(import_abbrevs(ctx, bad));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].box, Box::Error);
  EXPECT_EQ(prompts.shown[0].text, "Error attempting to load the abbreviations from the selected file.");
  EXPECT_TRUE(modes_asked.empty());
}

TEST_F(TransferFlows, IncludedSetsJoinTheSandboxUnderTheirMenuActions) {
  EXPECT_EQ(included_set_of_action("ImportTypo"), "Typo AutoCorrections");
  EXPECT_EQ(included_set_of_action("ImportTidBITS"), "TidBITSAutoCorrect");
  EXPECT_EQ(included_set_of_action("ImportMT"), "Medical Transcription");
  EXPECT_EQ(included_set_of_action("ImportExamples"), "Examples");
  EXPECT_EQ(included_set_of_action("Import"), "");

  gvar.set("installation_dir", dir.path());
  fs::create_directory(dir.file("sets"));
  fs::copy_file(exported_library(false), dir.file("sets/Examples.tlv"));
  EXPECT_TRUE(import_included_set(ctx, "Examples"));
  EXPECT_EQ(target.log, std::vector<std::string>{"folder Work"});
  EXPECT_FALSE(import_included_set(ctx, "Medical Transcription"));
  EXPECT_EQ(prompts.count(Box::Error), 1u);
}

// ---------------------------------------------------------------- exports

TEST_F(TransferFlows, ExportOffersToApplyFirstAndSuggestsTheLibrarysName) {
  pending.unapplied = true;
  prompts.answers = {Answer::Yes};
  const std::string path = dir.file("mine.tlv");
  dialogs.save_answers = {path};
  EXPECT_TRUE(export_abbrevs(ctx, nullptr, false));
  EXPECT_EQ(pending.applied, 1);
  ASSERT_EQ(dialogs.save_requests.size(), 1u);
  const SaveFileRequest& request = dialogs.save_requests[0];
  EXPECT_EQ(request.title, "Export abbreviations to...");
  EXPECT_EQ(request.initial_path, "My Abbreviations.tlv");
  EXPECT_EQ(request.default_extension, "tlv");
  EXPECT_EQ(request.filters.at(0).name, "Tolvan Abbreviation Files");
  EXPECT_EQ(texts(), (std::vector<std::string>{kSaveBeforeExportQuestion,
                                               "Successfully exported abbreviations to '" + path + "'."}));
  // What was written is a whole library that imports back.
  mode_answers = {ImportMode::Replace};
  EXPECT_TRUE(import_abbrevs(ctx, path));
  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
}

TEST_F(TransferFlows, AFolderExportsToHtmlUnderItsNameAndDecliningToApplyStillExports) {
  pending.unapplied = true;
  prompts.answers = {Answer::No};
  const std::string path = dir.file("old.html");
  dialogs.save_answers = {path};
  EXPECT_TRUE(export_abbrevs(ctx, sandbox_top().subfolders.at(0).get(), true));
  EXPECT_EQ(pending.applied, 0);
  EXPECT_EQ(dialogs.save_requests.at(0).initial_path, "Old.html");
  EXPECT_EQ(dialogs.save_requests.at(0).filters.at(0).name, "HTML Files");
  EXPECT_NE(testing::read_file(path).find("by the way"), std::string::npos);
}

TEST_F(TransferFlows, ACancelledOrFailedExportWritesNothingAndSaysSoOnlyOnFailure) {
  EXPECT_FALSE(export_abbrevs(ctx, nullptr, false));  // cancelled: no question, no box
  EXPECT_TRUE(prompts.shown.empty());
  const std::string nowhere = dir.file("no/such/folder/x.tlv");
  dialogs.save_answers = {nowhere};
  EXPECT_FALSE(export_abbrevs(ctx, nullptr, false));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].box, Box::Error);
  EXPECT_TRUE(prompts.shown[0].text.starts_with("Error exporting abbreviations to temporary file"));
}

TEST_F(TransferFlows, TheWholeLibraryExportsAsASettingsFileOnTheWorker) {
  pending.unapplied = true;
  prompts.answers = {Answer::Yes};
  const std::string path = dir.file("Settings.textexpander");
  dialogs.save_answers = {path};
  EXPECT_TRUE(export_te_snippets(ctx, nullptr));
  EXPECT_EQ(pending.applied, 1);
  const SaveFileRequest& request = dialogs.save_requests.at(0);
  EXPECT_EQ(request.title, "Export snippets to...");
  EXPECT_EQ(request.initial_path, "Settings.textexpander");
  EXPECT_EQ(request.filters.at(0).name, "TextExpander Snippet Files");
  EXPECT_EQ(runner.titles, std::vector<std::string>{kTeExportTitle});
  EXPECT_EQ(texts().back(), "Successfully exported abbreviations to '" + path + "'.");
  // It imports back as a settings file: the mode question comes.
  prefs.set_int("imptebef", 1);
  prefs.set_int("textexpander_mode", 1);
  mode_answers = {ImportMode::Replace};
  prompts.answers = {Answer::No};
  EXPECT_EQ(import_te_snippets(ctx, path), TeImportResult::Imported);
  EXPECT_EQ(modes_asked, std::vector<bool>{true});
  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
}

TEST_F(TransferFlows, AFolderExportsAsAGroupFileWithoutOfferingToApply) {
  pending.unapplied = true;
  dialogs.save_answers = {std::nullopt, std::nullopt};
  EXPECT_FALSE(export_te_snippets(ctx, sandbox_top().subfolders.at(0).get()));
  EXPECT_FALSE(export_te_snippets(ctx, &sandbox_top()));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(dialogs.save_requests.at(0).initial_path, "Old.textexpander");
  EXPECT_EQ(dialogs.save_requests.at(1).initial_path, "My Tolvan Abbreviations.textexpander");
  EXPECT_TRUE(runner.titles.empty());

  const std::string nowhere = dir.file("missing/Old.textexpander");
  dialogs.save_answers = {nowhere};
  EXPECT_FALSE(export_te_snippets(ctx, sandbox_top().subfolders.at(0).get()));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(prompts.shown[0].text.starts_with("Error exporting snippet file to temporary file '" +
                                                nowhere + "': "));
}

}  // namespace
}  // namespace tolvan
