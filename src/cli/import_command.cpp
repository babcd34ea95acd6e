// tolvan-cli import: a Tolvan file, a TextExpander settings or group file (.textexpander,
// .tedist) imported into the configured library, which is then saved with a backup as the
// program's Apply saves it. The import-mode question of whole libraries is asked on the
// terminal unless --mode answers it.
#include <iostream>
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "core/strings.h"
#include "import/native_import_export.h"
#include "import/te_import.h"
#include "import/te_import_library.h"
#include "settings/prefs.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] import [--mode replace|append] [--te-prefs] FILE\n\n"
    "Imports FILE into the configured library and saves it (with a backup), as importing\n"
    "in the main window and pressing Apply does. FILE is a Tolvan abbreviation file or a\n"
    "TextExpander file (.textexpander, .tedist). A whole library (a Tolvan export of the\n"
    "whole library, a TextExpander settings file) replaces the library or is appended to\n"
    "it as --mode says; without --mode the question is asked here. A file of one folder or\n"
    "group is always appended.\n\n"
    "Options:\n"
    "  --mode replace|append  how a whole library is imported\n"
    "  --te-prefs             take over a TextExpander settings file's preferences (default\n"
    "                         case and trigger modes, delimiters, sound)\n";

constexpr OptionSpec kOptions[] = {{"--mode", "replace or append"}, {"--te-prefs", ""}};

bool is_textexpander_file(const std::string& path) {
  for (std::string_view extension : {".textexpander", ".tedist"}) {
    if (path.size() >= extension.size() &&
        equals_ignore_case(std::string_view(path).substr(path.size() - extension.size()), extension)) {
      return true;
    }
  }
  return false;
}

// The import-mode question on the terminal: r or a; anything else (or no answer) cancels.
ImportMode ask_mode(const Invocation& inv, bool textexpander) {
  inv.out << "Select Import Mode\n"
          << (textexpander ? "  r  Replace: Remove all existing snippets and replace them with "
                             "the ones being imported.\n"
                             "  a  Append: Append the imported snippets to your existing snippets.\n"
                           : "  r  Replace: Remove all existing abbreviations and replace them "
                             "with the ones being imported.\n"
                             "  a  Append: Append the imported abbreviations to your existing "
                             "abbreviations.\n")
          << "Import mode [r/a]? " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return ImportMode::Cancel;
  while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\r')) answer.pop_back();
  if (equals_ignore_case(answer, "r") || equals_ignore_case(answer, "replace")) return ImportMode::Replace;
  if (equals_ignore_case(answer, "a") || equals_ignore_case(answer, "append")) return ImportMode::Append;
  return ImportMode::Cancel;
}

int import_textexpander(const Invocation& inv, Session& s, const std::string& path,
                        const std::function<ImportMode(bool)>& mode_for, bool take_prefs) {
  TeImportOptions options;
  options.defaults = main_list_load_options(s.prefs).defaults;
  options.now = abbr_time_now();
  options.existing = te_get_all_existing_uuids(s.library.sandbox);
  TeFileImport file = te_import_snippet_file(path, options);
  if (file.result == TeImportResult::Empty) {
    inv.err << kTeNoSnippetsMessage << "\n";
    return 1;
  }
  if (file.result != TeImportResult::Imported) {
    inv.err << (file.result == TeImportResult::Failed && !file.message.starts_with("Unable to open")
                    ? te_import_error_message(path, file.message)
                    : file.message)
            << "\n";
    return 1;
  }
  const ImportMode mode = file.import->group_file ? ImportMode::Append : mode_for(true);
  if (mode == ImportMode::Cancel) {
    inv.err << "tolvan-cli: import cancelled; the library is unchanged.\n";
    return 1;
  }
  if (take_prefs && file.import->settings) {
    te_take_over_preferences(s.prefs, *file.import->settings);
    if (Status saved = prefs_save(s.prefs, s.gvar); !saved) {
      inv.err << "tolvan-cli: the preferences could not be saved: " << saved.error() << "\n";
      return 1;
    }
  }
  TeImportCounts counts =
      te_add_import_to_library(s.library, SANDBOX, std::move(*file.import), mode);
  if (!s.apply_sandbox()) return 1;
  inv.out << te_import_report(counts) << "\n";
  return 0;
}

int import_own_file(const Invocation& inv, Session& s, const std::string& path,
                    const std::function<ImportMode(bool)>& mode_for) {
  Result<NativeImportResult> imported =
      import_abbrevs_from_file(s.library, path, [&] { return mode_for(false); });
  if (!imported) {
    inv.err << imported.error() << "\n";
    return 1;
  }
  if (imported->mode == ImportMode::Cancel) {
    inv.err << "tolvan-cli: import cancelled; the library is unchanged.\n";
    return 1;
  }
  if (!s.apply_sandbox()) return 1;
  inv.out << "Imported " << path << " into " << s.gvar.get("abbreviations_file") << "\n";
  return 0;
}

}  // namespace

int run_import_command(const Invocation& inv) {
  const Arguments args(inv.args, {kOptions});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "import", args.problem(), kUsage);
  if (args.positionals().size() != 1) {
    return usage_error(inv, "import", "import takes one file.", kUsage);
  }
  std::optional<ImportMode> given;
  if (std::optional<std::string> mode = args.value("--mode")) {
    if (*mode == "replace") given = ImportMode::Replace;
    else if (*mode == "append") given = ImportMode::Append;
    else return usage_error(inv, "import", "--mode is replace or append, not '" + *mode + "'.", kUsage);
  }
  const std::string& path = args.positionals()[0];
  Session s(inv);
  if (!s.lock_data_folder(inv.err)) return 1;
  if (s.load_library() == LoadOutcome::Damaged) {
    inv.err << "tolvan-cli: the library file could not be read completely; it is kept aside "
               "before the imported library replaces it.\n";
  }
  auto mode_for = [&](bool textexpander) { return given ? *given : ask_mode(inv, textexpander); };
  return is_textexpander_file(path)
             ? import_textexpander(inv, s, path, mode_for, args.has("--te-prefs"))
             : import_own_file(inv, s, path, mode_for);
}

}  // namespace tolvan::cli
