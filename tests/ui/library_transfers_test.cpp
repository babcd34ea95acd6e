// The import-mode dialog in both wordings, and the main window's transfers with the real
// dialogs: a TextExpander file of the corpus imported on the worker thread with its boxes
// answered as a user would, and an export that python3's plistlib reads back.
#include <gtkmm/button.h>

#include <filesystem>

#include "gtk_test_support.h"
#include "library/folder_tree.h"
#include "presenters/library_window/import_flows.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "support/transfer_doubles.h"
#include "ui/library_window/import_mode_dialog.h"
#include "ui/library_window/library_transfers.h"
#include "ui/message_boxes.h"
#include "ui/progress_window.h"

namespace tolvan::ui {
namespace {

using testing::BoxAnswers;
namespace fs = std::filesystem;

using ModeDialogWatcher = testing::WindowWatcher<ImportModeDialog>;
using testing::shows;

TEST(ImportModeDialog, AbbreviationWordingReplaceFirstAppendOrCancel) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window owner;
  ModeDialogWatcher watcher([&](ImportModeDialog& dialog) {
    EXPECT_EQ(dialog.get_title(), "Select Import Mode");
    EXPECT_EQ(dialog.get_transient_for(), &owner);
    EXPECT_EQ(dialog.get_border_width(), 7u);
    EXPECT_TRUE(dialog.get_deletable());
    EXPECT_TRUE(dialog.replace_button().get_active());
    EXPECT_FALSE(dialog.replace_button().get_can_focus());
    EXPECT_EQ(dialog.replace_button().get_label(),
              "_Replace: Remove all existing abbreviations and replace them with the ones being imported.");
    EXPECT_TRUE(shows(dialog, "Recommended if you'd like to use the imported abbreviations alongside "
                              "your existing abbreviations."));
    EXPECT_NE(dialog.get_widget_for_response(Gtk::RESPONSE_CANCEL), nullptr);
    if (watcher.seen() == 1) {
      dialog.append_button().clicked();
      dialog.response(Gtk::RESPONSE_OK);
    } else {
      dialog.response(Gtk::RESPONSE_CANCEL);
    }
  });
  EXPECT_EQ(ask_import_mode(&owner, false), ImportMode::Append);
  EXPECT_EQ(ask_import_mode(&owner, false), ImportMode::Cancel);
}

TEST(ImportModeDialog, TextExpanderWordingHasOnlyOkAndCannotBeClosed) {
  TOLVAN_NEED_DISPLAY();
  int closes = 0;
  ModeDialogWatcher watcher([&](ImportModeDialog& dialog) {
    EXPECT_FALSE(dialog.get_deletable());
    EXPECT_EQ(dialog.get_widget_for_response(Gtk::RESPONSE_CANCEL), nullptr);
    EXPECT_EQ(dialog.append_button().get_label(),
              "_Append: Append the imported snippets to your existing snippets.");
    EXPECT_TRUE(shows(dialog, "Recommended if you are restoring a backup, or if you are importing "
                              "all of your snippets from TextExpander and would like everything "
                              "to be exactly the same in Tolvan as it was in TextExpander."));
    // Escape (a close) first: the dialog stays; then OK.
    dialog.response(Gtk::RESPONSE_DELETE_EVENT);
    Glib::signal_timeout().connect_once(
        [&dialog, &closes] {
          closes += dialog.get_visible();
          dialog.response(Gtk::RESPONSE_OK);
        },
        50);
  });
  EXPECT_EQ(ask_import_mode(nullptr, true), ImportMode::Replace);
  EXPECT_EQ(closes, 1) << "still open after the close";
}

TEST(ProgressWorkRunner, QuickWorkShowsNoWindowLongWorkShowsItsLatestText) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window owner;
  ProgressWorkRunner runner;
  runner.set_parent(&owner);
  bool ran = false;
  runner.run("Title", "first", [&](const WorkRunner::Say& say) {
    say("second");
    ran = true;
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(runner.windows_shown(), 0);

  // Long work: the window comes, titled, over its parent, with what the work said last.
  // The look is taken from the main loop, which the window's pulses keep turning.
  std::string seen_title, seen_text;
  const Gtk::Window* seen_parent = nullptr;
  sigc::connection look = Glib::signal_timeout().connect(
      [&] {
        for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
          if (auto* progress = dynamic_cast<ProgressWindow*>(window); progress && progress->get_mapped()) {
            seen_title = progress->get_title();
            seen_text = progress->bar().get_text();
            seen_parent = progress->get_transient_for();
          }
        }
        return true;
      },
      20);
  runner.run("Importing TextExpander Snippets...", "Loading", [&](const WorkRunner::Say& say) {
    g_usleep(150 * 1000);
    say("Verifying");
    g_usleep(600 * 1000);  // ample time for several polls with the window shown
  });
  look.disconnect();
  EXPECT_EQ(runner.windows_shown(), 1);
  EXPECT_EQ(seen_title, "Importing TextExpander Snippets...");
  EXPECT_EQ(seen_text, "Verifying");
  EXPECT_EQ(seen_parent, &owner);
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    EXPECT_EQ(dynamic_cast<ProgressWindow*>(window), nullptr) << "the window went with the work";
  }
}

class LibraryTransfersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TOLVAN_NEED_DISPLAY();
    owner = std::make_unique<Gtk::Window>();
    Folder& top = abbr_ensure_absolute_parent(library.main_list, library.uids);
    Folder& old = abbr_add_subfolder_to_folder(top, abbr_new_subfolder_of(library.uids, &top, "Old"));
    auto a = abbr_create_new_abbrev(ABBR_TYPE_TEXT, &old, {});
    a->abbreviations = {"btw"};
    a->expansion() = "by the way";
    abbr_add_abbrev_to_folder(old, std::move(a));
    abbr_create_sandbox(library);
    boxes = std::make_unique<MessageBoxes>();
    boxes->set_parent(owner.get());
    transfers = std::make_unique<LibraryTransfers>(
        LibraryTransfersContext{library, prefs, gvar, *boxes, dialogs, pending, target}, owner.get());
  }

  std::vector<std::string> sandbox_folders() {
    std::vector<std::string> names;
    for (const auto& f : abbr_get_absolute_parent_folder(library.sandbox)->subfolders) names.push_back(f->name);
    return names;
  }

  const std::string settings_file =
      (fs::path(TOLVAN_CORPORA_DIR) / "textexpander" / "bachya__ExpandSync__res__Settings.textexpander")
          .string();
  tolvan::testing::TempDir dir;
  Library library;
  Settings prefs;
  RunTimeVariables gvar;
  std::unique_ptr<Gtk::Window> owner;  // made once GTK runs
  std::unique_ptr<MessageBoxes> boxes;
  tolvan::testing::QueuedFileDialogs dialogs;
  tolvan::testing::CountingPendingChanges pending;
  tolvan::testing::LoggingImportTarget target;
  std::unique_ptr<LibraryTransfers> transfers;
};

TEST_F(LibraryTransfersTest, ACorpusSettingsFileComesInOnTheWorkerWithItsQuestionsAnswered) {
  dialogs.open_answers = {settings_file};
  BoxAnswers answers({Response::Yes, Response::Yes, Response::Ok});
  EXPECT_EQ(transfers->import_te_snippets(std::nullopt), TeImportResult::Imported);
  EXPECT_EQ(answers.texts, (std::vector<std::string>{kSwitchToTeModeQuestion,
                                                     kImportTePreferencesQuestion,
                                                     "Successfully imported 13 snippets from 2 groups."}));
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Old", "Sample Snippets", "Evernote", "(Uncategorized)"}));
  EXPECT_EQ(prefs.get_int("textexpander_mode"), 1);
  EXPECT_FALSE(transfers->busy());

  // The second import asks the mode in TextExpander's wording; Replace leaves only the file's.
  ModeDialogWatcher watcher([](ImportModeDialog& dialog) {
    EXPECT_TRUE(dialog.textexpander_wording());
    dialog.response(Gtk::RESPONSE_OK);
  });
  BoxAnswers more({Response::No, Response::Ok});
  EXPECT_EQ(transfers->import_te_snippets(settings_file), TeImportResult::Imported);
  EXPECT_EQ(watcher.seen(), 1);
  EXPECT_EQ(sandbox_folders(), (std::vector<std::string>{"Sample Snippets", "Evernote", "(Uncategorized)"}));
  EXPECT_EQ(target.log.at(3), "replaced");
}

TEST_F(LibraryTransfersTest, TheLibraryExportedAsASettingsFileIsReadByPlistlib) {
  const std::string path = dir.file("Settings.textexpander");
  dialogs.save_answers = {path};
  BoxAnswers answers({Response::Ok});
  EXPECT_TRUE(transfers->export_te_snippets(nullptr));
  EXPECT_EQ(answers.texts, std::vector<std::string>{"Successfully exported abbreviations to '" + path + "'."});
  auto [status, output] = tolvan::testing::run_command(
      "/usr/bin/python3 -c 'import plistlib,sys; d=plistlib.load(open(sys.argv[1],\"rb\")); "
      "print([g[\"name\"] for g in d[\"groupsTE2\"]], [s[\"abbreviation\"] for s in d[\"snippetsTE2\"]])' " +
      tolvan::testing::shell_quoted(path));
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output, "['Old'] ['btw']\n");
}

TEST_F(LibraryTransfersTest, AnOwnFilesModeQuestionIsTheDialogAndCancelKeepsTheSandbox) {
  const std::string path = dir.file("all.tlv");
  dialogs.save_answers = {path};
  BoxAnswers answers({Response::Ok});
  ASSERT_TRUE(transfers->export_abbrevs(nullptr, false));
  ModeDialogWatcher watcher([](ImportModeDialog& dialog) {
    EXPECT_FALSE(dialog.textexpander_wording());
    dialog.response(Gtk::RESPONSE_CANCEL);
  });
  EXPECT_FALSE(transfers->import_abbrevs(path));
  EXPECT_EQ(watcher.seen(), 1);
  EXPECT_EQ(sandbox_folders(), std::vector<std::string>{"Old"});
}

}  // namespace
}  // namespace tolvan::ui
