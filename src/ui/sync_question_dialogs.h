// The two questions shared-folder sync asks, as the program's dialogs: whether to discard
// unapplied edits for a changed sync file, and what to do with a sync file found in a newly
// chosen folder (in TextExpander's wording or the own format's).
#pragma once

#include <functional>

#include "import/sync_questions.h"
#include "ui/choice_dialog.h"

namespace tolvan::ui {

ChoiceQuestion discard_unsaved_changes_question();
ChoiceQuestion existing_sync_file_question(bool textexpander);

class DialogSyncQuestions final : public SyncQuestions {
 public:
  // `parent` names the window the dialogs stand over when they open (none: free-standing).
  explicit DialogSyncQuestions(std::function<Gtk::Window*()> parent)
      : parent_(std::move(parent)) {}

  bool discard_unsaved_changes_and_sync() override;
  ExistingSyncFile existing_sync_file(bool textexpander) override;

 private:
  std::function<Gtk::Window*()> parent_;
};

}  // namespace tolvan::ui
