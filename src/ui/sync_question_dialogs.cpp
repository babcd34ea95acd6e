#include "ui/sync_question_dialogs.h"

namespace tolvan::ui {

ChoiceQuestion discard_unsaved_changes_question() {
  return {"Discard unsaved changes and sync?",
          "<b>Discard unsaved changes and sync?</b>",
          "Your sync file has changed on disk and Tolvan is ready to sync with it so you can "
          "start using the updated abbreviations.\n\nHowever, it appears you've made some "
          "changes to your existing, currently loaded abbreviations that haven't been applied "
          "yet.\n\nWhat you like me to do?",
          {{"_Sync: Discard unsaved changes and load the updated sync file.",
            "A backup copy of your unsaved changes will be made in case you change your mind "
            "(you can restore the backup in the Backup Manager)."},
           {"_Don't sync: Don't load the updated sync file.",
            "<b>Note:</b> If you select this option and then apply your unsaved changes, the "
            "modified sync file will be overwritten with the changes you make."}},
          false};
}

ChoiceQuestion existing_sync_file_question(bool textexpander) {
  if (textexpander) {
    return {"Existing TextExpander sync file found in Dropbox folder.",
            "<b>Existing TextExpander Sync File Found in Dropbox Folder</b>",
            "A TextExpander sync file was found in the Dropbox folder you selected. Usually "
            "this means you've already enabled Dropbox sync on one of your other computers.\n\n"
            "What should I do with it?",
            {{"_Sync with it and start using the snippets it contains immediately.", ""},
             {"_Overwrite it with your currently loaded snippets (you can always restore it "
              "later in Dropbox).",
              "Select this only if you want the currently loaded snippets on this computer to "
              "be the abbreviations that all of your other PCs (that have Dropbox sync enabled "
              "in Tolvan) and Macs (that have Dropbox sync enabled in TextExpander) start out "
              "with.\n"}},
            true};
  }
  return {"Existing sync file found in Dropbox folder.",
          "<b>Existing Sync File Found in Dropbox Folder</b>",
          "An abbreviation sync file was found in the Dropbox folder you selected. Usually this "
          "means you've already enabled Dropbox sync on one of your other computers \n\n"
          "What should I do with it?",
          {{"_Sync with it and start using the abbreviations it contains immediately.", ""},
           {"_Overwrite it with your currently loaded abbreviations (a backup of the original "
            "will be made in the Dropbox folder).",
            "Select this only if you want the currently loaded abbreviations on this computer "
            "to be the abbreviations that all of your other computers (that have Dropbox sync "
            "enabled in Tolvan) start out with.\n"}},
          true};
}

bool DialogSyncQuestions::discard_unsaved_changes_and_sync() {
  ChoiceDialog dialog(parent_(), discard_unsaved_changes_question());
  dialog.ask();
  // Closed in any way, the dialog answers with the option selected.
  return dialog.selected() == 0;
}

ExistingSyncFile DialogSyncQuestions::existing_sync_file(bool textexpander) {
  ChoiceDialog dialog(parent_(), existing_sync_file_question(textexpander));
  const std::optional<std::size_t> chosen = dialog.ask();
  if (!chosen) return ExistingSyncFile::Cancel;
  return *chosen == 0 ? ExistingSyncFile::SyncWithIt : ExistingSyncFile::Overwrite;
}

}  // namespace tolvan::ui
