// Loading and saving the preferences file.
#include "settings/prefs.h"

#include <sys/stat.h>

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
  const std::string& path = gvar.get("prefs_file");
  Status saved = settings_dump_to_file(prefs, path);
  // The file holds the proxy user's password, scrambled only against a glance: only its
  // owner may read it.
  if (saved.ok() && ::chmod(path.c_str(), 0600) != 0)
    return Error{"Could not make the preferences file " + path + " private."};
  return saved;
}

Status prefs_load_at_start(Settings& prefs, RunTimeVariables& gvar, const ProgramFolders& folders) {
  gvar_set_all(gvar, folders);
  Status loaded = prefs_load(prefs, gvar);
  gvar_set_all_after_prefs_loaded(gvar, prefs);
  return loaded;
}

}  // namespace tolvan
