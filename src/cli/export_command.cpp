// tolvan-cli export: the configured library, or one folder of it, written as a Tolvan file,
// as an HTML listing or as a TextExpander file (a settings file for the whole library, a
// group file for a folder).
#include <ostream>

#include "cli/arguments.h"
#include "cli/cli_session.h"
#include "cli/commands.h"
#include "core/safe_save.h"
#include "engine/macros/textexpander_codes.h"
#include "import/native_import_export.h"
#include "import/te_export.h"
#include "library/abbrev_strings.h"
#include "library/lookups.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli [--config-dir DIR] export [--folder PATH] [--te | --html] OUT\n\n"
    "Writes the configured library (as it was last applied) to OUT: a Tolvan abbreviation\n"
    "file, or with --html the HTML listing, or with --te a TextExpander file (a settings\n"
    "file for the whole library, a group file for a folder).\n\n"
    "Options:\n"
    "  --folder PATH  only this folder, named by its path below the top folder with '\\'\n"
    "                 between the names (Work\\Letters)\n"
    "  --te           TextExpander format\n"
    "  --html         HTML listing\n";

constexpr OptionSpec kOptions[] = {{"--folder", "a folder path"}, {"--te", ""}, {"--html", ""}};

const Folder* find_folder(const Folder& root, const std::string& path) {
  for (const Folder* folder : abbr_get_all_folders_and_abbrevs_from_folder(root).folders) {
    if (folder != &root && abbr_get_full_folder_path_string(*folder, nullptr, false) == path) {
      return folder;
    }
  }
  return nullptr;
}

}  // namespace

int run_export_command(const Invocation& inv) {
  const Arguments args(inv.args, {kOptions});
  if (args.help()) {
    inv.out << kUsage;
    return 0;
  }
  if (!args.problem().empty()) return usage_error(inv, "export", args.problem(), kUsage);
  if (args.positionals().size() != 1) {
    return usage_error(inv, "export", "export takes one output file.", kUsage);
  }
  if (args.has("--te") && args.has("--html")) {
    return usage_error(inv, "export", "--te and --html cannot be combined.", kUsage);
  }
  const std::string& out_path = args.positionals()[0];
  Session s(inv);
  if (!s.lock_data_folder(inv.err)) return 1;
  s.load_main_list();
  const Folder* root = abbr_get_absolute_parent_folder(s.library.main_list);
  const Folder* folder = root;
  if (std::optional<std::string> path = args.value("--folder")) {
    folder = root ? find_folder(*root, *path) : nullptr;
    if (!folder) {
      inv.err << "tolvan-cli: the library has no folder '" << *path << "'.\n";
      return 1;
    }
  }
  Status written = Status::success();
  if (args.has("--te")) {
    TeExportOptions options;
    options.defaults = main_list_load_options(s.prefs).defaults;
    options.now = abbr_time_now();
    options.to_te_macros = tolvan_macros_to_te_macros;
    Result<std::string> text =
        folder == root ? te_settings_file_text(root, te_preferences_from(s.prefs), options)
                       : te_group_file_text(folder, options);
    written = text ? safe_save_file(out_path, *text)
                   : Status(Error{text.error()});
    if (!written) {
      written = Error{"Error exporting snippet file to temporary file '" + out_path + "': " +
                      written.error() + "."};
    }
  } else {
    written = export_abbrevs_to_file(*folder, out_path, args.has("--html"));
  }
  if (!written) {
    inv.err << written.error() << "\n";
    return 1;
  }
  inv.out << export_success_message(out_path) << "\n";
  return 0;
}

}  // namespace tolvan::cli
