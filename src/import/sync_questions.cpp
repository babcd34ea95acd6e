#include "import/sync_questions.h"

namespace tolvan {

bool PromptsSyncQuestions::discard_unsaved_changes_and_sync() {
  return prompts_.yes_no(
      "Discard unsaved changes and sync?\n\n"
      "Your sync file has changed on disk and Tolvan is ready to sync with it so you can start "
      "using the updated abbreviations.\n\nHowever, it appears you've made some changes to your "
      "existing, currently loaded abbreviations that haven't been applied yet.\n\n"
      "Yes: Sync: Discard unsaved changes and load the updated sync file. A backup copy of your "
      "unsaved changes will be made in case you change your mind (you can restore the backup in "
      "the Backup Manager).\n"
      "No: Don't sync: Don't load the updated sync file. If you select this option and then "
      "apply your unsaved changes, the modified sync file will be overwritten with the changes "
      "you make.",
      PromptKind::Question);
}

ExistingSyncFile PromptsSyncQuestions::existing_sync_file(bool textexpander) {
  const char* what = textexpander ? "snippets" : "abbreviations";
  const std::string text =
      std::string(textexpander ? "A TextExpander sync file was found in the Dropbox folder you "
                                 "selected."
                               : "An abbreviation sync file was found in the Dropbox folder you "
                                 "selected.") +
      " Usually this means you've already enabled Dropbox sync on one of your other "
      "computers.\n\nWhat should I do with it?\n\nYes: Sync with it and start using the " +
      what + " it contains immediately.\nNo: Overwrite it with your currently loaded " + what +
      ".";
  switch (prompts_.yes_no_cancel(text)) {
    case Answer::Yes: return ExistingSyncFile::SyncWithIt;
    case Answer::No: return ExistingSyncFile::Overwrite;
    case Answer::Cancel: break;
  }
  return ExistingSyncFile::Cancel;
}

}  // namespace tolvan
