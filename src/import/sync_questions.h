// What shared-folder sync needs from the windows: the main window's unapplied edits and its
// syncing notice (SyncWindow), and the two questions sync asks (SyncQuestions). The program
// answers them with its dialogs; PromptsSyncQuestions asks them through plain message boxes
// for programs without those dialogs.
#pragma once

#include "core/prompts.h"

namespace tolvan {

class SyncWindow {
 public:
  virtual ~SyncWindow() = default;
  // Its Apply button is sensitive.
  virtual bool has_unapplied_changes() const = 0;
  // On: the red "Syncing. Please wait..." notice and the title "Tolvan (syncing)", with
  // pending events processed; off: both gone.
  virtual void show_syncing(bool syncing) = 0;
  // A read replaced the main list and the sandbox is a fresh copy of it: the folder tree
  // and the list are rebuilt from the sandbox and the library's root is expanded
  // (main_window_reset).
  virtual void reset_from_main_list() = 0;
};

// ask_user_how_to_handle_existing_abbrev_file_in_new_dir's answers.
enum class ExistingSyncFile { Overwrite = 0, SyncWithIt = 1, Cancel = 2 };

class SyncQuestions {
 public:
  virtual ~SyncQuestions() = default;
  // sync_ask_user_unsaved_changes: "Discard unsaved changes and sync?"; true for Sync.
  virtual bool discard_unsaved_changes_and_sync() = 0;
  // The existing-file question, with TextExpander's wording or the own format's.
  virtual ExistingSyncFile existing_sync_file(bool textexpander) = 0;
};

// The questions as Yes/No boxes: Yes syncs (discarding the unsaved changes, or taking the
// existing file), No keeps the changes or overwrites the file, Cancel cancels.
class PromptsSyncQuestions final : public SyncQuestions {
 public:
  explicit PromptsSyncQuestions(Prompts& prompts) : prompts_(prompts) {}
  bool discard_unsaved_changes_and_sync() override;
  ExistingSyncFile existing_sync_file(bool textexpander) override;

 private:
  Prompts& prompts_;
};

}  // namespace tolvan
