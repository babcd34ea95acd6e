// Where the library and the sync files are, from the sync preferences.
#include "core/paths.h"
#include "settings/gvar.h"
#include "settings/prefs.h"

namespace tolvan {

std::string prefs_get_correct_diff_dir(const Settings& prefs, std::optional<std::string_view> dir,
                                       bool te) {
  std::string folder(dir ? *dir : std::string_view(prefs.get("diff_abbrev_dir")));
  folder += DIR_SEP;
  if (prefs.get_int("aldir") != 0) return folder;
  return folder + (te ? "TextExpander" : "Tolvan");
}

std::string gvar_get_abbrev_file_from_dir(const RunTimeVariables& gvar,
                                          std::optional<std::string_view> dir) {
  std::string_view folder = dir ? *dir : std::string_view(gvar.get("current_appdata_dir"));
  return path_join(folder, "abbreviations.tlv");
}

void gvar_set_abbrev_file_paths_from_prefs(RunTimeVariables& gvar, const Settings& prefs) {
  // In TextExpander-compatible sync the library stays local; only the TextExpander file
  // is shared.
  const bool local = prefs.get_int("use_diff_abbrev_dir") == 0 || prefs.get_int("sync_te") == 1;
  std::string dir = local ? gvar.get("current_appdata_dir")
                          : prefs_get_correct_diff_dir(prefs, std::nullopt, false);
  gvar.set("abbreviations_dir", dir);
  gvar.set("abbreviations_file", gvar_get_abbrev_file_from_dir(gvar, dir));
}

void gvar_set_sync_file_paths_from_prefs(RunTimeVariables& gvar, const Settings& prefs) {
  gvar.set("te_sync_file",
           path_join(prefs_get_correct_diff_dir(prefs, std::nullopt, true), "Settings.textexpander"));
  gvar.set("nm_sync_file",
           path_join(prefs_get_correct_diff_dir(prefs, std::nullopt, false), "abbreviations.tlv"));
}

void gvar_set_all_after_prefs_loaded(RunTimeVariables& gvar, const Settings& prefs) {
  gvar_set_abbrev_file_paths_from_prefs(gvar, prefs);
  gvar_set_sync_file_paths_from_prefs(gvar, prefs);
}

void gvar_restore_default_abbrev_file_paths(RunTimeVariables& gvar, const Settings& prefs) {
  gvar_set_all_after_prefs_loaded(gvar, prefs);
}

}  // namespace tolvan
