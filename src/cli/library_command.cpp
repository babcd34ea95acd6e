// tolvan-cli library: checks, lists, normalizes and lists as HTML an abbreviation file,
// loading it as a restore does (import mode, the file's own time for abbreviations
// without times) and writing through the safe save.
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "core/safe_save.h"
#include "library/abbrev_reader.h"
#include "library/abbrev_strings.h"
#include "library/abbrev_writer.h"
#include "library/html_listing.h"
#include "library/lookups.h"

namespace tolvan::cli {
namespace {

constexpr const char* kUsage =
    "Usage: tolvan-cli library COMMAND\n\n"
    "Works on Tolvan abbreviation files (abbreviations.tlv, exports, backups).\n\n"
    "Commands:\n"
    "  check FILE          load FILE; print the number of folders (not counting the top\n"
    "                      folder) and of abbreviations, or the error and exit with 1\n"
    "  list FILE           one line per abbreviation, tab-separated: folder path, type\n"
    "                      (0 text, 1 program, 2 website, 3 unsupported snippet), the\n"
    "                      abbreviations joined by '|', description, expansion (line feeds\n"
    "                      shown as \\n, tabs as \\t, backslashes as \\\\, in every field)\n"
    "  normalize IN OUT    load IN and write it to OUT as Tolvan writes its files\n"
    "  html FILE OUT       write the HTML listing of FILE, with its subfolders, to OUT\n";

std::string shown(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

// In file order: the folder's own abbreviations (kept newest-first in memory), then its
// subfolders.
void list_folder(const Folder& folder, std::ostream& out) {
  const std::string path = shown(abbr_get_full_folder_path_string(folder, nullptr, false));
  for (auto it = folder.abbreviations.rbegin(); it != folder.abbreviations.rend(); ++it) {
    const Abbreviation& a = **it;
    out << path << '\t' << int{a.type()} << '\t'
        << shown(abbr_abbrev_lst_to_string(a.abbreviations)) << '\t' << shown(a.description)
        << '\t' << shown(abbr_abbrev_exp_to_display_string(a)) << '\n';
  }
  for (const auto& sub : folder.subfolders) list_folder(*sub, out);
}

constexpr Subcommand kSubcommands[] = {
    {"check", 1, kUsage}, {"list", 1, kUsage}, {"normalize", 2, kUsage}, {"html", 2, kUsage}};

int fail(const Invocation& inv, const std::string& message) {
  inv.err << message << "\n";
  return 1;
}

int run(const Invocation& inv, std::string_view command, const std::vector<std::string>& args) {
  UidCounter uids;
  Result<ImportedLibrary> loaded = abbr_load_abbreviations_from_file(args[0], uids, false);
  if (!loaded) return fail(inv, loaded.error());
  const Folder& root = *loaded->root;

  if (command == "check") {
    inv.out << "folders: " << abbr_get_all_folders_and_abbrevs_from_folder(root).folders.size()
            << "\nabbreviations: " << abbr_get_n_abbrevs_in_folder(root) << "\n";
    return 0;
  }
  if (command == "list") {
    list_folder(root, inv.out);
    return 0;
  }
  Status written = Status::success();
  if (command == "normalize") {
    FolderList list;
    list.push_back(std::move(loaded->root));
    written = abbr_write_folder_list_file(list, args[1], loaded->marker);
  } else {  // html
    written = safe_save_file(args[1], abbr_folder_as_HTML(root, true));
  }
  if (!written) return fail(inv, "Unable to write '" + args[1] + "': " + written.error());
  return 0;
}

}  // namespace

int run_library_command(const Invocation& inv) {
  SubcommandCall call = read_subcommand(inv, "library", kSubcommands, "file", kUsage);
  if (!call.subcommand) return call.status;
  return run(inv, call.subcommand->name, call.arguments);
}

}  // namespace tolvan::cli
