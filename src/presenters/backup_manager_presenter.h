// The Backup Manager's behaviour: its list of backups (newest first, with their display
// time and number of abbreviations), the Restore button's sensitivity, and the restore
// flow with its questions: back up the current library first, and apply pending changes
// before that when the user wants them kept.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/backups.h"
#include "presenters/pending_changes.h"

namespace tolvan {

struct BackupRow {
  std::string time;  // abbr_time_to_backup_time_string
  std::string path;  // not shown
  int count = 0;

  friend bool operator==(const BackupRow&, const BackupRow&) = default;
};

class BackupManagerView {
 public:
  virtual ~BackupManagerView() = default;
  // Replaces the list; no row is selected afterwards.
  virtual void show_rows(const std::vector<BackupRow>& rows) = 0;
  virtual void set_restore_sensitive(bool sensitive) = 0;
  virtual void hide_manager() = 0;
};

inline constexpr const char* kBackupBeforeRestoreQuestion =
    "Create a backup of your current abbreviations before restoring this backup?";
inline constexpr const char* kSaveBeforeBackupQuestion =
    "You currently have unsaved changes to your loaded abbreviations. Save them before "
    "creating a backup?";
inline constexpr const char* kSaveBeforeRestoreFailed =
    "Failed to save the changes as you requested. Therefore, a backup of your existing "
    "abbreviations was not made, and the selected backup was not restored.\n\nPlease try "
    "again, first manually applying the changes to your abbreviations (you can skip this "
    "step altogether), and then try restoring the selected backup again.";

class BackupManagerPresenter {
 public:
  // `ctx.prompts` asks the user (its list_changed is replaced: the presenter refreshes
  // itself); `today` is the date the display times are relative to.
  BackupManagerPresenter(BackupManagerView& view, BackupContext ctx, PendingChanges& pending,
                         std::function<AbbrTime()> today = abbr_time_now);

  // The list afresh from the preferences.
  void refresh();
  // The view's selection changed; nullopt when no row is selected.
  void select(std::optional<size_t> row);
  // cb_backup_restore_clicked, for the selected row.
  void restore_selected();

  const std::vector<BackupRow>& rows() const { return rows_; }

  static std::vector<BackupRow> rows_for(const std::vector<BackupEntry>& backups,
                                         const AbbrTime& today);

 private:
  // Backs up the current library as the user wants it; false when the restore must stop.
  bool back_up_current_library();

  BackupManagerView& view_;
  BackupContext ctx_;
  PendingChanges& pending_;
  std::function<AbbrTime()> today_;
  std::vector<BackupRow> rows_;
  std::optional<size_t> selected_;
};

}  // namespace tolvan
