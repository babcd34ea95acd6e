#include "import/shared_folder_sync.h"

#include "library/library_aside.h"

#include <filesystem>

#include "core/paths.h"
#include "core/safe_save.h"
#include "import/te_change_hooks.h"
#include "import/te_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "import/te_mode.h"
#include "library/backups.h"
#include "library/flattening.h"
#include "library/folder_tree.h"
#include "library/library_aside.h"
#include "library/lookups.h"
#include "library/main_list_file.h"

namespace tolvan {
namespace {

// Shows the syncing notice for as long as it lives.
class SyncingNotice {
 public:
  explicit SyncingNotice(SyncWindow* window) : window_(window) {
    if (window_) window_->show_syncing(true);
  }
  ~SyncingNotice() {
    if (window_) window_->show_syncing(false);
  }
  SyncingNotice(const SyncingNotice&) = delete;
  SyncingNotice& operator=(const SyncingNotice&) = delete;

 private:
  SyncWindow* window_;
};

TeExportOptions export_options(const SyncContext& ctx) {
  TeExportOptions options;
  options.defaults = main_list_load_options(ctx.prefs).defaults;
  options.now = abbr_time_now();
  options.to_te_macros = ctx.to_te_macros;
  return options;
}

}  // namespace

bool SharedFolderSync::poll() {
  if (temp_disabled_ || polling_) return true;
  polling_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{polling_};
  if (sync_enabled(ctx_.prefs) && sync_get_mode(ctx_.prefs) == SyncMode::TextExpander &&
      !te_mode_enabled(ctx_.prefs)) {
    ctx_.prefs.set_int("textexpander_mode", 1);
    te_reshape_list(ctx_.library, MAIN_LIST);
    te_reshape_list(ctx_.library, SANDBOX);
    if (ctx_.te_mode_switched_on) ctx_.te_mode_switched_on();
  }
  (void)read_changes_if_necessary();
  return true;
}

bool SharedFolderSync::read_changes_if_necessary() {
  if (!sync_enabled(ctx_.prefs)) return false;
  const SyncMode mode = sync_get_mode(ctx_.prefs);
  if (sync_file_changed_since(ctx_.prefs, ctx_.gvar, mode)) {
    ctx_.gvar.set_int("te_resync", 0);
  } else if (mode == SyncMode::Own) {
    return false;
  } else {
    const bool retry_failed_save =
        ctx_.prefs.does_exist("rdfail") && !ctx_.gvar.does_exist("rdfail_notthisrun");
    if (ctx_.gvar.get_int("te_resync") != 1 && !retry_failed_save) return false;
  }
  bool sync = true;
  if (ctx_.window && ctx_.window->has_unapplied_changes()) {
    sync = ctx_.questions.discard_unsaved_changes_and_sync();
    if (sync) {
      BackupContext backups{ctx_.prefs, ctx_.gvar, ctx_.library, ctx_.prompts, nullptr, nullptr};
      backup_create_new(backups, true);
    }
  }
  // Also when the user keeps the changes: the same change is not offered again.
  sync_update_timestamp(ctx_.prefs, mode, sync_file_path(ctx_.gvar, mode));
  if (sync) read_changes(mode);
  return sync;
}

void SharedFolderSync::read_changes(SyncMode mode) {
  SyncingNotice notice(ctx_.window);
  const std::string& file = sync_file_path(ctx_.gvar, mode);
  if (mode == SyncMode::TextExpander) read_te(file);
  else read_own(file);
}

void SharedFolderSync::read_failed(SyncMode mode, const std::string& reason) {
  ctx_.prompts.error(std::string(mode == SyncMode::TextExpander ? "TextExpander snippet"
                                                                : "Abbreviation file") +
                     " sync (read) failed: " + reason);
}

void SharedFolderSync::read_te(const std::string& file) {
  Library& library = ctx_.library;
  const bool merge = ctx_.prefs.does_exist("tesyncalready");
  auto lock = library.lock_main_list();

  TeImportOptions options;
  options.defaults = main_list_load_options(ctx_.prefs).defaults;
  options.now = abbr_time_now();
  if (merge) {
    // The folders that came from TextExpander are about to be replaced: their uuids are
    // free again.
    FolderList kept = abbr_folder_list_duplicate(library.main_list);
    te_remove_all_folders_loaded_from_te_sync(kept);
    options.existing = te_get_all_existing_uuids(kept);
  }
  TeFileImport read = te_import_snippet_file(file, options);
  switch (read.result) {
    case TeImportResult::Missing:
      ctx_.gvar.set_int(sync_wait_till_file_exists_key(SyncMode::TextExpander), 1);
      ctx_.gvar.set_int("te_resync", 0);
      return;
    case TeImportResult::Empty:
      // A file of nothing is one still being written: the library stays as it is.
      read_failed(SyncMode::TextExpander, kTeNoSnippetsMessage);
      return;
    case TeImportResult::Failed:
      ctx_.prompts.error(te_import_error_message(file, read.message));
      read_failed(SyncMode::TextExpander, read.message);
      return;
    case TeImportResult::Imported:
      break;
  }
  ctx_.gvar.set_int("te_resync", 0);
  if (read.import->settings && te_mode_enabled(ctx_.prefs)) {
    te_take_over_preferences(ctx_.prefs, *read.import->settings);
  }
  if (merge) {
    library.notify([](LibraryListener& l) { l.main_list_freeing(); });
    te_remove_all_folders_loaded_from_te_sync(library.main_list);
  }
  te_add_import_to_library(library, MAIN_LIST, std::move(*read.import),
                           merge ? ImportMode::Append : ImportMode::Replace,
                           [](Folder& folder) { folder.te_group = 1; });
  lock.unlock();
  library.notify([](LibraryListener& l) { l.main_list_changed(); });
  if (ctx_.folder_hotkeys_changed) ctx_.folder_hotkeys_changed();
  abbr_create_sandbox(library);
  if (ctx_.window) ctx_.window->reset_from_main_list();
  save_after_te_read();
}

void SharedFolderSync::save_after_te_read() {
  const Status saved = abbr_save_library(ctx_.library, ctx_.gvar.get("abbreviations_file"),
                                         &ctx_.prompts);
  if (!saved) {
    ctx_.prefs.set_int("rdfail", 1);
    ctx_.gvar.set_int("rdfail_notthisrun", 1);
    return;
  }
  BackupContext backups{ctx_.prefs, ctx_.gvar, ctx_.library, ctx_.prompts, nullptr, nullptr};
  backup_create_new(backups, false);
  ctx_.prefs.delete_key("rdfail");
  // Later reads replace the whole library.
  ctx_.prefs.delete_key("tesyncalready");
}

void SharedFolderSync::read_own(const std::string& file) {
  Library& library = ctx_.library;
  // Loaded aside first, so that a damaged or half-written file never replaces the library.
  Library loaded;
  loaded.uids = library.uids;
  const LoadOutcome outcome =
      abbr_load_main_list_from_file(loaded, file, ctx_.prompts, main_list_load_options(ctx_.prefs));
  switch (outcome) {
    case LoadOutcome::Missing:
      ctx_.gvar.set_int(sync_wait_till_file_exists_key(SyncMode::Own), 1);
      return;
    case LoadOutcome::Loaded:
      break;
    case LoadOutcome::Empty:
      read_failed(SyncMode::Own, "The file " + file + " is empty; your abbreviations were left as they were.");
      return;
    case LoadOutcome::Unopenable:
    case LoadOutcome::Damaged:
      // The next save goes to this same file: what it holds is kept aside first.
      if (loaded.damaged_file) library.damaged_file = loaded.damaged_file;
      else library.damaged_file = DamagedLibraryFile{file, abbr_damaged_file_aside_path(file)};
      read_failed(SyncMode::Own, "The file " + file +
                                     " could not be read completely; your abbreviations were "
                                     "left as they were.");
      return;
  }
  {
    auto lock = library.lock_main_list();
    abbr_free_folder_list(library, MAIN_LIST);
    library.main_list = std::move(loaded.main_list);
    library.uids = loaded.uids;
    library.damaged_file.reset();
  }
  library.notify([](LibraryListener& l) { l.main_list_reloaded(); });
  if (ctx_.folder_hotkeys_changed) ctx_.folder_hotkeys_changed();
  abbr_create_sandbox(library);
  if (ctx_.window) ctx_.window->reset_from_main_list();
}

SyncWrite SharedFolderSync::write_te_if_necessary(ListIndex index, bool force,
                                                  std::optional<SyncMode> mode,
                                                  const std::string& file) {
  const SyncMode used = mode.value_or(sync_get_mode(ctx_.prefs));
  if (!force && (!sync_enabled(ctx_.prefs) || used != SyncMode::TextExpander)) {
    return SyncWrite::NotApplicable;
  }
  const std::string target = file.empty() ? sync_file_path(ctx_.gvar, SyncMode::TextExpander) : file;
  auto fail = [&](const std::string& reason) {
    ctx_.prompts.error("TextExpander export sync with Dropbox failed: " + reason +
                       "\n\nNeed help? Contact us at " + kTeSupportAddress);
    return SyncWrite::Failed;
  };
  const std::string dir = parse_out_directory(target);
  if (!dir.empty() && !directory_exists(dir) && mkdir_p(dir) != 0) {
    return fail("Unable to open TextExpander Dropbox file for writing: could not create " + dir);
  }
  Result<std::string> text = Error{""};
  {
    std::unique_lock<std::recursive_mutex> lock;
    if (index == MAIN_LIST) lock = ctx_.library.lock_main_list();
    Folder* top = abbr_get_absolute_parent_folder(ctx_.library.list(index));
    const TeExportOptions options = export_options(ctx_);
    const TePreferences prefs = te_preferences_from(ctx_.prefs);
    if (top) {
      // In place: the uuids and dictionaries given now are the ones the file carries, so
      // the next read finds the same snippets.
      if (abbr_nested_folders_exist_in_list(ctx_.library.list(index))) {
        abbr_denestify_folders_in_list(ctx_.library, index);
      }
      te_build_kvlists(*top, true, options);
      te_update_prefs_from_tolvan_prefs(*top, prefs, true);
    }
    text = te_settings_file_text(top, prefs, options);
  }
  if (!text) return fail(text.error());
  if (Status saved = safe_save_file(target, *text); !saved) return fail(saved.error());
  sync_update_timestamp(ctx_.prefs, SyncMode::TextExpander, target);
  return SyncWrite::Written;
}

void SharedFolderSync::mark_folders_as_textexpander() {
  te_set_all_folders_as_textexpander(ctx_.library, MAIN_LIST, true, false);
  te_set_all_folders_as_textexpander(ctx_.library, SANDBOX, true, false);
}

SyncWrite SharedFolderSync::write_before_apply() {
  const SyncWrite written = write_te_if_necessary(SANDBOX, false);
  if (written == SyncWrite::Written) mark_folders_as_textexpander();
  return written;
}

void SharedFolderSync::library_saved() {
  if (sync_enabled(ctx_.prefs) && sync_get_mode(ctx_.prefs) == SyncMode::Own) {
    sync_update_timestamp(ctx_.prefs, SyncMode::Own, sync_file_path(ctx_.gvar, SyncMode::Own));
  }
}

void SharedFolderSync::main_list_just_loaded() { library_saved(); }

void SharedFolderSync::read_te_at_start() {
  if (sync_enabled(ctx_.prefs) && sync_get_mode(ctx_.prefs) == SyncMode::TextExpander) {
    (void)read_changes_if_necessary();
  }
}

std::optional<SyncEnabling> SharedFolderSync::keep_existing_file(const std::string& file,
                                                                bool textexpander) {
  if (!isfile(file)) return std::nullopt;
  switch (ctx_.questions.existing_sync_file(textexpander)) {
    case ExistingSyncFile::Cancel: return SyncEnabling::Cancelled;
    case ExistingSyncFile::SyncWithIt: return SyncEnabling::SyncWithExisting;
    case ExistingSyncFile::Overwrite: break;
  }
  return std::nullopt;
}

SyncEnabling SharedFolderSync::te_sync_just_enabled(const std::string& file) {
  if (std::optional<SyncEnabling> kept = keep_existing_file(file, true)) return *kept;
  if (write_te_if_necessary(MAIN_LIST, true, SyncMode::TextExpander, file) != SyncWrite::Written) {
    return SyncEnabling::Failed;
  }
  mark_folders_as_textexpander();
  (void)abbr_save_library(ctx_.library, ctx_.gvar.get("abbreviations_file"), &ctx_.prompts);
  return SyncEnabling::Done;
}

SyncEnabling SharedFolderSync::own_sync_just_enabled(const std::string& file) {
  if (std::optional<SyncEnabling> kept = keep_existing_file(file, false)) return *kept;
  const std::string dir = parse_out_directory(file);
  if (isfile(file)) {
    // The promised backup of the original: moved aside, beside it in the shared folder.
    if (!abbr_backup_abbrev_file_in_dir(dir) &&
        !ctx_.prompts.yes_no("Unable to create a backup of the existing abbreviation file in the "
                             "newly configured directory '" + dir +
                                 "'. Continue and overwrite anyway?",
                             PromptKind::Warning)) {
      return SyncEnabling::Cancelled;
    }
  } else if (!dir.empty() && mkdir_p(dir) != 0) {
    ctx_.prompts.error("Could not create the folder " + dir + ".");
    return SyncEnabling::Failed;
  }
  for (;;) {
    const Status saved = abbr_save_library(ctx_.library, file, nullptr);
    if (saved.ok()) break;
    if (!ctx_.prompts.yes_no("Unable to save currently loaded abbreviations to new directory '" +
                                 dir + "': " + saved.error() + ". Would you like me to try again?",
                             PromptKind::Error)) {
      return SyncEnabling::Failed;
    }
  }
  sync_update_timestamp(ctx_.prefs, SyncMode::Own, file);
  return SyncEnabling::Done;
}

void SharedFolderSync::prefs_modified() {
  if (te_prefs_modified(ctx_.library, te_preferences_from(ctx_.prefs))) {
    (void)write_te_if_necessary(MAIN_LIST, false);
  }
}

}  // namespace tolvan
