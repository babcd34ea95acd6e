// The table of command groups. A new group: write NAME_command.cpp with its entry point,
// declare it here and add its row.
#include "cli/commands.h"

#include <vector>

namespace tolvan::cli {

// Rows look like {"prefs", "show and change preferences", run_prefs_command}.
std::span<const CommandEntry> command_table() {
  static const std::vector<CommandEntry> commands = {
      {"backup", "list, make and restore backups of the library", run_backup_command},
      {"export", "write the library or a folder as a Tolvan, HTML or TextExpander file",
       run_export_command},
      {"import", "import a Tolvan or TextExpander file into the library", run_import_command},
      {"library", "check, list and convert abbreviation files", run_library_command},
      {"macro", "run and convert the macros of expansions", run_macro_command},
      {"prefs", "show and change preferences", run_prefs_command},
      {"run", "run Tolvan's engine on the X display until interrupted", run_run_command},
      {"simulate", "type keys into a simulated desktop with Tolvan running", run_simulate_command},
      {"sync", "show the shared-folder sync or poll its file once", run_sync_command},
      {"te-mode", "show or switch TextExpander mode", run_te_mode_command},
  };
  return commands;
}

}  // namespace tolvan::cli
