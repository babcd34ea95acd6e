#include "cli/cli_session.h"

#include "library/backups.h"
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

LoadOutcome Session::load_main_list() {
  return abbr_load_main_list_from_file(library, gvar.get("abbreviations_file"), prompts,
                                       main_list_load_options(prefs));
}

bool Session::lock_data_folder(std::ostream& err) {
  const std::string folder = gvar.get("current_appdata_dir");
  lock_ = std::make_unique<InstanceLock>(folder);
  Result<bool> held = lock_->acquire();
  if (!held) {
    err << "tolvan-cli: cannot lock the data folder " << folder << ": " << held.error() << "\n";
    return false;
  }
  if (!*held) {
    err << "tolvan-cli: Tolvan is running on the data folder " << folder
        << "; quit it first, or make the change in its window.\n";
    return false;
  }
  return true;
}

bool Session::apply_sandbox() {
  abbr_flush_sandbox_to_main(library);
  if (!abbr_save_library(library, gvar.get("abbreviations_file"), &prompts)) return false;
  BackupContext ctx{prefs, gvar, library, prompts, nullptr, nullptr};
  backup_create_new(ctx, false);  // as after every save of the library
  return true;
}

}  // namespace tolvan::cli
