// Filling the run-time variables from the program folders.
#include "settings/gvar.h"

namespace tolvan {

void gvar_set_all(RunTimeVariables& gvar, const ProgramFolders& f) {
  gvar.set("installation_dir", f.installation_dir);
  if (f.portable_mode) {
    gvar.set_int("portable_mode", 1);
    gvar.set("portable_drive", f.portable_drive);
  }
  gvar.set("current_appdata_dir", f.current_appdata_dir);
  gvar.set("current_appdata_dir_vanilla", f.current_appdata_dir_vanilla);
  gvar.set("prefs_file", f.prefs_file);
  gvar.set("old_abbreviations_file", f.old_abbreviations_file);
  gvar.set("executable_path", f.executable_path);
}

bool portable_mode(const RunTimeVariables& gvar) { return gvar.get_int("portable_mode") != 0; }

std::string relativify_path_if_necessary(const std::string& path, const RunTimeVariables& gvar) {
  return relativify_path_if_necessary(path, portable_mode(gvar), gvar.get("portable_drive"));
}

}  // namespace tolvan
