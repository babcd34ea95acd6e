// The Preferences window's OK steps carried out on the running program: its expander
// (engine and hotkeys), the shared-folder sync, the library and its backups, the
// start-at-login entry; the main window's part arrives as two calls.
#pragma once

#include <functional>

#include "app/expander.h"
#include "core/prompts.h"
#include "import/shared_folder_sync.h"
#include "library/backups.h"
#include "library/library.h"
#include "platform/autostart.h"
#include "presenters/preferences/prefs_apply.h"
#include "settings/gvar.h"
#include "settings/settings.h"

namespace tolvan::ui {

struct ProgramPreferencesStepsDeps {
  Settings& prefs;
  RunTimeVariables& gvar;
  Library& library;
  Prompts& prompts;
  Expander* expander;  // none: no engine runs in this process
  SharedFolderSync& sync;
  BackupContext backups;
  Autostart& autostart;
  // ask_user_if_should_save_changes_first: the main window's unapplied changes; false on
  // Cancel.
  std::function<bool()> save_library_changes_first;
  // The main window re-applies its view mode and columns; with `bottom_buttons_changed` its
  // divider moves by the bottom buttons' height.
  std::function<void(bool bottom_buttons_changed)> view_settings_changed;
};

class ProgramPreferencesSteps final : public PreferencesSteps {
 public:
  explicit ProgramPreferencesSteps(ProgramPreferencesStepsDeps deps) : deps_(std::move(deps)) {}

  // Resumed after OK moved sync to a folder whose file the user chose to use, the poll reads
  // that file at once instead of two seconds later.
  void set_sync_suspended(bool suspended) override;
  bool library_has_nested_folders() override;
  void set_textexpander_mode(bool on) override;
  bool file_exists(const std::string& path) override;
  bool save_library_changes_first() override;
  Status save_library_as(const std::string& file) override;
  SyncEnabling own_sync_just_enabled(const std::string& file) override;
  bool restore_default_library_location() override;
  SyncEnabling te_sync_just_enabled(const std::string& file) override;
  void file_locations_changed() override;
  void view_settings_changed(bool bottom_buttons_changed) override;
  bool starts_at_login() override;
  void set_start_at_login(bool on) override;
  void reregister_hotkeys() override;
  void engine_prefs_reloaded() override;
  Status save_prefs() override;
  void consolidate_backups() override;
  void move_backups(const std::string& folder) override;
  void delete_all_backups() override;
  void create_backup() override;
  bool has_typo_autocorrection_folder() override;
  void te_prefs_modified() override { deps_.sync.prefs_modified(); }

 private:
  ProgramPreferencesStepsDeps deps_;
  bool kept_sync_file_ = false;  // this OK chose to use the file found in the new folder
  bool read_kept_file_ = false;  // ... and the sync paths now lead to it
};

}  // namespace tolvan::ui
