// tolvan-cli sync: the shared-folder sync of the configured Tolvan. status shows the mode,
// the shared folder, the sync file and the time last recorded; poll makes one poll as the
// program's timer does, reading a changed sync file into the library and saving it.
#include <cstdlib>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "engine/macros/textexpander_codes.h"
#include "import/dropbox_folder.h"
#include "import/shared_folder_sync.h"
#include "settings/prefs.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] sync status|poll\n\n"
    "  status  the sync mode, the shared folder, the sync file and the time recorded at the\n"
    "          last read or write\n"
    "  poll    one poll of the sync file, as the running program makes every two seconds: a\n"
    "          changed file is read into the library, which is saved with a backup\n";

int status(const Invocation& inv, Session& s) {
  const bool on = sync_enabled(s.prefs);
  const SyncMode mode = sync_get_mode(s.prefs);
  inv.out << "Mode: "
          << (!on ? "off" : mode == SyncMode::TextExpander ? "TextExpander compatible" : "own format")
          << "\n";
  const std::string& folder = s.prefs.get("diff_abbrev_dir");
  inv.out << "Folder: " << (folder.empty() ? "(none)" : folder) << "\n";
  if (const char* home = std::getenv("HOME")) {
    if (std::optional<std::string> dropbox = dropbox_get_folder_path(home)) {
      inv.out << "Dropbox folder: " << *dropbox << "\n";
    }
  }
  inv.out << "File: " << sync_file_path(s.gvar, mode) << "\n";
  const std::string& stamp =
      s.prefs.get(mode == SyncMode::TextExpander ? "te_sync_ts" : "nm_sync_ts");
  if (stamp.size() == 14) {
    const AbbrTime time = abbr_time_str_to_abbrtime(stamp);
    inv.out << "Last time stamp: " << abbr_time_to_display_string(&time) << "\n";
  } else {
    inv.out << "Last time stamp: (none)\n";
  }
  return 0;
}

int poll(const Invocation& inv, Session& s) {
  if (!sync_enabled(s.prefs)) {
    inv.err << "tolvan-cli: sync is off (use_diff_abbrev_dir is 0).\n";
    return 1;
  }
  if (!s.lock_data_folder(inv.err)) return 1;
  if (s.load_library() == LoadOutcome::Damaged) {
    inv.err << "tolvan-cli: the library file could not be read completely.\n";
  }
  PromptsSyncQuestions questions(s.prompts);
  SharedFolderSync sync(SyncContext{s.prefs, s.gvar, s.library, s.prompts, questions, nullptr,
                                    nullptr, nullptr, tolvan_macros_to_te_macros});
  const bool read = sync.read_changes_if_necessary();
  if (Status saved = prefs_save(s.prefs, s.gvar); !saved) {
    inv.err << "tolvan-cli: the preferences could not be saved: " << saved.error() << "\n";
    return 1;
  }
  inv.out << (read ? "Read " : "No change in ") << sync_file_path(s.gvar, sync_get_mode(s.prefs))
          << "\n";
  return 0;
}

}  // namespace

int run_sync_command(const Invocation& inv) {
  const Arguments args(inv.args, {});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "sync", args.problem(), kUsage);
  const auto& words = args.positionals();
  if (words.size() != 1 || (words[0] != "status" && words[0] != "poll")) {
    return usage_error(inv, "sync", "sync takes 'status' or 'poll'.", kUsage);
  }
  Session s(inv);
  return words[0] == "status" ? status(inv, s) : poll(inv, s);
}

}  // namespace tolvan::cli
