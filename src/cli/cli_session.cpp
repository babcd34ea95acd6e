#include "cli/cli_session.h"

#include "platform/x11/xdg_folders.h"
#include "settings/prefs.h"
#include "settings/program_folders.h"

namespace tolvan::cli {

Session::Session(const Invocation& inv) : prompts(inv.err, &infos) {
  XdgFolders desktop;
  ProgramFolders folders =
      compute_program_folders(desktop, "", false, config_dir_override_from(inv.config_dir));
  (void)prefs_load_at_start(prefs, gvar, folders);
}

LoadOutcome Session::load_library(const std::string& file) {
  LoadOutcome outcome =
      abbr_load_main_list_from_file(library, file.empty() ? gvar.get("abbreviations_file") : file,
                                    prompts, main_list_load_options(prefs));
  abbr_create_sandbox(library);
  return outcome;
}

}  // namespace tolvan::cli
