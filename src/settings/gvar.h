// The run-time variables: a Settings list that the application owns and never saves,
// holding the program folders, the library and sync file paths and one-shot flags that
// several modules read. Keys: installation_dir, portable_mode, portable_drive,
// current_appdata_dir, current_appdata_dir_vanilla, prefs_file, old_abbreviations_file,
// executable_path, abbreviations_dir, abbreviations_file, te_sync_file, nm_sync_file,
// backup_srsly, expabs, te_resync, and those other modules add.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/program_folders.h"
#include "settings/settings.h"

namespace tolvan {

using RunTimeVariables = Settings;

// Stores the program folders (portable_mode only when it holds).
void gvar_set_all(RunTimeVariables& gvar, const ProgramFolders& folders);

// The library and sync file paths, from the preferences (gvar_set_abbrev_file_paths_from_prefs
// and gvar_set_sync_file_paths_from_prefs together).
void gvar_set_all_after_prefs_loaded(RunTimeVariables& gvar, const Settings& prefs);
void gvar_set_abbrev_file_paths_from_prefs(RunTimeVariables& gvar, const Settings& prefs);
void gvar_set_sync_file_paths_from_prefs(RunTimeVariables& gvar, const Settings& prefs);
// The same computation, for the Preferences window after it changes the sync settings.
void gvar_restore_default_abbrev_file_paths(RunTimeVariables& gvar, const Settings& prefs);

// <dir>/abbreviations.tlv; no dir means current_appdata_dir.
std::string gvar_get_abbrev_file_from_dir(const RunTimeVariables& gvar,
                                          std::optional<std::string_view> dir = std::nullopt);

bool portable_mode(const RunTimeVariables& gvar);

// relativify_path_if_necessary with this run's portable mode and medium.
std::string relativify_path_if_necessary(const std::string& path, const RunTimeVariables& gvar);

}  // namespace tolvan
