// Loading and saving the preferences file.
#include "settings/prefs.h"

#include "settings/settings_file.h"

namespace tolvan {

Status prefs_load(Settings& prefs, RunTimeVariables& gvar) {
  prefs.clear();
  // A missing or invalid file is a first run: the defaults replace it at the next save.
  Status loaded = settings_load_from_file(gvar.get("prefs_file"), prefs, nullptr);
  prefs_set_defaults(prefs, gvar);
  prefs_do_backwards_compat(prefs);
  return loaded;
}

Status prefs_save(const Settings& prefs, const RunTimeVariables& gvar) {
  return settings_dump_to_file(prefs, gvar.get("prefs_file"));
}

Status prefs_load_at_start(Settings& prefs, RunTimeVariables& gvar, const ProgramFolders& folders) {
  gvar_set_all(gvar, folders);
  Status loaded = prefs_load(prefs, gvar);
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  return loaded;
}

}  // namespace tolvan
