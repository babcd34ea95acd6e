// Loading and saving the library's own file, and protecting a damaged one.
#include "library/main_list_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/paths.h"
#include "library/abbrev_reader.h"
#include "library/abbrev_writer.h"
#include "library/file_moves.h"
#include "library/messages.h"
#include "settings/prefs.h"

namespace tolvan {
namespace {

std::string stamp_now() {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char buf[64];
  size_t n = std::strftime(buf, sizeof buf, "%b%d_%Y_%H_%M_%S", &local);
  return std::string(buf, n);
}

std::string with_support_line(std::string text) {
  text += "\n\n";
  text += kSupportContactLine;
  return text;
}

void mark_damaged(Library& library, const std::string& path, std::string& message) {
  if (!library.damaged_file || library.damaged_file->path != path) {
    library.damaged_file = DamagedLibraryFile{path, abbr_damaged_file_aside_path(path)};
  }
  message += "\n\nBefore your abbreviations are saved again, Tolvan keeps the file as it is now "
             "in '" + library.damaged_file->aside_path + "', so nothing in it is lost.";
}

// Keeps a damaged library file aside before it is replaced.
Status protect_damaged_file(Library& library, const std::string& path) {
  if (!library.damaged_file || library.damaged_file->path != path) return Status::success();
  if (!isfile(path)) {  // nothing left to protect
    library.damaged_file.reset();
    return Status::success();
  }
  std::string aside = library.damaged_file->aside_path;
  if (isfile(aside)) aside = abbr_damaged_file_aside_path(path);
  Status kept = keep_file_as(path, aside);
  if (!kept) {
    return Error{"Unable to keep a copy of the damaged abbreviation file '" + path + "' as '" +
                 aside + "': " + kept.error() +
                 ". Nothing was saved, so that the file stays as it is"};
  }
  library.damaged_file.reset();
  return Status::success();
}

void replace_main_list(Library& library, FolderList list) {
  auto lock = library.lock_main_list();
  library.notify([](LibraryListener& l) { l.main_list_freeing(); });
  library.main_list = std::move(list);
  abbr_ensure_absolute_parent(library.main_list, library.uids);
}

bool file_is_empty(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

}  // namespace

std::string abbr_damaged_file_aside_path(const std::string& path) {
  std::string ext = extract_file_extension(path);
  std::string stem = path.substr(0, path.size() - ext.size());
  std::string base = stem + "_damaged_" + stamp_now();
  std::string candidate = base + ext;
  for (int n = 1; isfile(candidate) && n < 10000; ++n) {
    candidate = base + "_" + std::to_string(n) + ext;
  }
  return candidate;
}

MainListLoadOptions main_list_load_options(Settings& prefs) {
  MainListLoadOptions options;
  options.backups_available = !prefs.get("backups").empty();
  options.defaults = {prefs_get_default_case_mode(prefs, ABBR_TYPE_TEXT),
                      prefs_get_default_trigger_mode(prefs)};
  return options;
}

LoadOutcome abbr_load_main_list_from_file(Library& library, const std::string& path,
                                          Prompts& prompts, const MainListLoadOptions& options) {
  if (path.empty() || file_is_empty(path)) {
    replace_main_list(library, {});
    if (library.damaged_file && library.damaged_file->path == path) library.damaged_file.reset();
    return LoadOutcome::Empty;
  }

  std::FILE* file = nullptr;
  while ((file = std::fopen(path.c_str(), "r")) == nullptr) {
    int err = errno;
    if (err == ENOENT) {
      if (options.backups_available) {
        prompts.info(with_support_line(
            "Unable to load abbreviation file '" + path +
            "': file doesn't exist.\n\nYou may have accidentally deleted it or your system may "
            "have deleted it for some reason.\n\nRegardless, I noticed you have some backups "
            "available to restore. Open up the Backup Manager and restore the latest backup, "
            "and you should get all of your abbreviations back."));
      }
      replace_main_list(library, {});
      return LoadOutcome::Missing;
    }
    std::string message =
        "Unable to open abbreviation file '" + path + "' for reading: " + std::strerror(err) +
        "\n\nClick Yes to try again. If this error message continues to display, first try "
        "rebooting your system and starting Tolvan again. If that doesn't help, restore a "
        "backup with the Backup Manager or contact support.";
    // Should the library stay empty, the file it could not open must not be saved over.
    mark_damaged(library, path, message);
    if (!prompts.yes_no(message, PromptKind::Error)) {
      replace_main_list(library, {});
      return LoadOutcome::Unopenable;
    }
  }
  Result<std::string> text = abbr_read_open_file(file);
  std::fclose(file);

  if (!text) {
    std::string message = "Fatal error: unable to read from abbreviation file '" + path +
                          "': " + text.error() +
                          "\n\nFirst try rebooting your system and trying again. If that "
                          "doesn't work, consider restoring a backup using the Backup Manager.";
    mark_damaged(library, path, message);
    prompts.error(with_support_line(message));
    replace_main_list(library, {});
    return LoadOutcome::Damaged;
  }

  ParseOptions parse;
  parse.mode = LoadMode::MainList;
  parse.default_time = abbr_file_time_or_now(path);
  parse.defaults = options.defaults;
  ParsedLibrary parsed =
      abbr_parse_library_text(abbr_prepare_text_for_parser(*text), library.uids, parse);
  replace_main_list(library, std::move(parsed.top));

  LoadOutcome outcome = LoadOutcome::Loaded;
  if (parsed.error) {
    std::string message = "Error loading abbreviations from file '" + path + "': " +
                          parsed.error->message + " at " + std::to_string(parsed.error->line) +
                          " (byte " + std::to_string(parsed.error->byte) +
                          ").\n\nYour abbreviation file may have been corrupted by your "
                          "system. Consider restoring a backup using the Backup Manager.";
    mark_damaged(library, path, message);
    prompts.error(with_support_line(message));
    outcome = LoadOutcome::Damaged;
  } else {
    if (library.damaged_file && library.damaged_file->path == path) library.damaged_file.reset();
    if (!parsed.te_errors.empty()) {
      prompts.error("Some errors were found while importing the TextExpander XML data: " +
                    parsed.te_errors + std::string(kReportToSupportLine));
    }
  }
  library.notify([](LibraryListener& l) { l.main_list_reloaded(); });
  return outcome;
}

Status abbr_dump_folder_list_to_file(Library& library, ListIndex index,
                                     const std::string& path) {
  Status protected_ok = protect_damaged_file(library, path);
  if (!protected_ok) return protected_ok;
  return abbr_write_folder_list_file(library.list(index), path, true);
}

Status abbr_dump_main_folder_list_to_file(Library& library, const std::string& path) {
  return abbr_dump_folder_list_to_file(library, MAIN_LIST, path);
}

Status abbr_dump_sandbox_folder_list_to_file(Library& library, const std::string& path) {
  return abbr_dump_folder_list_to_file(library, SANDBOX, path);
}

Status abbr_save_library(Library& library, const std::string& path, Prompts* report) {
  Status saved = abbr_dump_main_folder_list_to_file(library, path);
  if (!saved && report != nullptr) {
    report->error(with_support_line(
        "Unable to save abbreviations to file '" + path + "': " + saved.error() +
        ". Please make sure that no other instances of Tolvan are running and try again (by "
        "clicking Apply)."));
  }
  return saved;
}

}  // namespace tolvan
