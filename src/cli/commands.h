// The command groups of tolvan-cli, one file each.
#pragma once

#include <span>

#include "cli/cli.h"

namespace tolvan::cli {

std::span<const CommandEntry> command_table();

// tolvan-cli prefs: list, get, set, unset, path.
int run_prefs_command(const Invocation& inv);
// tolvan-cli macro: expand, from-te, to-te, keys.
int run_macro_command(const Invocation& inv);

// tolvan-cli library: check, list, normalize, html.
int run_library_command(const Invocation& inv);
// tolvan-cli import FILE: own and TextExpander files into the configured library.
int run_import_command(const Invocation& inv);
// tolvan-cli export OUT: the configured library as a Tolvan, HTML or TextExpander file.
int run_export_command(const Invocation& inv);
// tolvan-cli te-mode [on|off]: TextExpander mode and the library's shape for it.
int run_te_mode_command(const Invocation& inv);
// tolvan-cli sync: status, poll.
int run_sync_command(const Invocation& inv);
// tolvan-cli backup: list, create, restore.
int run_backup_command(const Invocation& inv);
// tolvan-cli simulate: the engine on the simulated desktop.
int run_simulate_command(const Invocation& inv);
// tolvan-cli run: the engine on the real X display.
int run_run_command(const Invocation& inv);

}  // namespace tolvan::cli
