// tolvan-cli backup: lists, makes and restores backups of the configured library, with the
// preferences loaded as the program loads them and the list kept in them as the program
// keeps it.
#include <ostream>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "library/backups.h"
#include "settings/prefs.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] backup COMMAND\n\n"
    "Works on the backups of the configured library.\n\n"
    "Commands:\n"
    "  list            the backups, newest first: file, abbreviations, time (tab-separated)\n"
    "  create          make a backup of the library file now (nothing when automatic\n"
    "                  backups are switched off in the preferences)\n"
    "  restore PATH    back up the current library, then restore the backup PATH and\n"
    "                  write it to the library file at once (the program restores into its\n"
    "                  window and waits for Apply; there is no Apply here)\n";

// The backup routines' context over the configured session.
struct BackupSession : Session {
  explicit BackupSession(const Invocation& inv) : Session(inv) {}
  BackupContext ctx{prefs, gvar, library, prompts, nullptr, nullptr};
};

int list(const Invocation& inv) {
  BackupSession s(inv);
  for (const BackupEntry& e : backup_get_file_list(s.prefs)) {
    inv.out << e.path << '\t' << e.count << '\t' << abbr_time_to_backup_time_string(&e.time)
            << '\n';
  }
  return 0;
}

int create(const Invocation& inv) {
  BackupSession s(inv);
  if (s.prefs.get_int("auto_backup") == 0) {
    inv.err << "tolvan-cli: automatic backups are switched off (auto_backup is 0), so no "
               "backup was made.\n";
    return 1;
  }
  s.load_library();  // the backup records how many abbreviations it holds
  std::string made = backup_create_new(s.ctx, false);
  if (made.empty()) return 1;
  inv.out << made << "\n";
  return 0;
}

int restore(const Invocation& inv, const std::string& path) {
  BackupSession s(inv);
  const std::string library_file = s.gvar.get("abbreviations_file");
  if (s.load_library() == LoadOutcome::Damaged) {
    inv.err << "tolvan-cli: the library file could not be read completely; it is kept aside "
               "before the restored library replaces it.\n";
  }
  backup_create_new(s.ctx, false);  // what the backup manager offers before a restore
  if (!backup_restore_from_file(s.ctx, path)) return 1;
  abbr_flush_sandbox_to_main(s.library);
  if (!abbr_save_library(s.library, library_file, &s.prompts)) return 1;
  backup_create_new(s.ctx, false);  // as after every save of the library
  for (const std::string& text : s.infos) {
    if (text.rfind("Backup successfully restored.", 0) != 0) inv.err << text << "\n";
  }
  inv.out << "Restored " << path << " to " << library_file << "\n";
  return 0;
}

}  // namespace

int run_backup_command(const Invocation& inv) {
  if (std::optional<int> status = group_usage_requested(inv, kUsage)) return *status;
  const std::string& command = inv.args[0];
  if (command != "list" && command != "create" && command != "restore") {
    return unknown_subcommand(inv, "backup", command);
  }
  const Arguments args(subcommand_arguments(inv), {});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return group_usage_error(inv, args.problem(), kUsage);
  const size_t wanted = command == "restore" ? 1 : 0;
  if (args.positionals().size() != wanted) {
    return group_usage_error(
        inv, "backup " + command + (wanted == 1 ? " takes one backup file." : " takes no arguments."),
        kUsage);
  }
  if (command == "list") return list(inv);
  if (command == "create") return create(inv);
  return restore(inv, args.positionals()[0]);
}

}  // namespace tolvan::cli
