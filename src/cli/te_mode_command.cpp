// tolvan-cli te-mode: shows or switches TextExpander mode in the configured preferences;
// switching it on reshapes the library as the program does (one level of folders, no
// abbreviation outside a folder) and saves it with a backup.
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "import/te_mode.h"
#include "settings/prefs.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] te-mode [on|off]\n\n"
    "Without an argument, prints whether TextExpander mode is on. 'on' switches it on:\n"
    "nested folders are flattened into one level and abbreviations outside any folder move\n"
    "into \"(Uncategorized)\", as TextExpander's groups require; the library is saved with\n"
    "a backup when it changed. 'off' switches it off and leaves the library as it is.\n";

}  // namespace

int run_te_mode_command(const Invocation& inv) {
  const Arguments args(inv.args, {});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "te-mode", args.problem(), kUsage);
  const auto& words = args.positionals();
  if (words.size() > 1 || (words.size() == 1 && words[0] != "on" && words[0] != "off")) {
    return usage_error(inv, "te-mode", "te-mode takes 'on', 'off' or nothing.", kUsage);
  }
  Session s(inv);
  if (words.empty()) {
    inv.out << (te_mode_enabled(s.prefs) ? "on" : "off") << "\n";
    return 0;
  }
  if (!s.lock_data_folder(inv.err)) return 1;
  const bool on = words[0] == "on";
  if (on) {
    s.load_library();
    if (te_reshape_list(s.library, SANDBOX) && !s.apply_sandbox()) return 1;
  }
  s.prefs.set_int("textexpander_mode", on ? 1 : 0);
  if (Status saved = prefs_save(s.prefs, s.gvar); !saved) {
    inv.err << "tolvan-cli: the preferences could not be saved: " << saved.error() << "\n";
    return 1;
  }
  inv.out << "TextExpander mode is " << words[0] << ".\n";
  return 0;
}

}  // namespace tolvan::cli
