// tolvan-cli prefs: shows and changes the preferences file, loading it exactly as the
// program does (missing or invalid file, defaults, upgrades) and saving with the safe write.
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "platform/x11/xdg_folders.h"
#include "settings/prefs.h"
#include "settings/program_folders.h"
#include "settings/settings_file.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] prefs COMMAND\n\n"
    "Shows and changes Tolvan's preferences. Missing preferences read as their defaults.\n\n"
    "Commands:\n"
    "  list             every preference as KEY=VALUE, in file order\n"
    "  get KEY          the value of KEY\n"
    "  set KEY VALUE    set KEY to VALUE and save\n"
    "  unset KEY        remove KEY and save (a preference with a default gets it back at the\n"
    "                   next start)\n"
    "  path             the preferences file\n\n"
    "Keys ignore case. Run 'tolvan-cli prefs COMMAND --help' for a command's own help.\n";

constexpr Subcommand kSubcommands[] = {
    {"list", 0, "Usage: tolvan-cli prefs list\n\nPrints every preference as KEY=VALUE.\n"},
    {"get", 1, "Usage: tolvan-cli prefs get KEY\n\nPrints the value of KEY as it is.\n"},
    {"set", 2, "Usage: tolvan-cli prefs set KEY VALUE\n\nSets KEY to VALUE and saves.\n"},
    {"unset", 1, "Usage: tolvan-cli prefs unset KEY\n\nRemoves KEY and saves.\n"},
    {"path", 0, "Usage: tolvan-cli prefs path\n\nPrints the path of the preferences file.\n"},
};

struct LoadedPrefs {
  RunTimeVariables gvar;
  Settings prefs;
};

LoadedPrefs load(const Invocation& inv) {
  XdgFolders desktop;
  ProgramFolders folders =
      compute_program_folders(desktop, "", false, config_dir_override_from(inv.config_dir));
  LoadedPrefs loaded;
  Status status = prefs_load_at_start(loaded.prefs, loaded.gvar, folders);
  if (!status && status.error() == kSettingsInvalidError) {
    inv.err << "tolvan-cli: note: " << loaded.gvar.get("prefs_file")
            << " is not a valid preferences file; using the defaults.\n";
  }
  return loaded;
}

int save(const Invocation& inv, const LoadedPrefs& loaded) {
  if (Status saved = prefs_save(loaded.prefs, loaded.gvar); !saved) {
    inv.err << "tolvan-cli: the preferences could not be saved: " << saved.error() << "\n";
    return 1;
  }
  return 0;
}

int no_such_key(const Invocation& inv, const std::string& key) {
  inv.err << "tolvan-cli: there is no preference named '" << key << "'.\n";
  return 1;
}

int run(const Invocation& inv, std::string_view name, const std::vector<std::string>& args) {
  if (name == "path") {
    inv.out << load(inv).gvar.get("prefs_file") << "\n";
    return 0;
  }
  LoadedPrefs loaded = load(inv);
  if (name == "list") {
    for (const auto& e : loaded.prefs) inv.out << e.key << "=" << e.value << "\n";
    return 0;
  }
  const std::string& key = args[0];
  if (name == "get") {
    if (!loaded.prefs.does_exist(key)) return no_such_key(inv, key);
    inv.out << loaded.prefs.get(key) << "\n";
    return 0;
  }
  if (name == "set") {
    loaded.prefs.set(key, args[1]);
    return save(inv, loaded);
  }
  if (!loaded.prefs.delete_key(key)) return no_such_key(inv, key);  // unset
  return save(inv, loaded);
}

}  // namespace

int run_prefs_command(const Invocation& inv) {
  SubcommandCall call = read_subcommand(inv, "prefs", kSubcommands, "argument", kUsage);
  if (!call.subcommand) return call.status;
  if (call.subcommand->arguments > 0 && call.arguments[0].empty()) {
    inv.err << "tolvan-cli: a preference's name cannot be empty.\n";
    return 2;
  }
  return run(inv, call.subcommand->name, call.arguments);
}

}  // namespace tolvan::cli
