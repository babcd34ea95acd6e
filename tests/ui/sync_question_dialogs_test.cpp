// The questions of shared-folder sync as the user meets them: their wording, the option
// selected at first, and what each way of answering (an option and OK, Cancel, closing)
// means for the sync.
#include "ui/sync_question_dialogs.h"

#include "gtk_test_support.h"

namespace tolvan::ui {
namespace {

using QuestionWatcher = testing::WindowWatcher<ChoiceDialog>;
using testing::shows;

// How a test answers one question: the option it selects first (none: the one selected at
// first stays) and the dialog's response.
struct Answer {
  std::optional<std::size_t> select;
  int response;
};

TEST(ExistingSyncFileQuestion, SyncWithItFirstOverwriteSecondCancelOrCloseCancels) {
  TOLVAN_NEED_DISPLAY();
  Gtk::Window owner;
  DialogSyncQuestions questions([&] { return &owner; });
  std::vector<Answer> answers{{std::nullopt, Gtk::RESPONSE_OK},
                              {1, Gtk::RESPONSE_OK},
                              {1, Gtk::RESPONSE_CANCEL},
                              {0, Gtk::RESPONSE_DELETE_EVENT}};
  std::size_t next = 0;
  QuestionWatcher watcher([&](ChoiceDialog& dialog) {
    EXPECT_EQ(dialog.get_title(), "Existing sync file found in Dropbox folder.");
    EXPECT_EQ(dialog.get_transient_for(), &owner);
    EXPECT_TRUE(dialog.get_modal());
    EXPECT_TRUE(dialog.choice(0).get_active()) << "Sync with it is the first choice";
    EXPECT_FALSE(dialog.choice(1).get_can_focus());
    EXPECT_EQ(dialog.choice(0).get_label(),
              "_Sync with it and start using the abbreviations it contains immediately.");
    EXPECT_EQ(dialog.choice(1).get_label(),
              "_Overwrite it with your currently loaded abbreviations (a backup of the original "
              "will be made in the Dropbox folder).");
    EXPECT_TRUE(shows(dialog, "Existing Sync File Found in Dropbox Folder"));
    EXPECT_TRUE(shows(dialog,
                      "An abbreviation sync file was found in the Dropbox folder you selected. "
                      "Usually this means you've already enabled Dropbox sync on one of your "
                      "other computers \n\nWhat should I do with it?"));
    EXPECT_NE(dialog.get_widget_for_response(Gtk::RESPONSE_CANCEL), nullptr);
    const Answer answer = answers.at(next++);
    if (answer.select) dialog.choice(*answer.select).clicked();
    dialog.response(answer.response);
  });
  EXPECT_EQ(questions.existing_sync_file(false), ExistingSyncFile::SyncWithIt);
  EXPECT_EQ(questions.existing_sync_file(false), ExistingSyncFile::Overwrite);
  EXPECT_EQ(questions.existing_sync_file(false), ExistingSyncFile::Cancel);
  EXPECT_EQ(questions.existing_sync_file(false), ExistingSyncFile::Cancel);
  EXPECT_EQ(watcher.seen(), 4);
}

TEST(ExistingSyncFileQuestion, TextExpanderWordingSpeaksOfSnippets) {
  TOLVAN_NEED_DISPLAY();
  DialogSyncQuestions questions([]() -> Gtk::Window* { return nullptr; });
  QuestionWatcher watcher([](ChoiceDialog& dialog) {
    EXPECT_EQ(dialog.get_title(), "Existing TextExpander sync file found in Dropbox folder.");
    EXPECT_EQ(dialog.choice(1).get_label(),
              "_Overwrite it with your currently loaded snippets (you can always restore it "
              "later in Dropbox).");
    EXPECT_TRUE(shows(dialog, "Existing TextExpander Sync File Found in Dropbox Folder"));
    EXPECT_TRUE(shows(dialog,
                      "Select this only if you want the currently loaded snippets on this "
                      "computer to be the abbreviations that all of your other PCs (that have "
                      "Dropbox sync enabled in Tolvan) and Macs (that have Dropbox sync enabled "
                      "in TextExpander) start out with.\n"));
    dialog.choice(1).clicked();
    dialog.response(Gtk::RESPONSE_OK);
  });
  EXPECT_EQ(questions.existing_sync_file(true), ExistingSyncFile::Overwrite);
}

TEST(DiscardUnsavedChangesQuestion, HasOnlyOkAndAnswersWithTheOptionSelectedHoweverClosed) {
  TOLVAN_NEED_DISPLAY();
  DialogSyncQuestions questions([]() -> Gtk::Window* { return nullptr; });
  std::vector<Answer> answers{{std::nullopt, Gtk::RESPONSE_OK},
                              {1, Gtk::RESPONSE_OK},
                              {1, Gtk::RESPONSE_DELETE_EVENT},
                              {std::nullopt, Gtk::RESPONSE_DELETE_EVENT}};
  std::size_t next = 0;
  QuestionWatcher watcher([&](ChoiceDialog& dialog) {
    EXPECT_EQ(dialog.get_title(), "Discard unsaved changes and sync?");
    EXPECT_EQ(dialog.get_widget_for_response(Gtk::RESPONSE_CANCEL), nullptr);
    EXPECT_EQ(dialog.choice(0).get_label(),
              "_Sync: Discard unsaved changes and load the updated sync file.");
    EXPECT_EQ(dialog.choice(1).get_label(), "_Don't sync: Don't load the updated sync file.");
    EXPECT_TRUE(shows(dialog,
                      "Note: If you select this option and then apply your unsaved changes, the "
                      "modified sync file will be overwritten with the changes you make."));
    const Answer answer = answers.at(next++);
    if (answer.select) dialog.choice(*answer.select).clicked();
    dialog.response(answer.response);
  });
  EXPECT_TRUE(questions.discard_unsaved_changes_and_sync());
  EXPECT_FALSE(questions.discard_unsaved_changes_and_sync());
  EXPECT_FALSE(questions.discard_unsaved_changes_and_sync());
  EXPECT_TRUE(questions.discard_unsaved_changes_and_sync());
}

}  // namespace
}  // namespace tolvan::ui
