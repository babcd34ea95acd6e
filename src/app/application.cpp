// Tolvan's start sequence and quit.
#include "app/application.h"

#include <ostream>

#include "settings/program_folders.h"
#include "settings/prefs.h"

namespace tolvan {

int Application::run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  auto parsed = parse_command_line(argv, folders_.current_dir());
  if (!parsed) {
    err << parsed.error();
    return 2;
  }
  command_line_ = *parsed;
  if (command_line_.help) {
    out << kCommandLineUsage;
    return 0;
  }
  load_preferences(argv.empty() ? std::string() : argv[0]);
  return quit(0, err);
}

void Application::load_preferences(const std::string& argument0) {
  ProgramFolders folders =
      compute_program_folders(folders_, argument0, command_line_.portable,
                              config_dir_override_from(command_line_.config_dir));
  // A missing or unreadable preferences file is a first start, not an error.
  (void)prefs_load_at_start(prefs_, gvar_, folders);
}

int Application::quit(int status, std::ostream& err) {
  // As at every quit, a failed save leaves the old file as it was; say why and go on.
  if (Status saved = prefs_save(prefs_, gvar_); !saved) {
    err << "tolvan: the preferences could not be saved: " << saved.error() << "\n";
  }
  return status;
}

}  // namespace tolvan
