#include "presenters/backup_manager_presenter.h"

#include "core/paths.h"

namespace tolvan {

BackupManagerPresenter::BackupManagerPresenter(BackupManagerView& view, BackupContext ctx,
                                               PendingChanges& pending,
                                               std::function<AbbrTime()> today)
    : view_(view), ctx_(std::move(ctx)), pending_(pending), today_(std::move(today)) {
  // Backups the restore flow makes show in this list at once.
  ctx_.list_changed = [this] { refresh(); };
}

std::vector<BackupRow> BackupManagerPresenter::rows_for(const std::vector<BackupEntry>& backups,
                                                        const AbbrTime& today) {
  std::vector<BackupRow> rows;
  rows.reserve(backups.size());
  for (const BackupEntry& entry : backups) {
    rows.push_back({abbr_time_to_backup_time_string(&entry.time, today), entry.path,
                    entry.count});
  }
  return rows;
}

void BackupManagerPresenter::refresh() {
  rows_ = rows_for(backup_get_file_list(ctx_.prefs), today_());
  view_.show_rows(rows_);
  select(std::nullopt);
}

void BackupManagerPresenter::select(std::optional<size_t> row) {
  selected_ = row && *row < rows_.size() ? row : std::nullopt;
  view_.set_restore_sensitive(selected_.has_value());
}

bool BackupManagerPresenter::back_up_current_library() {
  if (!isfile(ctx_.gvar.get("abbreviations_file"))) return true;
  if (!ctx_.prompts.yes_no(kBackupBeforeRestoreQuestion, PromptKind::Question)) return true;
  if (pending_.has_unapplied_changes() &&
      ctx_.prompts.yes_no(kSaveBeforeBackupQuestion, PromptKind::Question)) {
    // Applying saves the library and makes the backup itself.
    if (pending_.apply_changes()) return true;
    ctx_.prompts.error(kSaveBeforeRestoreFailed);
    return false;
  }
  backup_create_new(ctx_, false);
  return true;
}

void BackupManagerPresenter::restore_selected() {
  if (!selected_) return;
  // Backing up refills the list, so the path is taken first.
  const std::string path = rows_[*selected_].path;
  if (!back_up_current_library()) return;
  if (backup_restore_from_file(ctx_, path)) view_.hide_manager();
}

}  // namespace tolvan
