#include "ui/preferences_steps.h"

#include "core/paths.h"
#include "core/strings.h"
#include "import/sync_files.h"
#include "import/te_mode.h"
#include "library/lookups.h"
#include "library/main_list_file.h"
#include "library/messages.h"
#include "settings/prefs.h"
#include "settings/start_at_login.h"

namespace tolvan::ui {

bool ProgramPreferencesSteps::library_has_nested_folders() {
  return abbr_nested_folders_exist_in_list(deps_.library.sandbox) ||
         abbr_nested_folders_exist_in_list(deps_.library.main_list);
}

void ProgramPreferencesSteps::set_textexpander_mode(bool on) {
  deps_.prefs.set("textexpander_mode", on ? "1" : "0");
  if (!on) return;
  te_reshape_list(deps_.library, SANDBOX);
  te_reshape_list(deps_.library, MAIN_LIST);
}

bool ProgramPreferencesSteps::file_exists(const std::string& path) { return isfile(path); }

bool ProgramPreferencesSteps::save_library_changes_first() {
  return !deps_.save_library_changes_first || deps_.save_library_changes_first();
}

Status ProgramPreferencesSteps::save_library_as(const std::string& file) {
  if (const std::string dir = parse_out_directory(file); !dir.empty() && mkdir_p(dir) != 0)
    return Error{"could not create the folder " + dir};
  Status saved = abbr_save_library(deps_.library, file, nullptr);
  if (saved.ok()) sync_update_timestamp(deps_.prefs, SyncMode::Own, file);
  return saved;
}

SyncEnabling ProgramPreferencesSteps::own_sync_just_enabled(const std::string& file) {
  const SyncEnabling result = deps_.sync.own_sync_just_enabled(file);
  // The file that was kept is read as changed.
  if (result == SyncEnabling::SyncWithExisting) {
    sync_reset_timestamps(deps_.prefs);
    kept_sync_file_ = true;
  }
  return result;
}

void ProgramPreferencesSteps::set_sync_suspended(bool suspended) {
  deps_.sync.set_temp_disabled(suspended);
  if (suspended) {
    kept_sync_file_ = read_kept_file_ = false;
  } else if (read_kept_file_) {
    read_kept_file_ = false;
    (void)deps_.sync.read_changes_if_necessary();
  }
}

bool ProgramPreferencesSteps::restore_default_library_location() {
  const std::string file = gvar_get_abbrev_file_from_dir(deps_.gvar, std::nullopt);
  for (;;) {
    const Status saved = abbr_save_library(deps_.library, file, nullptr);
    if (saved.ok()) return true;
    const std::string question =
        "Unable to save abbreviations to default file '" + file + "': " + saved.error() +
        ". Click 'Yes' to try again, or 'No' to cancel the directory changes you just made.\n\n" +
        std::string(kSupportContactLine);
    if (!deps_.prompts.yes_no(question, PromptKind::Error)) return false;
  }
}

SyncEnabling ProgramPreferencesSteps::te_sync_just_enabled(const std::string& file) {
  return deps_.sync.te_sync_just_enabled(file);
}

void ProgramPreferencesSteps::file_locations_changed() {
  read_kept_file_ = kept_sync_file_;
  gvar_set_abbrev_file_paths_from_prefs(deps_.gvar, deps_.prefs);
  gvar_set_sync_file_paths_from_prefs(deps_.gvar, deps_.prefs);
}

void ProgramPreferencesSteps::view_settings_changed(bool bottom_buttons_changed) {
  if (deps_.view_settings_changed) deps_.view_settings_changed(bottom_buttons_changed);
}

bool ProgramPreferencesSteps::starts_at_login() {
  return get_start_with_windows(deps_.autostart) == kStartWithWindows;
}

void ProgramPreferencesSteps::set_start_at_login(bool on) {
  if (on == starts_at_login()) return;
  if (set_start_with_windows(deps_.autostart, deps_.gvar, on ? kStartWithWindows : 0) != 0)
    deps_.prompts.error(on ? "Could not add Tolvan to the programs started when you log in."
                           : "Could not remove Tolvan from the programs started when you log in.");
}

void ProgramPreferencesSteps::reregister_hotkeys() {
  if (!deps_.expander) return;
  deps_.expander->unregister_hotkeys();
  deps_.expander->register_hotkeys();
  deps_.expander->register_folder_hotkeys(MAIN_LIST);
}

void ProgramPreferencesSteps::engine_prefs_reloaded() {
  if (deps_.expander) deps_.expander->prefs_reloaded();
}

Status ProgramPreferencesSteps::save_prefs() { return prefs_save(deps_.prefs, deps_.gvar); }

void ProgramPreferencesSteps::consolidate_backups() { backups_consolidate(deps_.backups, false); }

void ProgramPreferencesSteps::move_backups(const std::string& folder) {
  backups_move_from_old_to_new_dir(deps_.backups, folder);
}

void ProgramPreferencesSteps::delete_all_backups() { backup_delete_all(deps_.backups); }

void ProgramPreferencesSteps::create_backup() { (void)backup_create_new(deps_.backups, false); }

bool ProgramPreferencesSteps::has_typo_autocorrection_folder() {
  // The top-level folders are the absolute parent's.
  const FolderList& list = deps_.library.main_list;
  if (list.empty()) return false;
  for (const auto& folder : list.front()->subfolders) {
    if (equals_ignore_case(folder->name, "Typo AutoCorrections")) return true;
  }
  return false;
}

}  // namespace tolvan::ui
